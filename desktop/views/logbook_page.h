// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/report/report_section.h"

#include <QAbstractScrollArea>
#include <QPixmap>

#include <memory>

namespace fitquill {

class CDietData;
class CSectionRenderer;

// The "Logbook" page: the current day's weight, meals, BMR, exercise and goals, drawn by the
// logbook renderer into an off-screen picture and scrolled by line, page, thumb and ends.
class CLogbookPage : public QAbstractScrollArea {
    Q_OBJECT

public:
    static constexpr int kLineStep = 20;

    explicit CLogbookPage(CDietData& data, QWidget* parent = nullptr);
    ~CLogbookPage() override;

    // The height of the sections shown, in pixels.
    int ContentHeight() const { return m_contentHeight; }
    // Re-reads the day and repaints.
    void Reload();
    // The sections the page shows for the current day.
    std::vector<SReportSection> ShownSections() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void UpdateScrollRange();

    CDietData& m_data;
    std::unique_ptr<CSectionRenderer> m_renderer;
    QPixmap m_buffer;
    int m_contentHeight = 0;
};

} // namespace fitquill
