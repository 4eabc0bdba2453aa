// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/journal/journal_date.h"

#include <QDialog>

#include <functional>
#include <optional>

class QLabel;
class QPushButton;

namespace fitquill {

// The "Delete Range" dialog: a From and a To date, each with a "Set Date..." button. To always
// stays later than From.
class CDeleteRangeDialog : public QDialog {
    Q_OBJECT

public:
    // How a date is chosen: the calendar "Date" dialog unless a test sets another.
    using DateChooser =
        std::function<std::optional<CJournalDate>(const CJournalDate& initial, QWidget* parent)>;
    static void SetDateChooser(DateChooser chooser);

    // canChooseDates: whether "Set Date..." opens the calendar (only with an open journal).
    explicit CDeleteRangeDialog(bool canChooseDates, QWidget* parent = nullptr);

    const CJournalDate& From() const { return m_from; }
    const CJournalDate& To() const { return m_to; }

    QLabel* FromLabel() const { return m_fromText; }
    QLabel* ToLabel() const { return m_toText; }
    QPushButton* SetFromButton() const { return m_setFrom; }
    QPushButton* SetToButton() const { return m_setTo; }

private:
    void ChooseDate(bool from);
    void Show();

    bool m_canChooseDates;
    CJournalDate m_from;
    CJournalDate m_to;
    QLabel* m_fromText = nullptr;
    QLabel* m_toText = nullptr;
    QPushButton* m_setFrom = nullptr;
    QPushButton* m_setTo = nullptr;
};

} // namespace fitquill
