// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/report/report_section.h"

#include <QAccessibleWidget>

#include <functional>
#include <vector>

namespace fitquill {

// A page that paints report sections (the logbook) as a document of labelled text: each
// section's heading on a line, then its rows ("label value") and sentences, read from the
// page's sections when asked, so that it always says what the page now shows.
class CSectionDocumentAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    using SectionSource = std::function<std::vector<SReportSection>()>;

    CSectionDocumentAccessible(QWidget* page, SectionSource sections);

    // The page's text: one line per heading, row and sentence.
    static QString DocumentText(const std::vector<SReportSection>& sections);

    void* interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;

    // QAccessibleTextInterface: read-only text without a caret or a selection.
    void selection(int, int* startOffset, int* endOffset) const override;
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override;
    using QAccessibleWidget::text;
    int characterCount() const override;
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

private:
    SectionSource m_sections;
};

} // namespace fitquill
