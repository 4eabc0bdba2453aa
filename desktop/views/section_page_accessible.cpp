// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/views/section_page_accessible.h"

#include "desktop/document/stored_text.h"

#include <QWidget>

namespace fitquill {

CSectionDocumentAccessible::CSectionDocumentAccessible(QWidget* page, SectionSource sections)
    : QAccessibleWidget(page, QAccessible::Document), m_sections(std::move(sections)) {}

QString CSectionDocumentAccessible::DocumentText(const std::vector<SReportSection>& sections) {
    QStringList lines;
    for (const SReportSection& section : sections) {
        lines.append(FromStored(section.heading));
        for (const SReportLine& line : section.lines)
            lines.append(FromStored(line.sentence ? line.value : line.label + " " + line.value)
                             .simplified());
    }
    return lines.join(QLatin1Char('\n'));
}

void* CSectionDocumentAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State CSectionDocumentAccessible::state() const {
    QAccessible::State st = QAccessibleWidget::state();
    st.readOnly = true;
    st.multiLine = true;
    return st;
}

void CSectionDocumentAccessible::selection(int, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = 0;
}

QString CSectionDocumentAccessible::text(int startOffset, int endOffset) const {
    const QString all = DocumentText(m_sections());
    startOffset = std::clamp(startOffset, 0, static_cast<int>(all.size()));
    if (endOffset < 0 || endOffset > all.size())
        endOffset = static_cast<int>(all.size());
    return all.mid(startOffset, std::max(0, endOffset - startOffset));
}

int CSectionDocumentAccessible::characterCount() const {
    return static_cast<int>(DocumentText(m_sections()).size());
}

QString CSectionDocumentAccessible::attributes(int, int* startOffset, int* endOffset) const {
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
}

} // namespace fitquill
