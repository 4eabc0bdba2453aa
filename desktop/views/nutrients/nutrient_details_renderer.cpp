// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/views/nutrients/nutrient_details_renderer.h"

#include "desktop/document/diet_data.h"
#include "desktop/document/stored_text.h"
#include "desktop/views/section_renderer.h"
#include "desktop/widgets/fonts.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace fitquill {

namespace {

constexpr int kScreenDpi = 96;

double ScaleOf(const QPainter& painter) {
    const QPaintDevice* device = painter.device();
    if (!device || device->logicalDpiY() <= 0)
        return 1.0;
    return static_cast<double>(device->logicalDpiY()) / kScreenDpi;
}

// Stored texts (food names) are Windows-1252 bytes; the report's own texts are ASCII.
QString Text(const std::string& bytes) {
    return FromStored(bytes);
}

} // namespace

// One line of the report; `index` points into the rows, energy shares or top foods.
struct CNutrientDetailsRenderer::SUnit {
    enum class EKind { Text, Heading, Columns, Nutrient, Energy, TopFood, Blank };
    EKind kind = EKind::Blank;
    QString text;
    size_t index = 0;
};

struct CNutrientDetailsRenderer::SContent {
    SNutrientDetails details;
    std::vector<STopFood> foods;
    std::vector<SUnit> units;
};

CNutrientDetailsRenderer::CNutrientDetailsRenderer(CDietData& data) : m_data(data) {}

void CNutrientDetailsRenderer::SetTopFoodsNutrient(int nutrient) {
    m_topNutrient = std::clamp(nutrient, 0, kNutrientCount - 1);
}

CNutrientDetailsRenderer::SContent
CNutrientDetailsRenderer::Content(const SReportScope& scope) const {
    const CJournalDB& journal = m_data.Journal();
    const CJournalDate first = scope.start.IsSet() ? scope.start : scope.day;
    const CJournalDate last = scope.end.IsSet() ? scope.end : scope.day;
    SContent content;
    content.details = NutrientDetails(journal, first, last);
    content.foods = TopFoods(journal, first, last, m_topNutrient);
    std::vector<SUnit>& units = content.units;
    const auto add = [&units](SUnit::EKind kind, const QString& text = {}, size_t index = 0) {
        units.push_back(SUnit{kind, text, index});
    };
    const SNutrientDetails& details = content.details;
    for (const std::string* line :
         {&details.periodText, &details.averageText, &details.referenceText, &details.sourceText})
        add(SUnit::EKind::Text, Text(*line));
    add(SUnit::EKind::Blank);
    add(SUnit::EKind::Columns);
    for (size_t row = 0; row < details.rows.size(); ++row)
        add(SUnit::EKind::Nutrient, {}, row);
    add(SUnit::EKind::Blank);
    add(SUnit::EKind::Heading, QString::fromLatin1(kEnergySplitHeading));
    for (size_t share = 0; share < details.energy.size(); ++share)
        add(SUnit::EKind::Energy, {}, share);
    add(SUnit::EKind::Blank);
    add(SUnit::EKind::Heading,
        QStringLiteral("%1 - %2").arg(QString::fromLatin1(kTopFoodsHeading),
                                      QString::fromLatin1(NutrientInfo(m_topNutrient).name)));
    if (content.foods.empty())
        add(SUnit::EKind::Text, QStringLiteral("No food of this period holds it."));
    for (size_t food = 0; food < content.foods.size(); ++food)
        add(SUnit::EKind::TopFood, {}, food);
    return content;
}

int CNutrientDetailsRenderer::UnitCount(const SReportScope& scope) {
    return static_cast<int>(Content(scope).units.size());
}

int CNutrientDetailsRenderer::LineHeight(const QPaintDevice* device) {
    const double scale =
        device && device->logicalDpiY() > 0 ? double(device->logicalDpiY()) / kScreenDpi : 1.0;
    const QFontMetrics metrics(QFont(CustomFont(), device), device);
    return metrics.height() + static_cast<int>(std::lround(kRowGap * scale));
}

int CNutrientDetailsRenderer::UnitHeight(QPainter& painter, const SReportScope&, int, int) {
    return LineHeight(painter.device());
}

