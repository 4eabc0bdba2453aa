// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/frame/placeholder_pane.h"

#include <QPainter>

namespace fitquill {

CPlaceholderPane::CPlaceholderPane(const QString& title, QWidget* parent)
    : QWidget(parent), m_title(title) {
    setObjectName(title);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(title);
}

void CPlaceholderPane::SetColors(const QColor&, const QColor& background) {
    m_background = background;
    update();
}

void CPlaceholderPane::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), m_background);
    // A thin edge shows where the pane ends on a background of the same colour.
    painter.setPen(m_background.darker(125));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace fitquill
