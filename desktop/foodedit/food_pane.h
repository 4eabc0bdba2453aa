// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/widgets/command_target.h"

#include <QWidget>

class QComboBox;
class QToolButton;

namespace fitquill {

class CDietData;
class CFoodTreeCtrl;

// The food pane left of the main view: a header strip with the find box ("Find:", a drop-down
// of the recent find texts and the find button) above the food tree. Commands reach the tree
// while it has the focus.
class CFoodPane : public QWidget, public ICommandTarget {
    Q_OBJECT

public:
    static constexpr int kMaxFindLength = 20;

    explicit CFoodPane(CDietData& data, QWidget* parent = nullptr);

    CFoodTreeCtrl* Tree() const { return m_tree; }
    QComboBox* FindCombo() const { return m_find; }
    QToolButton* FindButton() const { return m_findButton; }

    // Searches the food database for the find box's text and selects the chosen result.
    void Find();

    bool QueryCommand(int id, bool& enabled) override;
    bool ExecuteCommand(int id) override;

private:
    bool TreeHasFocus() const;
    void FillHistory();

    CDietData& m_data;
    QComboBox* m_find = nullptr;
    QToolButton* m_findButton = nullptr;
    CFoodTreeCtrl* m_tree = nullptr;
};

} // namespace fitquill
