// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/frame/colors_dialog.h"

#include "desktop/widgets/fonts.h"

#include <QApplication>
#include <QColorDialog>
#include <QGridLayout>
#include <QLabel>
#include <QPalette>
#include <QPushButton>

namespace fitquill {
namespace {

constexpr double kSamplePoints = 12.5;

CColorsDialog::ColorChooser& TheChooser() {
    static CColorsDialog::ColorChooser chooser;
    return chooser;
}

std::optional<QColor> Choose(const QColor& initial, QWidget* parent) {
    if (const auto& chooser = TheChooser())
        return chooser(initial, parent);
    QColor color = QColorDialog::getColor(initial, parent);
    if (!color.isValid())
        return std::nullopt;
    return color;
}

} // namespace

void CColorsDialog::SetColorChooser(ColorChooser chooser) {
    TheChooser() = std::move(chooser);
}

CColorsDialog::CColorsDialog(const SColorSettings& colors, QWidget* parent)
    : QDialog(parent), m_colors(colors) {
    setWindowTitle(QStringLiteral("Colors"));
    m_text = new QPushButton(QStringLiteral("Text..."), this);
    m_background = new QPushButton(QStringLiteral("Background..."), this);
    m_default = new QPushButton(QStringLiteral("Default"), this);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    ok->setDefault(true);
    m_sample = new QLabel(QStringLiteral("Sample Text"), this);
    m_sample->setFont(CustomFont(kSamplePoints));
    m_sample->setAlignment(Qt::AlignCenter);
    m_sample->setAutoFillBackground(true);
    m_sample->setFrameShape(QFrame::StyledPanel);
    m_sample->setFrameShadow(QFrame::Sunken);
    m_sample->setMinimumSize(220, 60);

    connect(m_text, &QPushButton::clicked, this, &CColorsDialog::ChooseText);
    connect(m_background, &QPushButton::clicked, this, &CColorsDialog::ChooseBackground);
    connect(m_default, &QPushButton::clicked, this, &CColorsDialog::UseDefaults);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_sample, 0, 0, 3, 1);
    layout->addWidget(m_text, 0, 1);
    layout->addWidget(m_background, 1, 1);
    layout->addWidget(m_default, 2, 1);
    layout->addWidget(ok, 3, 1);
    layout->addWidget(cancel, 4, 1);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    ShowSample();
}

void CColorsDialog::ChooseText() {
    if (auto color = Choose(EffectiveTextColor(m_colors), this)) {
        m_colors.foreColor = *color;
        m_colors.overrideFore = true;
    }
    ShowSample();
}

void CColorsDialog::ChooseBackground() {
    if (auto color = Choose(EffectiveBackColor(m_colors), this)) {
        m_colors.backColor = *color;
        m_colors.overrideBack = true;
    }
    ShowSample();
}

void CColorsDialog::UseDefaults() {
    m_colors.overrideFore = false;
    m_colors.overrideBack = false;
    m_colors.foreColor = QApplication::palette().color(QPalette::Active, QPalette::Text);
    m_colors.backColor = QApplication::palette().color(QPalette::Active, QPalette::Base);
    ShowSample();
}

void CColorsDialog::ShowSample() {
    QPalette colors = m_sample->palette();
    colors.setColor(QPalette::WindowText, EffectiveTextColor(m_colors));
    colors.setColor(QPalette::Window, EffectiveBackColor(m_colors));
    m_sample->setPalette(colors);
    m_sample->update();
}

} // namespace fitquill
