// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/widgets/toolbar_images.h"

#include "desktop/widgets/commands.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygon>

namespace fitquill {
namespace {

const QColor kInk(0, 0, 0);
const QColor kPaper(255, 255, 255);
const QColor kShade(128, 128, 128);
const QColor kFolder(255, 220, 96);
const QColor kBlue(0, 0, 160);
const QColor kSteel(192, 192, 192);

void Page(QPainter& p, int left, int top, int width, int height) {
    // A sheet with a folded top right corner.
    QPolygon sheet;
    sheet << QPoint(left, top) << QPoint(left + width - 4, top) << QPoint(left + width, top + 4)
          << QPoint(left + width, top + height) << QPoint(left, top + height);
    p.setPen(kInk);
    p.setBrush(kPaper);
    p.drawPolygon(sheet);
    p.drawLine(left + width - 4, top, left + width - 4, top + 4);
    p.drawLine(left + width - 4, top + 4, left + width, top + 4);
}

void Lines(QPainter& p, int left, int top, int width, int count) {
    p.setPen(kShade);
    for (int i = 0; i < count; ++i)
        p.drawLine(left, top + 2 * i, left + width, top + 2 * i);
}

void DrawNew(QPainter& p) {
    Page(p, 3, 1, 10, 13);
}

void DrawOpen(QPainter& p) {
    p.setPen(kInk);
    p.setBrush(kFolder.darker(115));
    p.drawRect(1, 4, 11, 9);
    p.drawRect(1, 3, 5, 1);
    QPolygon flap;
    flap << QPoint(3, 7) << QPoint(15, 7) << QPoint(12, 13) << QPoint(1, 13);
    p.setBrush(kFolder);
    p.drawPolygon(flap);
    // The arrow out of the folder.
    p.drawLine(9, 1, 12, 1);
    p.drawLine(12, 1, 14, 3);
    p.drawLine(14, 3, 14, 5);
}

void DrawSave(QPainter& p) {
    p.setPen(kInk);
    p.setBrush(kBlue);
    p.drawRect(1, 1, 13, 13);
    p.setBrush(kPaper);
    p.drawRect(3, 1, 9, 6);
    p.setBrush(kSteel);
    p.drawRect(4, 9, 7, 5);
    p.fillRect(5, 10, 2, 3, kBlue);
}

void DrawPrint(QPainter& p) {
    p.setPen(kInk);
    p.setBrush(kPaper);
    p.drawRect(4, 1, 7, 6);
    p.setBrush(kSteel);
    p.drawRect(1, 6, 13, 6);
    p.setBrush(kPaper);
    p.drawRect(3, 10, 9, 4);
    p.fillRect(11, 8, 2, 1, QColor(0, 160, 0));
}

void DrawPreview(QPainter& p) {
    Page(p, 1, 1, 10, 13);
    Lines(p, 3, 4, 5, 3);
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(200, 230, 255));
    p.drawEllipse(7, 6, 5, 5);
    p.setPen(QPen(kInk, 2));
    p.drawLine(12, 11, 14, 13);
}

void DrawCut(QPainter& p) {
    p.setPen(kInk);
    p.setBrush(Qt::NoBrush);
    p.drawLine(5, 1, 9, 8);
    p.drawLine(10, 1, 6, 8);
    p.setBrush(kPaper);
    p.drawEllipse(2, 8, 4, 5);
    p.drawEllipse(9, 8, 4, 5);
}

void DrawCopy(QPainter& p) {
    Page(p, 1, 1, 8, 9);
    Lines(p, 3, 4, 4, 3);
    Page(p, 6, 5, 8, 9);
    Lines(p, 8, 8, 4, 3);
}

void DrawPaste(QPainter& p) {
    p.setPen(kInk);
    p.setBrush(QColor(176, 128, 64));
    p.drawRect(1, 2, 10, 12);
    p.setBrush(kSteel);
    p.drawRect(4, 1, 4, 2);
    Page(p, 6, 6, 8, 8);
    Lines(p, 8, 9, 4, 3);
}

void DrawSortToggle(QPainter& p) {
    QFont font = p.font();
    font.setPixelSize(7);
    font.setBold(true);
    p.setFont(font);
    p.setPen(kInk);
    p.drawText(QRect(0, 0, 8, 7), Qt::AlignCenter, QStringLiteral("A"));
    p.drawText(QRect(0, 7, 8, 8), Qt::AlignCenter, QStringLiteral("Z"));
    // An arrow pointing down.
    p.drawLine(11, 1, 11, 12);
    QPolygon head;
    head << QPoint(8, 10) << QPoint(14, 10) << QPoint(11, 14);
    p.setBrush(kInk);
    p.drawPolygon(head);
}

void DrawNutrientToggle(QPainter& p) {
    p.setPen(kInk);
    const int heights[] = {5, 10, 7, 12};
    const QColor colors[] = {QColor(200, 0, 0), QColor(0, 150, 0), QColor(0, 0, 200),
                             QColor(220, 160, 0)};
    for (int i = 0; i < 4; ++i) {
        p.setBrush(colors[i]);
        p.drawRect(1 + 4 * i, 14 - heights[i], 2, heights[i]);
    }
}

// A day step: a triangle pointing left or right, with a bar at the outer end for the
// first and last day.
void DrawDayStep(QPainter& p, bool left, bool bar) {
    p.setPen(kInk);
    p.setBrush(kInk);
    QPolygon triangle;
    if (left)
        triangle << QPoint(10, 3) << QPoint(10, 11) << QPoint(6, 7);
    else
        triangle << QPoint(5, 3) << QPoint(5, 11) << QPoint(9, 7);
    p.drawPolygon(triangle);
    if (bar)
        p.fillRect(left ? 3 : 11, 3, 2, 9, kInk);
}

} // namespace

QIcon ToolbarIcon(int commandId) {
    QPixmap image(kToolbarImageSize);
    image.fill(Qt::transparent);
    QPainter p(&image);
    switch (commandId) {
    case kIdFileNew:
        DrawNew(p);
        break;
    case kIdFileOpen:
        DrawOpen(p);
        break;
    case kIdFileSaveAll:
        DrawSave(p);
        break;
    case kIdFilePrint:
        DrawPrint(p);
        break;
    case kIdFilePrintPreview:
        DrawPreview(p);
        break;
    case kIdEditCut:
        DrawCut(p);
        break;
    case kIdEditCopy:
        DrawCopy(p);
        break;
    case kIdEditPaste:
        DrawPaste(p);
        break;
    case kIdSortToggle:
        DrawSortToggle(p);
        break;
    case kIdNutrientToggle:
        DrawNutrientToggle(p);
        break;
    case kIdFirstDay:
        DrawDayStep(p, true, true);
        break;
    case kIdPreviousDay:
        DrawDayStep(p, true, false);
        break;
    case kIdNextDay:
        DrawDayStep(p, false, false);
        break;
    case kIdLastDay:
        DrawDayStep(p, false, true);
        break;
    default:
        return QIcon();
    }
    p.end();
    return QIcon(image);
}

} // namespace fitquill
