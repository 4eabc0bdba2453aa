// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/document/shell_settings.h"

#include <QColor>
#include <QDialog>

#include <functional>
#include <optional>

class QLabel;
class QPushButton;

namespace fitquill {

// The "Colors" dialog: the text and background colours of the pages, with a sample.
class CColorsDialog : public QDialog {
    Q_OBJECT

public:
    // How a colour is chosen: the platform's colour chooser unless a test sets another.
    using ColorChooser =
        std::function<std::optional<QColor>(const QColor& initial, QWidget* parent)>;
    static void SetColorChooser(ColorChooser chooser);

    explicit CColorsDialog(const SColorSettings& colors, QWidget* parent = nullptr);

    const SColorSettings& Colors() const { return m_colors; }

    QPushButton* TextButton() const { return m_text; }
    QPushButton* BackgroundButton() const { return m_background; }
    QPushButton* DefaultButton() const { return m_default; }
    QLabel* Sample() const { return m_sample; }

private:
    void ChooseText();
    void ChooseBackground();
    void UseDefaults();
    void ShowSample();

    SColorSettings m_colors;
    QPushButton* m_text = nullptr;
    QPushButton* m_background = nullptr;
    QPushButton* m_default = nullptr;
    QLabel* m_sample = nullptr;
};

} // namespace fitquill
