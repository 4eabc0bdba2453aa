// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/docs/app_icon.h"

#include <QPainter>
#include <QPolygonF>

#include <vector>

namespace fitquill {
namespace {

constexpr double kSide = 256;

struct SShape {
    enum class EKind { Rect, Circle, Polygon };
    EKind kind;
    const char* fill;
    std::vector<double> values; // rect: x y w h radius; circle: cx cy r; polygon: x y pairs
};

// A journal page with its lines on a green tile, and an apple over its lower corner.
const std::vector<SShape>& Shapes() {
    using K = SShape::EKind;
    static const std::vector<SShape> shapes = {
        {K::Rect, "#2e7d32", {12, 12, 232, 232, 44}},
        {K::Rect, "#1b5e20", {56, 40, 148, 180, 12}},
        {K::Rect, "#fffde7", {52, 34, 148, 180, 12}},
        {K::Rect, "#90a4ae", {74, 70, 104, 10, 5}},
        {K::Rect, "#90a4ae", {74, 96, 104, 10, 5}},
        {K::Rect, "#90a4ae", {74, 122, 76, 10, 5}},
        {K::Rect, "#90a4ae", {74, 148, 52, 10, 5}},
        {K::Circle, "#c62828", {164, 180, 50}},
        {K::Circle, "#e53935", {160, 176, 46}},
        {K::Circle, "#ef9a9a", {142, 160, 10}},
        {K::Rect, "#5d4037", {156, 112, 9, 28, 4}},
        {K::Polygon, "#66bb6a", {165, 126, 184, 104, 212, 100, 198, 122, 170, 132}},
    };
    return shapes;
}

QString Number(double value) {
    return QString::number(value, 'g', 6);
}

} // namespace

QString CAppIcon::Svg() {
    QString svg = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" "
                                 "height=\"256\" viewBox=\"0 0 256 256\">\n");
    for (const SShape& shape : Shapes()) {
        const std::vector<double>& v = shape.values;
        switch (shape.kind) {
        case SShape::EKind::Rect:
            svg += QStringLiteral("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\"")
                       .arg(Number(v[0]), Number(v[1]), Number(v[2]), Number(v[3]), Number(v[4]));
            break;
        case SShape::EKind::Circle:
            svg += QStringLiteral("  <circle cx=\"%1\" cy=\"%2\" r=\"%3\"")
                       .arg(Number(v[0]), Number(v[1]), Number(v[2]));
            break;
        case SShape::EKind::Polygon: {
            QStringList points;
            for (size_t i = 0; i + 1 < v.size(); i += 2)
                points << Number(v[i]) + ',' + Number(v[i + 1]);
            svg += QStringLiteral("  <polygon points=\"%1\"").arg(points.join(' '));
            break;
        }
        }
        svg += QStringLiteral(" fill=\"%1\"/>\n").arg(QLatin1String(shape.fill));
    }
    svg += QStringLiteral("</svg>\n");
    return svg;
}

QImage CAppIcon::Image(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / kSide, size / kSide);
    painter.setPen(Qt::NoPen);
    for (const SShape& shape : Shapes()) {
        const std::vector<double>& v = shape.values;
        painter.setBrush(QColor(QLatin1String(shape.fill)));
        switch (shape.kind) {
        case SShape::EKind::Rect:
            painter.drawRoundedRect(QRectF(v[0], v[1], v[2], v[3]), v[4], v[4]);
            break;
        case SShape::EKind::Circle:
            painter.drawEllipse(QPointF(v[0], v[1]), v[2], v[2]);
            break;
        case SShape::EKind::Polygon: {
            QPolygonF polygon;
            for (size_t i = 0; i + 1 < v.size(); i += 2)
                polygon << QPointF(v[i], v[i + 1]);
            painter.drawPolygon(polygon);
            break;
        }
        }
    }
    return image;
}

} // namespace fitquill
