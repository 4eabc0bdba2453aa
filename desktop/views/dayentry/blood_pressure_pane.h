// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/views/dayentry/day_entry_pane.h"

#include <QStringList>

class QComboBox;
class QLineEdit;

namespace fitquill {

// "Blood Pressure": the day's reading and its time.
class CBloodPressurePane : public CDayEntryPane {
    Q_OBJECT

public:
    explicit CBloodPressurePane(CDietData& data, QWidget* parent = nullptr);

    void Refresh() override;
    void StorePending() override;
    QWidget* FirstControl() override;

    QLineEdit* Systolic() const { return m_systolic; }
    QLineEdit* Diastolic() const { return m_diastolic; }
    QLineEdit* Pulse() const { return m_pulse; }
    QLineEdit* Hour() const { return m_hour; }
    QLineEdit* MinuteBox() const { return m_minute; }
    QComboBox* AmPm() const { return m_amPm; }

protected:
    void DiscardPending() override;

private:
    bool AnyModified() const;
    // The boxes' texts and the half of day, to tell a reading already refused.
    QStringList Texts() const;

    QLineEdit* m_systolic = nullptr;
    QLineEdit* m_diastolic = nullptr;
    QLineEdit* m_pulse = nullptr;
    QLineEdit* m_hour = nullptr;
    QLineEdit* m_minute = nullptr;
    QComboBox* m_amPm = nullptr;
    bool m_amPmChanged = false;
    QStringList m_refusedTexts;
};

} // namespace fitquill
