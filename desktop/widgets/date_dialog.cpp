// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/widgets/date_dialog.h"

#include "desktop/widgets/month_calendar.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

namespace fitquill {

CDateDialog::CDateDialog(const CJournalDate& initial, QWidget* parent)
    : QDialog(parent), m_calendar(new CMonthCalendar(this)) {
    setWindowTitle(QStringLiteral("Date"));
    m_calendar->SetDate(initial);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_calendar, 0, Qt::AlignHCenter);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_calendar->setFocus();
}

CJournalDate CDateDialog::Date() const {
    return m_calendar->SelectedDate();
}

std::optional<CJournalDate> CDateDialog::Choose(const CJournalDate& initial, QWidget* parent) {
    CDateDialog dialog(initial, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Date();
}

} // namespace fitquill
