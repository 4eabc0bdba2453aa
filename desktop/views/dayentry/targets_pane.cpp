// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/views/dayentry/targets_pane.h"

#include "core/calc/diet_plan.h"
#include "core/calc/energy_balance.h"
#include "desktop/document/diet_data.h"
#include "desktop/document/stored_text.h"
#include "desktop/widgets/date_dialog.h"
#include "desktop/widgets/numeric_edit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDoubleValidator>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace fitquill {
namespace {

constexpr const char* kBudgetFormat = "To achieve the goals you have set, your food budget is: %1 "
                                      "calories\n\nFood Budget = BMR + Exercise - Goal";
constexpr const char* kGoalPrefix = "Daily Calorie Goal:\n\n";
constexpr const char* kTargetNames[] = {"Calories", "Carbohydrates", "Protein",
                                        "Fiber",    "Total Fat",     "Saturated Fat"};

CNumericEdit* WeightBox(const QString& name, QWidget* parent) {
    auto* box = new CNumericEdit(parent);
    box->setObjectName(name);
    box->SetDecimals(1, false);
    box->SetRange(0, 999.9);
    box->SetEmptyWhenZero(true);
    box->setMaxLength(5);
    box->setFixedWidth(60);
    return box;
}

QString DateText(const CJournalDate& date) {
    return QStringLiteral("%1/%2/%3").arg(date.Month()).arg(date.Day()).arg(date.Year());
}

} // namespace

CTargetsPane::CTargetsPane(CDietData& data, QWidget* parent)
    : CDayEntryPane(data, QStringLiteral("Targets"), parent) {
    auto* choices = new QHBoxLayout;
    m_budgetChoice = new QRadioButton(QStringLiteral("Food Budget"), this);
    m_targetsChoice = new QRadioButton(QStringLiteral("Nutrient Targets"), this);
    m_budgetChoice->setChecked(true);
    choices->addWidget(m_budgetChoice);
    choices->addWidget(m_targetsChoice);
    choices->addStretch(1);
    Body()->addLayout(choices);
    m_views = new QStackedWidget(this);
    m_views->addWidget(BuildBudgetView());
    m_views->addWidget(BuildTargetsView());
    Body()->addWidget(m_views, 1);
    connect(m_targetsChoice, &QRadioButton::toggled, this,
            [this](bool on) { m_views->setCurrentIndex(on ? 1 : 0); });
    Refresh();
}