void CNutrientDetailsRenderer::Draw(QPainter& painter, const QRect& rect, const SReportScope& scope,
                                    int first, int last) {
    const SContent content = Content(scope);
    const std::vector<SUnit>& units = content.units;
    const double scale = ScaleOf(painter);
    const auto px = [scale](int pixels) { return static_cast<int>(std::lround(pixels * scale)); };
    // Light text chosen for a dark screen would vanish on white paper.
    const bool paper = PaintsOnPaper(painter.device());
    const QColor color = paper ? QColor(Qt::black) : m_data.GetTextColor();
    const QFont regular(CustomFont(), painter.device());
    QFont bold = regular;
    bold.setWeight(QFont::Bold);
    const int height = UnitHeight(painter, scope, 0, rect.width());
    const int textHeight = QFontMetrics(regular, painter.device()).height();

    // Column edges, left to right.
    const int widths[] = {kNameWidth,  kAmountWidth, kUnitWidth, kReferenceWidth,
                          kShareWidth, kBarWidth,    kUpperWidth};
    int edges[8];
    edges[0] = rect.left() + px(kLeft);
    for (int i = 0; i < 7; ++i)
        edges[i + 1] = edges[i] + px(widths[i]) + (i < 6 ? px(kGap) : 0);
    const auto cell = [&](int column, int top) {
        return QRect(edges[column], top, edges[column + 1] - edges[column] - px(kGap), height);
    };
    const int left = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    const int right = Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine;

    painter.save();
    painter.setBackgroundMode(Qt::TransparentMode);
    int top = rect.top();
    for (int index = std::max(0, first); index <= last && index < static_cast<int>(units.size());
         ++index, top += height) {
        const SUnit& unit = units[static_cast<size_t>(index)];
        painter.setPen(color);
        painter.setFont(regular);
        switch (unit.kind) {
        case SUnit::EKind::Blank:
            break;
        case SUnit::EKind::Text:
            painter.drawText(QRect(edges[0], top, rect.right() - edges[0], height), left,
                             unit.text);
            break;
        case SUnit::EKind::Heading:
            painter.setFont(bold);
            painter.drawText(QRect(edges[0], top, rect.right() - edges[0], height), left,
                             unit.text);
            break;
        case SUnit::EKind::Columns:
            painter.setFont(bold);
            for (int column = 0; column < kNutrientDetailColumnCount; ++column) {
                // The share heading spans the percentage and the bar.
                const int at = column == 5 ? 6 : column;
                QRect box = cell(at, top);
                if (column == 4)
                    box.setRight(cell(5, top).right());
                painter.drawText(box, column == 0 || column == 2 || column == 4 ? left : right,
                                 QString::fromLatin1(kNutrientDetailHeadings[column]));
            }
            break;
        case SUnit::EKind::Nutrient: {
            const SNutrientDetailRow& row = content.details.rows[unit.index];
            painter.drawText(cell(0, top), left, Text(row.name));
            if (row.aboveUpper)
                painter.setPen(WarningColor());
            painter.drawText(cell(1, top), right, Text(row.amount));
            painter.setPen(color);
            painter.drawText(cell(2, top), left, Text(row.unit));
            painter.drawText(cell(3, top), right, Text(row.reference));
            painter.drawText(cell(4, top), right, Text(row.share));
            if (row.shareFraction >= 0) {
                const QRect bar = cell(5, top).adjusted(0, (height - textHeight) / 2 + px(2), 0,
                                                        -(height - textHeight) / 2 - px(2));
                const double filled = std::min(row.shareFraction, 1.0);
                const QColor fill = row.aboveUpper             ? WarningColor()
                                    : row.shareFraction >= 1.0 ? QColor(40, 140, 60)
                                                               : QColor(70, 110, 190);
                painter.fillRect(QRect(bar.left(), bar.top(),
                                       static_cast<int>(std::lround(bar.width() * filled)),
                                       bar.height()),
                                 fill);
                painter.setPen(QPen(color, 0));
                painter.drawRect(bar);
            }
            if (row.aboveUpper)
                painter.setPen(WarningColor());
            painter.drawText(cell(6, top), right, Text(row.upper));
            break;
        }
        case SUnit::EKind::Energy: {
            const SEnergyShare& share = content.details.energy[unit.index];
            painter.drawText(cell(0, top), left, Text(share.label));
            QRect value = cell(1, top);
            value.setRight(cell(3, top).right());
            painter.drawText(value, left, Text(share.value));
            const QRect bar = cell(5, top).adjusted(0, (height - textHeight) / 2 + px(2), 0,
                                                    -(height - textHeight) / 2 - px(2));
            painter.fillRect(QRect(bar.left(), bar.top(),
                                   static_cast<int>(std::lround(bar.width() * share.fraction)),
                                   bar.height()),
                             QColor(70, 110, 190));
            painter.setPen(QPen(color, 0));
            painter.drawRect(bar);
            break;
        }
        case SUnit::EKind::TopFood: {
            const STopFood& food = content.foods[unit.index];
            QRect name = cell(0, top);
            name.setRight(cell(2, top).right());
            painter.drawText(name, left, Text(food.name));
            painter.drawText(cell(3, top), right, Text(food.amountText));
            painter.drawText(cell(4, top), right, Text(food.shareText));
            break;
        }
        }
    }
    painter.restore();
}

} // namespace fitquill
