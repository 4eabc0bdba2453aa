// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/views/nutrients/nutrient_details_window.h"

#include "desktop/document/diet_data.h"
#include "desktop/document/stored_text.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QVBoxLayout>

#include <climits>
#include <cmath>

namespace fitquill {

CNutrientDetailsView::CNutrientDetailsView(CDietData& data, CNutrientDetailsRenderer& renderer,
                                           QWidget* parent)
    : QWidget(parent), m_data(data), m_renderer(renderer) {
    setAccessibleName(QString::fromLatin1(kNutrientDetailsTitle));
}

void CNutrientDetailsView::SetScope(const SReportScope& scope) {
    m_scope = scope;
    m_height = m_renderer.UnitCount(scope) * CNutrientDetailsRenderer::LineHeight(this);
    setMinimumSize(sizeHint());
    // A screen reader reads the table as the command line prints it.
    QStringList lines;
    for (const std::string& line :
         NutrientDetailsTextLines(NutrientDetails(m_data.Journal(), scope.start, scope.end)))
        lines.append(FromStored(line));
    const int nutrient = m_renderer.TopFoodsNutrient();
    lines.append(QStringLiteral("%1 - %2").arg(QString::fromLatin1(kTopFoodsHeading),
                                               QString::fromLatin1(NutrientInfo(nutrient).name)));
    for (const STopFood& food : TopFoods(m_data.Journal(), scope.start, scope.end, nutrient))
        lines.append(QStringLiteral("%1, %2, %3")
                         .arg(FromStored(food.name), FromStored(food.amountText),
                              FromStored(food.shareText)));
    setAccessibleDescription(lines.join(QLatin1Char('\n')));
    update();
}

QSize CNutrientDetailsView::sizeHint() const {
    const double scale = logicalDpiY() > 0 ? logicalDpiY() / 96.0 : 1.0;
    return QSize(static_cast<int>(std::lround(CNutrientDetailsRenderer::kWidth * scale)) + 12,
                 m_height + 12);
}

void CNutrientDetailsView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), m_data.GetBackColor());
    m_renderer.Draw(painter, rect().adjusted(0, 6, 0, -6), m_scope, 0, INT_MAX);
}

CNutrientDetailsWindow::CNutrientDetailsWindow(CDietData& data, QWidget* parent)
    : QWidget(parent, Qt::Window), m_data(data), m_renderer(data) {
    setWindowTitle(QString::fromLatin1(kNutrientDetailsTitle));
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto* layout = new QVBoxLayout(this);
    auto* choices = new QHBoxLayout;
    auto* periodLabel = new QLabel(QStringLiteral("&Period:"), this);
    m_period = new QComboBox(this);
    for (int period = 0; period < kNutrientPeriodCount; ++period)
        m_period->addItem(
            QString::fromLatin1(NutrientPeriodName(static_cast<ENutrientPeriod>(period))));
    periodLabel->setBuddy(m_period);
    m_period->setAccessibleName(QStringLiteral("Period"));
    auto* nutrientLabel = new QLabel(QStringLiteral("&Top foods of:"), this);
    m_nutrient = new QComboBox(this);
    for (int n = 0; n < kNutrientCount; ++n)
        m_nutrient->addItem(QString::fromLatin1(NutrientInfo(n).name));
    nutrientLabel->setBuddy(m_nutrient);
    m_nutrient->setAccessibleName(QStringLiteral("Top foods of"));
    choices->addWidget(periodLabel);
    choices->addWidget(m_period);
    choices->addSpacing(16);
    choices->addWidget(nutrientLabel);
    choices->addWidget(m_nutrient);
    choices->addStretch(1);
    layout->addLayout(choices);

    m_view = new CNutrientDetailsView(data, m_renderer, this);
    m_scroll = new QScrollArea(this);
    m_scroll->setWidget(m_view);
    m_scroll->setWidgetResizable(true);
    m_scroll->setAccessibleName(QString::fromLatin1(kNutrientDetailsTitle));
    layout->addWidget(m_scroll, 1);

    connect(m_period, &QComboBox::currentIndexChanged, this, &CNutrientDetailsWindow::Refresh);
    connect(m_nutrient, &QComboBox::currentIndexChanged, this, [this](int nutrient) {
        m_renderer.SetTopFoodsNutrient(nutrient);
        Refresh();
    });
    // It follows the current day and every change of the journal.
    for (auto signal : {&CDietData::RefreshViewsSent, &CDietData::DayChangedSent,
                        &CDietData::DayEditedSent, &CDietData::ColorsChanged})
        connect(&m_data, signal, this, &CNutrientDetailsWindow::Refresh);
    Refresh();
    const QSize wanted = m_view->sizeHint();
    resize(wanted.width() + 40, std::min(wanted.height() + 80, 720));
}

ENutrientPeriod CNutrientDetailsWindow::Period() const {
    return static_cast<ENutrientPeriod>(std::max(0, m_period->currentIndex()));
}

void CNutrientDetailsWindow::SetPeriod(ENutrientPeriod period) {
    m_period->setCurrentIndex(static_cast<int>(period));
}

void CNutrientDetailsWindow::SetTopFoodsNutrient(int nutrient) {
    m_nutrient->setCurrentIndex(nutrient);
}

SReportScope CNutrientDetailsWindow::Scope() const {
    const CJournalDate current = m_data.Journal().CurrentDate();
    const bool hasRange = m_data.PrintStart().IsSet() && m_data.PrintEnd().IsSet();
    const ENutrientPeriod period =
        Period() == ENutrientPeriod::PrintRange && !hasRange ? ENutrientPeriod::Day : Period();
    const SDateSpan span =
        NutrientPeriodDates(period, current, m_data.PrintStart(), m_data.PrintEnd());
    return SReportScope{current, span.first, span.last};
}

void CNutrientDetailsWindow::Refresh() {
    m_view->SetScope(Scope());
}

} // namespace fitquill