QWidget* CTargetsPane::BuildBudgetView() {
    auto* view = new QWidget(this);
    auto* grid = new QGridLayout(view);
    grid->setContentsMargins(0, 0, 0, 0);
    m_startWeight = WeightBox(QStringLiteral("StartWeight"), view);
    m_goalWeight = WeightBox(QStringLiteral("GoalWeight"), view);
    m_startDate = new QLabel(view);
    m_targetDate = new QLabel(view);
    auto* startButton = new QPushButton(QStringLiteral("Start Date..."), view);
    auto* targetButton = new QPushButton(QStringLiteral("Target Date..."), view);
    grid->addWidget(new QLabel(QStringLiteral("Start weight:"), view), 0, 0);
    grid->addWidget(m_startWeight, 0, 1);
    m_weightUnits[0] = new QLabel(view);
    grid->addWidget(m_weightUnits[0], 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Goal weight:"), view), 1, 0);
    grid->addWidget(m_goalWeight, 1, 1);
    m_weightUnits[1] = new QLabel(view);
    grid->addWidget(m_weightUnits[1], 1, 2);
    grid->addWidget(startButton, 2, 0);
    grid->addWidget(m_startDate, 2, 1, 1, 2);
    grid->addWidget(targetButton, 3, 0);
    grid->addWidget(m_targetDate, 3, 1, 1, 2);
    m_budgetText = new QLabel(view);
    m_budgetText->setWordWrap(true);
    m_goalText = new QLabel(view);
    m_goalText->setWordWrap(true);
    grid->addWidget(m_budgetText, 4, 0, 1, 3);
    grid->addWidget(m_goalText, 5, 0, 1, 3);
    grid->setRowStretch(6, 1);
    grid->setColumnStretch(2, 1);
    connect(m_startWeight, &QLineEdit::editingFinished, this, &CTargetsPane::StorePending);
    connect(m_goalWeight, &QLineEdit::editingFinished, this, &CTargetsPane::StorePending);
    connect(startButton, &QPushButton::clicked, this, [this] { ChooseDate(true); });
    connect(targetButton, &QPushButton::clicked, this, [this] { ChooseDate(false); });
    return view;
}

QWidget* CTargetsPane::BuildTargetsView() {
    auto* view = new QWidget(this);
    auto* grid = new QGridLayout(view);
    grid->setContentsMargins(0, 0, 0, 0);
    m_automatic = new QCheckBox(QStringLiteral("Automatically calculate values"), view);
    grid->addWidget(m_automatic, 0, 0, 1, 3);
    for (int i = 0; i < 6; ++i) {
        grid->addWidget(new QLabel(QString::fromLatin1(kTargetNames[i]) + QLatin1Char(':'), view),
                        i + 1, 0);
        m_targetLabels[static_cast<size_t>(i)] = new QLabel(view);
        grid->addWidget(m_targetLabels[static_cast<size_t>(i)], i + 1, 1);
        if (i == 0)
            continue;
        auto* box = new QLineEdit(view);
        box->setObjectName(QString::fromLatin1(kTargetNames[i]));
        box->setMaxLength(6);
        box->setFixedWidth(60);
        auto* validator = new QDoubleValidator(0, 9999.9, 1, box);
        validator->setNotation(QDoubleValidator::StandardNotation);
        validator->setLocale(QLocale::c());
        box->setValidator(validator);
        m_targetBoxes[static_cast<size_t>(i)] = box;
        grid->addWidget(box, i + 1, 1);
        grid->addWidget(new QLabel(QStringLiteral("g"), view), i + 1, 2);
        connect(box, &QLineEdit::editingFinished, this, &CTargetsPane::StorePending);
    }
    grid->setRowStretch(7, 1);
    grid->setColumnStretch(3, 1);
    connect(m_automatic, &QCheckBox::clicked, this, &CTargetsPane::SetAutomatic);
    return view;
}

void CTargetsPane::Refresh() {
    CDayEntryPane::Refresh();
    const CJournalDB& journal = m_data.Journal();
    const CUserProfile& profile = journal.Profile();
    const bool metric = profile.IsMetric();
    for (QLabel* unit : m_weightUnits)
        unit->setText(metric ? QStringLiteral("kg") : QStringLiteral("lbs"));
    ShowWeight(m_startWeight, profile.StartingWeight().Get(metric).value_or(0));
    ShowWeight(m_goalWeight, profile.GoalWeight().Get(metric).value_or(0));
    m_startDate->setText(DateText(profile.StartingDate()));
    m_targetDate->setText(DateText(profile.GoalDate()));

    // The budget rests on the day's own weight, as in the logbook: without one it is "---".
    const std::optional<int32_t> budget =
        journal.CurrentWeight() ? FoodBudget(journal) : std::nullopt;
    m_budgetText->setText(QString::fromLatin1(kBudgetFormat)
                              .arg(budget ? QString::number(*budget) : QStringLiteral("---")));
    CUserProfile shown = profile; // showing the goal must not write into the profile
    ComputeGoalSummary(shown);
    const QString goal = FromStored(fitquill::GoalText(shown.GoalSummary(), shown.UnitChoice()));
    m_goalText->setText(shown.GoalSummary().IsValid() ? QString::fromLatin1(kGoalPrefix) + goal
                                                      : goal);

    const bool automatic = profile.IsTargetModeAutomatic();
    m_automatic->setChecked(automatic);
    const SNutrientTargets targets = AllNutrientTargets(journal);
    m_targetLabels[0]->setText(targets.calories ? QString::number(*targets.calories)
                                                : QStringLiteral("---"));
    for (size_t i = 1; i < 6; ++i) {
        const std::optional<float> grams = targets.grams[i - 1];
        const QString text = grams ? QString::number(*grams, 'f', 1) : QStringLiteral("---");
        m_targetLabels[i]->setText(text + QStringLiteral(" g"));
        m_targetLabels[i]->setVisible(automatic);
        m_targetBoxes[i]->setVisible(!automatic);
        ShowStored(m_targetBoxes[i],
                   QString::number(profile.OwnTarget(static_cast<int>(i)), 'f', 1));
    }
}

void CTargetsPane::ShowWeight(CNumericEdit* box, double value) {
    // A weight being typed stays; the one shown already stays untouched under the caret.
    if (box->isModified() || (box->hasFocus() && box->HasValue() && box->Value() == value))
        return;
    box->SetValue(value);
    box->ShowValue(false);
}

void CTargetsPane::Changed() {
    ComputeGoalSummary(m_data.Journal().Profile());
    m_data.SetModified();
    m_data.RefreshViews();
}

void CTargetsPane::StorePending() {
    CUserProfile& profile = m_data.Journal().Profile();
    const bool metric = profile.IsMetric();
    bool changed = false;
    if (m_startWeight->isModified()) {
        m_startWeight->setModified(false);
        profile.SetStartingWeight(m_startWeight->ReadValue(), metric);
        changed = true;
    }
    if (m_goalWeight->isModified()) {
        m_goalWeight->setModified(false);
        profile.SetGoalWeight(m_goalWeight->ReadValue(), metric);
        changed = true;
    }
    if (!profile.IsTargetModeAutomatic()) {
        for (int i = 1; i < 6; ++i) {
            QLineEdit* box = m_targetBoxes[static_cast<size_t>(i)];
            if (!box->isModified())
                continue;
            box->setModified(false);
            const double value = std::clamp(box->text().toDouble(), 0.0, 9999.9);
            profile.SetOwnTarget(i, static_cast<float>(value));
            changed = true;
        }
    }
    if (changed)
        Changed();
}

CJournalDate CTargetsPane::TargetAfterStart(const CJournalDate& start, const CJournalDate& target) {
    if (target > start)
        return target;
    CJournalDate next = start;
    next.StepDays(1);
    return next;
}

void CTargetsPane::SetGoalDate(bool start, const CJournalDate& date) {
    CUserProfile& profile = m_data.Journal().Profile();
    if (start)
        profile.SetStartingDate(date);
    else
        profile.SetGoalDate(date);
    const CJournalDate target = TargetAfterStart(profile.StartingDate(), profile.GoalDate());
    if (!(target == profile.GoalDate()))
        profile.SetGoalDate(target);
    Changed();
}

void CTargetsPane::ChooseDate(bool start) {
    StorePending();
    const CUserProfile& profile = m_data.Journal().Profile();
    CDateDialog dialog(start ? profile.StartingDate() : profile.GoalDate(), window());
    dialog.setWindowTitle(start ? QStringLiteral("Start Date") : QStringLiteral("Target Date"));
    if (dialog.exec() == QDialog::Accepted)
        SetGoalDate(start, dialog.Date());
}

void CTargetsPane::SetAutomatic(bool automatic) {
    CJournalDB& journal = m_data.Journal();
    if (automatic)
        journal.Profile().SetTargetMode(1);
    else
        SwitchToOwnTargets(journal); // editing starts from the computed targets
    m_data.SetModified();
    m_data.RefreshViews();
}

} // namespace fitquill
