// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/views/dayentry/bmr_pane.h"

#include "core/calc/energy_balance.h"
#include "desktop/document/diet_data.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace fitquill {

CBmrPane::CBmrPane(CDietData& data, QWidget* parent)
    : CDayEntryPane(data, QStringLiteral("Basal Metabolic Rate (BMR)"), parent) {
    auto* question = new QLabel(
        QStringLiteral("Excluding exercise, how would you describe your activity level today?"),
        this);
    question->setWordWrap(true);
    Body()->addWidget(question);
    static constexpr const char* kChoices[] = {"None : Bed", "Light : Sitting",
                                               "Moderate : Standing", "Heavy : Walking - Lifting",
                                               "Other : Manual Input of BMR"};
    auto* group = new QButtonGroup(this);
    for (int level = 1; level <= 5; ++level) {
        auto* button = new QRadioButton(QString::fromLatin1(kChoices[level - 1]), this);
        m_levels[static_cast<size_t>(level - 1)] = button;
        group->addButton(button, level);
        Body()->addWidget(button);
    }
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("BMR:"), this));
    m_bmr = new QLineEdit(this);
    m_bmr->setObjectName(QStringLiteral("BMR"));
    m_bmr->setMaxLength(4);
    m_bmr->setFixedWidth(60);
    m_bmr->setValidator(new QRegularExpressionValidator(QRegularExpression("\\d{0,4}"), m_bmr));
    row->addWidget(m_bmr);
    row->addWidget(new QLabel(QStringLiteral("calories"), this));
    row->addStretch(1);
    Body()->addLayout(row);
    m_setDefault = new QPushButton(QStringLiteral("Set as Daily Default"), this);
    Body()->addWidget(m_setDefault, 0, Qt::AlignLeft);
    auto* note = new QLabel(QStringLiteral("BMR options are available when you input personal "
                                           "information and enter a daily weight."),
                            this);
    note->setWordWrap(true);
    Body()->addWidget(note);
    Body()->addStretch(1);

    connect(group, &QButtonGroup::idClicked, this, &CBmrPane::ChooseLevel);
    connect(m_bmr, &QLineEdit::editingFinished, this, &CBmrPane::StorePending);
    // The level of the day becomes the profile's default for days to come.
    connect(m_setDefault, &QPushButton::clicked, this, [this] {
        const CDayRecord* day = m_data.GetCurrentDay(false);
        const int level = day ? day->ActivityLevel() : 0;
        if (level >= 1 && m_data.Journal().Profile().SetDefaultActivityLevel(level))
            m_data.SetModified();
    });
    Refresh();
}

QWidget* CBmrPane::FirstControl() {
    for (QRadioButton* button : m_levels)
        if (button->isChecked() && button->isEnabled())
            return button;
    return CDayEntryPane::FirstControl();
}

bool CBmrPane::ChoicesAvailable() const {
    const CUserProfile& profile = m_data.Journal().Profile();
    const CDayRecord* day = m_data.GetCurrentDay(false);
    const int level = day ? day->ActivityLevel() : profile.DefaultActivityLevel();
    return level != kActivityLevelNone && profile.Age() >= 0 && profile.Height().IsSet() && day &&
           day->Weight().IsSet();
}

void CBmrPane::Refresh() {
    CDayEntryPane::Refresh();
    const CUserProfile& profile = m_data.Journal().Profile();
    const CDayRecord* day = m_data.GetCurrentDay(false);
    const int level = day ? day->ActivityLevel() : profile.DefaultActivityLevel();
    const bool available = ChoicesAvailable();
    for (int i = 1; i <= 5; ++i) {
        QRadioButton* button = LevelButton(i);
        const QSignalBlocker quiet(button);
        button->setEnabled(available);
        button->setAutoExclusive(false);
        button->setChecked(i == level);
        button->setAutoExclusive(true);
    }
    m_setDefault->setEnabled(available);
    const SBmrResult bmr = CurrentDayBMR(m_data.Journal());
    ShowStored(m_bmr, bmr.ok || bmr.calories > 0 ? QString::number(bmr.calories) : QString());
    m_bmr->setReadOnly(!(available && level == kActivityLevelManual));
    m_bmr->setEnabled(available);
}

void CBmrPane::ChooseLevel(int level) {
    CDayRecord* day = m_data.GetCurrentDay(true);
    if (!day || !day->SetActivityLevel(level))
        return;
    day->RecomputeBMR(m_data.Journal().Profile());
    m_data.SetModified();
    m_data.RefreshViews();
}

void CBmrPane::StorePending() {
    if (!m_bmr->isModified() || m_bmr->isReadOnly())
        return;
    m_bmr->setModified(false);
    CDayRecord* day = m_data.GetCurrentDay(false);
    // A BMR below 100 is refused by the day; the box shows the stored one again.
    if (day && day->SetBMR(m_bmr->text().toInt()))
        m_data.SetModified();
    m_data.RefreshViews();
}

} // namespace fitquill
