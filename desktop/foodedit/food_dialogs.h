// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/document/view_services.h"

namespace fitquill {

class CDietData;

// The food dialogs that the meal log opens, for registration with the document.
class CFoodDialogs : public IFoodDialogs {
public:
    explicit CFoodDialogs(CDietData& data) : m_data(data) {}

    SFoodDialogResult InsertFood(QWidget* parent, int sortMode) override;
    SFoodDialogResult EditFood(QWidget* parent, int position, int sortMode) override;

private:
    CDietData& m_data;
};

} // namespace fitquill
