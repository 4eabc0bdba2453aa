// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/views/dayentry/day_entry_pane.h"

#include <array>

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace fitquill {

// " BMR": the day's activity level and basal metabolic rate.
class CBmrPane : public CDayEntryPane {
    Q_OBJECT

public:
    explicit CBmrPane(CDietData& data, QWidget* parent = nullptr);

    void Refresh() override;
    void StorePending() override;
    QWidget* FirstControl() override;

    // Level 1-5.
    QRadioButton* LevelButton(int level) const { return m_levels[static_cast<size_t>(level - 1)]; }
    QLineEdit* BmrBox() const { return m_bmr; }

private:
    void ChooseLevel(int level);
    // Whether the profile and the day allow the choices: a level, age, height and weight.
    bool ChoicesAvailable() const;

    std::array<QRadioButton*, 5> m_levels{};
    QLineEdit* m_bmr = nullptr;
    QPushButton* m_setDefault = nullptr;
};

} // namespace fitquill
