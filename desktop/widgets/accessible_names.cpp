// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/widgets/accessible_names.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QBoxLayout>
#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTextEdit>

namespace fitquill {
namespace {

// Controls that show no text of their own to be named by.
bool TakesNameFromLabel(const QWidget* widget) {
    return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QComboBox*>(widget) ||
           qobject_cast<const QAbstractSpinBox*>(widget) ||
           qobject_cast<const QAbstractItemView*>(widget) ||
           qobject_cast<const QPlainTextEdit*>(widget) || qobject_cast<const QTextEdit*>(widget);
}

// The widget the layout places right after item `index` (in a grid: the next cell of the row).
QWidget* WidgetAfter(QLayout* layout, int index) {
    if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
        int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
        grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
        // Beside the label, else below it (a caption over a list).
        QLayoutItem* next = grid->itemAtPosition(row, column + columnSpan);
        if (!next)
            next = grid->itemAtPosition(row + rowSpan, column);
        return next ? next->widget() : nullptr;
    }
    if (auto* form = qobject_cast<QFormLayout*>(layout)) {
        int row = 0;
        QFormLayout::ItemRole role{};
        form->getItemPosition(index, &row, &role);
        QLayoutItem* field =
            role == QFormLayout::LabelRole ? form->itemAt(row, QFormLayout::FieldRole) : nullptr;
        return field ? field->widget() : nullptr;
    }
    QLayoutItem* next = layout->itemAt(index + 1);
    return next ? next->widget() : nullptr;
}

void NameInLayout(QLayout* layout) {
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (QLayout* inner = item->layout()) {
            NameInLayout(inner);
            continue;
        }
        auto* label = qobject_cast<QLabel*>(item->widget());
        // Only a caption ("Weight:") names what follows it; a unit ("ft") does not.
        if (!label || !label->text().trimmed().endsWith(QLatin1Char(':')) ||
            label->textFormat() == Qt::RichText)
            continue;
        QWidget* control = WidgetAfter(layout, i);
        if (!control || !TakesNameFromLabel(control) || !control->accessibleName().isEmpty())
            continue;
        const QString name = NameFromLabel(label->text());
        if (name.isEmpty())
            continue;
        control->setAccessibleName(name);
        if (!label->buddy())
            label->setBuddy(control);
    }
}

} // namespace

QString NameFromLabel(const QString& text) {
    QString name = text;
    name.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    name = name.simplified();
    while (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    return name.trimmed();
}

void NameControlsFromLabels(QWidget* root) {
    if (root->layout())
        NameInLayout(root->layout());
    for (QWidget* child : root->findChildren<QWidget*>()) {
        if (child->layout())
            NameInLayout(child->layout());
        // A button that shows only an icon is named by its tooltip ("Find").
        auto* button = qobject_cast<QAbstractButton*>(child);
        if (button && button->text().isEmpty() && button->accessibleName().isEmpty() &&
            !button->toolTip().isEmpty())
            button->setAccessibleName(NameFromLabel(button->toolTip()));
    }
}

bool CAccessibleNamer::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        if (widget->isWindow())
            NameControlsFromLabels(widget);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace fitquill
