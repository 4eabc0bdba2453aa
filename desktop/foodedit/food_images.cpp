// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/foodedit/food_images.h"

#include <QPainter>
#include <QPainterPath>

#include <array>

namespace fitquill {
namespace {

QPixmap Draw(int image) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    switch (image) {
    case kFoodImageGroup: {
        // A basket: a brown bowl with a handle.
        painter.setPen(QPen(QColor(110, 70, 30), 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawArc(QRectF(3, 1.5, 10, 10), 0, 180 * 16);
        painter.setPen(QPen(QColor(90, 55, 20), 1));
        painter.setBrush(QColor(190, 130, 60));
        QPainterPath bowl;
        bowl.moveTo(1.5, 6.5);
        bowl.lineTo(14.5, 6.5);
        bowl.lineTo(12.5, 14.5);
        bowl.lineTo(3.5, 14.5);
        bowl.closeSubpath();
        painter.drawPath(bowl);
        painter.drawLine(QPointF(3, 10.5), QPointF(13, 10.5));
        break;
    }
    case kFoodImageCategory: {
        // A jar with a red lid.
        painter.setPen(QPen(QColor(40, 80, 120), 1));
        painter.setBrush(QColor(170, 210, 240));
        painter.drawRoundedRect(QRectF(3.5, 4.5, 9, 10.5), 2, 2);
        painter.setBrush(QColor(200, 40, 40));
        painter.drawRect(QRectF(3, 1.5, 10, 3));
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(240, 190, 60));
        painter.drawRect(QRectF(4.5, 8, 7, 6));
        break;
    }
    case kFoodImageItem: {
        // An apple with a leaf.
        painter.setPen(QPen(QColor(130, 20, 20), 1));
        painter.setBrush(QColor(215, 45, 40));
        painter.drawEllipse(QRectF(2, 4, 12, 11));
        painter.setPen(QPen(QColor(90, 60, 20), 1.2));
        painter.drawLine(QPointF(8, 5), QPointF(9, 1.5));
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(60, 150, 50));
        painter.drawEllipse(QRectF(9, 1, 5, 3));
        break;
    }
    default: {
        // A magnifier.
        painter.setPen(QPen(QColor(40, 40, 40), 1.6));
        painter.setBrush(QColor(220, 235, 250));
        painter.drawEllipse(QRectF(1.5, 1.5, 9, 9));
        painter.setPen(QPen(QColor(60, 40, 20), 2.5, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
        break;
    }
    }
    return pixmap;
}

} // namespace

QPixmap FoodImage(int image) {
    static const std::array<QPixmap, kFoodImageCount> images = [] {
        std::array<QPixmap, kFoodImageCount> drawn;
        for (int index = 0; index < kFoodImageCount; ++index)
            drawn[static_cast<size_t>(index)] = Draw(index);
        return drawn;
    }();
    return images.at(static_cast<size_t>(image >= 0 && image < kFoodImageCount ? image : 0));
}

QIcon FoodIcon(int image) {
    return QIcon(FoodImage(image));
}

} // namespace fitquill
