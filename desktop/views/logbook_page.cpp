// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/views/logbook_page.h"

#include "core/report/logbook_report.h"
#include "desktop/document/diet_data.h"
#include "desktop/views/section_renderer.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

namespace fitquill {

namespace {

SReportScope CurrentDayScope(const CDietData& data) {
    SReportScope scope;
    scope.day = data.Journal().CurrentDate();
    return scope;
}

} // namespace

CLogbookPage::CLogbookPage(CDietData& data, QWidget* parent)
    : QAbstractScrollArea(parent), m_data(data),
      m_renderer(std::make_unique<CSectionRenderer>(data, LogbookSections)) {
    setObjectName(QStringLiteral("LogbookPage"));
    setAccessibleName(QStringLiteral("Logbook"));
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    verticalScrollBar()->setSingleStep(kLineStep);
    verticalScrollBar()->setTracking(true);
    connect(&m_data, &CDietData::RefreshViewsSent, this, &CLogbookPage::Reload);
    connect(&m_data, &CDietData::DayEditedSent, this, &CLogbookPage::Reload);
    connect(&m_data, &CDietData::ColorsChanged, this, [this] { viewport()->update(); });
    UpdateScrollRange();
}

CLogbookPage::~CLogbookPage() = default;

void CLogbookPage::Reload() {
    UpdateScrollRange();
    viewport()->update();
}

std::vector<SReportSection> CLogbookPage::ShownSections() const {
    std::vector<SReportSection> sections = m_renderer->Sections(CurrentDayScope(m_data));
    if (sections.size() > static_cast<size_t>(kLogbookScreenSectionCount))
        sections.resize(static_cast<size_t>(kLogbookScreenSectionCount));
    return sections;
}

void CLogbookPage::UpdateScrollRange() {
    QPixmap probe(1, 1);
    QPainter painter(&probe);
    const SReportScope scope = CurrentDayScope(m_data);
    const int width = viewport()->width();
    m_contentHeight = 0;
    for (int unit = 0; unit < kLogbookScreenSectionCount; ++unit)
        m_contentHeight += m_renderer->UnitHeight(painter, scope, unit, width);
    const int page = viewport()->height();
    verticalScrollBar()->setPageStep(std::max(1, page));
    verticalScrollBar()->setRange(0, std::max(0, m_contentHeight - page));
}

void CLogbookPage::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRange();
}

void CLogbookPage::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Home)
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
    else if (event->key() == Qt::Key_End)
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
    else
        QAbstractScrollArea::keyPressEvent(event);
}

void CLogbookPage::paintEvent(QPaintEvent*) {
    const QSize size = viewport()->size();
    if (size.isEmpty())
        return;
    if (m_buffer.size() != size)
        m_buffer = QPixmap(size);
    m_buffer.fill(m_data.GetBackColor());
    {
        QPainter painter(&m_buffer);
        const QRect rect(0, -verticalScrollBar()->value(), size.width(),
                         std::max(m_contentHeight, size.height()));
        m_renderer->Draw(painter, rect, CurrentDayScope(m_data), 0, kLogbookScreenSectionCount - 1);
    }
    QPainter screen(viewport());
    screen.drawPixmap(0, 0, m_buffer);
    // The page takes the keyboard (it scrolls): show when it has it.
    if (hasFocus()) {
        screen.setPen(QPen(m_data.GetTextColor(), 1, Qt::DotLine));
        screen.drawRect(viewport()->rect().adjusted(1, 1, -2, -2));
    }
}

} // namespace fitquill
