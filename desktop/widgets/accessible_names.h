// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace fitquill {

// Gives every input control under root that has no accessible name the text of the label
// placed just before it in its layout ("Weight:" names the weight box "Weight"), and makes
// the label its buddy. Controls that carry their own text (buttons, check boxes) are left
// alone, and so is any control whose owner named it. A button that shows only an icon is
// named by its tooltip.
void NameControlsFromLabels(QWidget* root);

// A label's text as a name: without the mnemonic's "&" and a trailing colon (screen readers
// read colons aloud).
QString NameFromLabel(const QString& text);

// Names the controls of every window when it is first shown; installed on the application.
class CAccessibleNamer : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace fitquill
