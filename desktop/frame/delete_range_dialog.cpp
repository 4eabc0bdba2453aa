// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/frame/delete_range_dialog.h"

#include "desktop/document/stored_text.h"
#include "desktop/widgets/date_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace fitquill {
namespace {

CDeleteRangeDialog::DateChooser& TheChooser() {
    static CDeleteRangeDialog::DateChooser chooser;
    return chooser;
}

CJournalDate DayAfter(CJournalDate date) {
    date.StepDays(1);
    return date;
}

} // namespace

void CDeleteRangeDialog::SetDateChooser(DateChooser chooser) {
    TheChooser() = std::move(chooser);
}

CDeleteRangeDialog::CDeleteRangeDialog(bool canChooseDates, QWidget* parent)
    : QDialog(parent), m_canChooseDates(canChooseDates), m_from(CJournalDate::Today()),
      m_to(DayAfter(m_from)) {
    setWindowTitle(QStringLiteral("Delete Range"));
    auto* group = new QGroupBox(QStringLiteral("Select a range of days"), this);
    m_fromText = new QLabel(group);
    m_toText = new QLabel(group);
    m_setFrom = new QPushButton(QStringLiteral("Set Date..."), group);
    m_setTo = new QPushButton(QStringLiteral("Set Date..."), group);
    for (QLabel* text : {m_fromText, m_toText}) {
        text->setFrameShape(QFrame::StyledPanel);
        text->setFrameShadow(QFrame::Sunken);
        text->setMinimumWidth(200);
    }
    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel(QStringLiteral("From:"), group), 0, 0);
    grid->addWidget(m_fromText, 0, 1);
    grid->addWidget(m_setFrom, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("To:"), group), 1, 0);
    grid->addWidget(m_toText, 1, 1);
    grid->addWidget(m_setTo, 1, 2);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_setFrom, &QPushButton::clicked, this, [this] { ChooseDate(true); });
    connect(m_setTo, &QPushButton::clicked, this, [this] { ChooseDate(false); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    Show();
}

void CDeleteRangeDialog::ChooseDate(bool from) {
    if (!m_canChooseDates)
        return;
    CJournalDate& date = from ? m_from : m_to;
    const DateChooser& chooser = TheChooser();
    std::optional<CJournalDate> chosen =
        chooser ? chooser(date, this) : CDateDialog::Choose(date, this);
    if (!chosen)
        return;
    date = *chosen;
    if (!(m_to > m_from))
        m_to = DayAfter(m_from);
    Show();
}

void CDeleteRangeDialog::Show() {
    m_fromText->setText(FromStored(m_from.LongText()));
    m_toText->setText(FromStored(m_to.LongText()));
}

} // namespace fitquill
