// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace fitquill {

// Boxes that take stored text refuse, as it is typed or pasted, a character that Windows-1252
// cannot hold: the box does not take it and a tip at the box says why, instead of the text
// being stored with the character lost or turned into "?". A U+FFFD that stands for an
// undefined stored byte may stay (it is never written back).
void GuardStoredText(QLineEdit* edit);
void GuardStoredText(QComboBox* editableCombo);
void GuardStoredText(QPlainTextEdit* edit);

// "Fitquill cannot store "寿" ...": what the tip says about the refused character.
QString UnstorableText(const QString& character);

} // namespace fitquill
