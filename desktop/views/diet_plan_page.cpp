// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/views/diet_plan_page.h"

#include "core/calc/diet_plan.h"
#include "core/calc/energy_balance.h"
#include "core/journal/journal_db.h"
#include "desktop/document/diet_data.h"
#include "desktop/document/prompt.h"
#include "desktop/document/stored_text.h"
#include "desktop/widgets/date_dialog.h"
#include "desktop/widgets/numeric_edit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace fitquill {

namespace {

constexpr int kFeetEntries = 10;
constexpr int kCentimetreEntries = 303;
constexpr int kInchEntries = 12;
constexpr int kMaxAgeLength = 2;
constexpr int kMaxWeightLength = 5;
constexpr double kMaxWeight = 999.9;
constexpr int kPercentLength = 2;
constexpr double kMaxTarget = 9999.9;
constexpr int kNumberBoxWidth = 90;
constexpr int kSentenceWidth = 420;

QLabel* StepHeading(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

// Sets a box's text unless the user is typing in it.
void SetUnlessFocused(QLineEdit* box, const QString& text) {
    if (!box->hasFocus() && box->text() != text)
        box->setText(text);
}

QString Text(const std::string& text) {
    return FromStored(text);
}

} // namespace

CDietPlanPage::CDietPlanPage(CDietData& data, QWidget* parent) : QScrollArea(parent), m_data(data) {
    setObjectName(QStringLiteral("DietPlanPage"));
    setAccessibleName(QStringLiteral("Diet Plan"));
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    m_chooseDate = [this](const QString& title, const CJournalDate& initial) {
        CDateDialog dialog(initial, window());
        dialog.setWindowTitle(title);
        return dialog.exec() == QDialog::Accepted ? std::optional(dialog.Date()) : std::nullopt;
    };

    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);
    m_first = BuildFirstScreen();
    m_second = BuildSecondScreen();
    layout->addWidget(m_first);
    layout->addWidget(m_second);
    layout->addStretch(1);
    setWidget(content);

    connect(&m_data, &CDietData::RefreshViewsSent, this, &CDietPlanPage::Reload);
    connect(&m_data, &CDietData::ShowPageSent, this, [this](int page, int) {
        if (page == 0)
            ShowFirstScreen();
    });
    ShowFirstScreen();
    Reload();
}

QWidget* CDietPlanPage::BuildFirstScreen() {
    auto* screen = new QWidget;
    auto* grid = new QGridLayout(screen);
    int row = 0;
    grid->addWidget(StepHeading(QStringLiteral("Step 1:   Personal Information"), screen), row++, 0,
                    1, 6);

    grid->addWidget(new QLabel(QStringLiteral("Units:"), screen), row, 0);
    m_units = new QComboBox(screen);
    m_units->addItems({QStringLiteral("lbs - inches"), QStringLiteral("kg - cm")});
    grid->addWidget(m_units, row++, 1, 1, 3);

    grid->addWidget(new QLabel(QStringLiteral("Height:"), screen), row, 0);
    m_heightMajor = new QComboBox(screen);
    m_heightMajorLabel = new QLabel(QStringLiteral("ft"), screen);
    m_inches = new QComboBox(screen);
    m_inches->setAccessibleName(QStringLiteral("Inches"));
    for (int inches = 0; inches < kInchEntries; ++inches)
        m_inches->addItem(QString::number(inches));
    m_inchesLabel = new QLabel(QStringLiteral("in"), screen);
    m_inchesLabel->setBuddy(m_inches);
    grid->addWidget(m_heightMajor, row, 1);
    grid->addWidget(m_heightMajorLabel, row, 2);
    grid->addWidget(m_inches, row, 3);
    grid->addWidget(m_inchesLabel, row++, 4);

    grid->addWidget(new QLabel(QStringLiteral("Age:"), screen), row, 0);
    m_age = new QLineEdit(screen);
    m_age->setMaxLength(kMaxAgeLength);
    m_age->setMaximumWidth(kNumberBoxWidth);
    m_age->setValidator(new QIntValidator(0, 99, m_age));
    grid->addWidget(m_age, row++, 1);

    grid->addWidget(new QLabel(QStringLiteral("Gender:"), screen), row, 0);
    m_gender = new QComboBox(screen);
    m_gender->addItems({QStringLiteral("Male"), QStringLiteral("Female")});
    grid->addWidget(m_gender, row++, 1, 1, 3);

    grid->addWidget(StepHeading(QStringLiteral("Step 2:   Set Weight Goals"), screen), row++, 0, 1,
                    6);
    const QString labels[2] = {QStringLiteral("Start:"), QStringLiteral("Goal:")};
    for (int which = 0; which < 2; ++which) {
        grid->addWidget(new QLabel(labels[which], screen), row, 0);
        auto* box = new CNumericEdit(screen);
        box->SetDecimals(1, false);
        box->SetRange(0.0, kMaxWeight);
        box->SetEmptyWhenZero(true);
        box->SetDropTrailingZero(true);
        box->setMaxLength(kMaxWeightLength);
        box->setMaximumWidth(kNumberBoxWidth);
        m_weights[static_cast<size_t>(which)] = box;
        m_weightUnits[static_cast<size_t>(which)] = new QLabel(screen);
        m_dates[static_cast<size_t>(which)] = new QLabel(screen);
        m_setDate[static_cast<size_t>(which)] =
            new QPushButton(QStringLiteral("Set Date..."), screen);
        grid->addWidget(box, row, 1);
        grid->addWidget(m_weightUnits[static_cast<size_t>(which)], row, 2);
        grid->addWidget(m_dates[static_cast<size_t>(which)], row, 3, 1, 2);
        grid->addWidget(m_setDate[static_cast<size_t>(which)], row++, 5);
        connect(box, &QLineEdit::textEdited, this, &CDietPlanPage::OnWeightEdited);
        connect(m_setDate[static_cast<size_t>(which)], &QPushButton::clicked, this,
                [this, which] { OnSetDate(which); });
    }
    m_goalSentence = new QLabel(screen);
    m_goalSentence->setWordWrap(true);
    grid->addWidget(m_goalSentence, row++, 0, 1, 6);
    m_firstNext = new QPushButton(QStringLiteral("Next >>"), screen);
    grid->addWidget(m_firstNext, row++, 5);
    grid->setColumnStretch(6, 1);

    connect(m_units, &QComboBox::activated, this, &CDietPlanPage::OnUnitsChanged);
    connect(m_heightMajor, &QComboBox::activated, this, &CDietPlanPage::OnHeightChanged);
    connect(m_inches, &QComboBox::activated, this, &CDietPlanPage::OnHeightChanged);
    connect(m_age, &QLineEdit::textEdited, this, &CDietPlanPage::OnAgeEdited);
    connect(m_gender, &QComboBox::activated, this, &CDietPlanPage::OnGenderChanged);
    connect(m_firstNext, &QPushButton::clicked, this, [this] {
        ShowSecondScreen();
        // The button that had the focus is gone; the plan choice takes it.
        if (QAbstractButton* plan = m_planGroup->checkedButton())
            plan->setFocus();
        else
            m_plans[0]->setFocus();
    });
    return screen;
}

QWidget* CDietPlanPage::BuildSecondScreen() {
    auto* screen = new QWidget;
    auto* grid = new QGridLayout(screen);
    int row = 0;
    auto sentence = [&](const QString& text) {
        auto* label = new QLabel(text, screen);
        label->setWordWrap(true);
        label->setMinimumWidth(kSentenceWidth);
        grid->addWidget(label, row++, 0, 1, 4);
    };
    grid->addWidget(StepHeading(QStringLiteral("Step 3:   Select a Diet Plan"), screen), row++, 0,
                    1, 4);
    m_planGroup = new QButtonGroup(this);
    for (int plan = 0; plan < CUserProfile::kDietPlanCount; ++plan) {
        auto* button = new QRadioButton(QString::fromLatin1(DietPlanInfo(plan)->label), screen);
        m_plans[static_cast<size_t>(plan)] = button;
        m_planGroup->addButton(button, plan);
        grid->addWidget(button, row++, 0, 1, 4);
    }
    // Toggled, not clicked: a screen reader's toggle action chooses a plan as a click does;
    // the page's own setChecked for the stored plan changes nothing.
    connect(m_planGroup, &QButtonGroup::idToggled, this, [this](int plan, bool checked) {
        if (checked && plan != m_data.Journal().Profile().DietPlan())
            OnPlanChosen(plan);
    });

    sentence(QStringLiteral(
        "Your diet plan recommends the following percent of calories from each nutrient."));
    const QString percentNames[3] = {QStringLiteral("Carbohydrates:"), QStringLiteral("Protein:"),
                                     QStringLiteral("Total Fat:")};
    for (int index = 0; index < 3; ++index) {
        grid->addWidget(new QLabel(percentNames[index], screen), row, 0);
        auto* box = new QLineEdit(screen);
        box->setMaxLength(kPercentLength);
        box->setMaximumWidth(kNumberBoxWidth);
        box->setValidator(new QIntValidator(0, 99, box));
        m_percentBoxes[static_cast<size_t>(index)] = box;
        m_percentLabels[static_cast<size_t>(index)] = new QLabel(screen);
        grid->addWidget(box, row, 1);
        grid->addWidget(m_percentLabels[static_cast<size_t>(index)], row++, 2);
    }
    m_setPercentages = new QPushButton(QStringLiteral("Set"), screen);
    grid->addWidget(m_setPercentages, row - 1, 3);
    connect(m_setPercentages, &QPushButton::clicked, this, [this] { StoreCustomPercentages(); });

    sentence(QStringLiteral("Your diet plan recommends the following daily nutrient targets."));
    grid->addWidget(new QLabel(QStringLiteral("Calories:"), screen), row, 0);
    m_calories = new QLabel(screen);
    grid->addWidget(m_calories, row++, 1);
    const QString targetNames[5] = {QStringLiteral("Carbohydrates:"), QStringLiteral("Protein:"),
                                    QStringLiteral("Fiber:"), QStringLiteral("Total Fat:"),
                                    QStringLiteral("Saturated Fat:")};
    for (int index = 0; index < 5; ++index) {
        grid->addWidget(new QLabel(targetNames[index], screen), row, 0);
        auto* box = new CNumericEdit(screen);
        box->SetDecimals(1, false);
        box->SetRange(0.0, kMaxTarget);
        box->setMaximumWidth(kNumberBoxWidth);
        m_targets[static_cast<size_t>(index)] = box;
        grid->addWidget(box, row, 1);
        grid->addWidget(new QLabel(QStringLiteral("g"), screen), row++, 2);
        connect(box, &QLineEdit::textEdited, this, &CDietPlanPage::OnTargetEdited);
    }
    m_automatic = new QCheckBox(QStringLiteral("Automatically calculate values"), screen);
    grid->addWidget(m_automatic, row++, 0, 1, 4);
    connect(m_automatic, &QCheckBox::clicked, this, &CDietPlanPage::OnAutomaticClicked);

    auto* buttons = new QHBoxLayout;
    m_back = new QPushButton(QStringLiteral("<< Back"), screen);
    m_secondNext = new QPushButton(QStringLiteral("Next >>"), screen);
    buttons->addWidget(m_back);
    buttons->addWidget(m_secondNext);
    buttons->addStretch(1);
    grid->addLayout(buttons, row++, 0, 1, 4);
    sentence(QStringLiteral("Use the Next button to select the Logbook."));
    grid->setColumnStretch(4, 1);
    connect(m_back, &QPushButton::clicked, this, [this] {
        ShowFirstScreen();
        m_units->setFocus();
    });
    connect(m_secondNext, &QPushButton::clicked, this, &CDietPlanPage::OnSecondNext);
    return screen;
}

// --- Screens ---

void CDietPlanPage::ScrollHome() {
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
}

void CDietPlanPage::ShowFirstScreen() {
    ScrollHome();
    m_second->hide();
    m_first->show();
}

void CDietPlanPage::ShowSecondScreen() {
    ScrollHome();
    m_first->hide();
    m_second->show();
}

bool CDietPlanPage::IsFirstScreenShown() const {
    return !m_first->isHidden();
}

void CDietPlanPage::hideEvent(QHideEvent* event) {
    QScrollArea::hideEvent(event);
    // Coming back to the page always starts on the first screen; a minimised window is no
    // coming back.
    if (!event->spontaneous())
        ShowFirstScreen();
}

void CDietPlanPage::focusInEvent(QFocusEvent* event) {
    QScrollArea::focusInEvent(event);
    if (IsFirstScreenShown())
        m_units->setFocus();
    else if (QAbstractButton* plan = m_planGroup->checkedButton())
        plan->setFocus();
}

// --- Loading ---

void CDietPlanPage::Reload() {
    LoadFirstScreen();
    LoadSecondScreen();
}

void CDietPlanPage::FillHeightLists(bool metric) {
    const int entries = metric ? kCentimetreEntries : kFeetEntries;
    if (m_heightMajor->count() != entries) {
        m_heightMajor->clear();
        for (int value = 0; value < entries; ++value)
            m_heightMajor->addItem(QString::number(value));
    }
    m_heightMajorLabel->setText(metric ? QStringLiteral("cm") : QStringLiteral("ft"));
    m_inches->setVisible(!metric);
    m_inchesLabel->setVisible(!metric);
}

void CDietPlanPage::LoadFirstScreen() {
    CUserProfile& profile = m_data.Journal().Profile();
    const bool metric = profile.IsMetric();
    m_units->setCurrentIndex(metric ? 1 : 0);
    FillHeightLists(metric);
    if (metric) {
        m_heightMajor->setCurrentIndex(
            std::clamp(profile.Height().GetCentimetres().value_or(0), 0, kCentimetreEntries - 1));
    } else {
        const auto feetInches = profile.Height().GetFeetInches().value_or(std::pair(0, 0));
        m_heightMajor->setCurrentIndex(std::clamp(feetInches.first, 0, kFeetEntries - 1));
        m_inches->setCurrentIndex(std::clamp(feetInches.second, 0, kInchEntries - 1));
    }
    SetUnlessFocused(m_age, profile.Age() > 0 ? QString::number(profile.Age()) : QString());
    m_gender->setCurrentIndex(profile.Sex() == 1 ? 1 : 0);

    const CWeightValue* weights[2] = {&profile.StartingWeight(), &profile.GoalWeight()};
    const CJournalDate* dates[2] = {&profile.StartingDate(), &profile.GoalDate()};
    for (size_t which = 0; which < 2; ++which) {
        CNumericEdit* box = m_weights[which];
        if (!box->hasFocus()) {
            box->SetValue(weights[which]->Get(metric).value_or(0.0));
            box->ShowValue(true);
        }
        m_weightUnits[which]->setText(metric ? QStringLiteral("kg") : QStringLiteral("lbs"));
        m_dates[which]->setText(dates[which]->IsSet() ? Text(dates[which]->LongText()) : QString());
    }
    ComputeGoalSummary(profile);
    m_goalSentence->setText(Text(GoalText(profile.GoalSummary(), profile.UnitChoice(), true)));
}

void CDietPlanPage::LoadSecondScreen() {
    CJournalDB& journal = m_data.Journal();
    const CUserProfile& profile = journal.Profile();
    const int plan = profile.DietPlan();
    if (plan >= 0 && plan < CUserProfile::kDietPlanCount)
        m_plans[static_cast<size_t>(plan)]->setChecked(true);
    const bool custom = plan == kDietPlanCustom;
    const int percentages[3] = {profile.CarbohydratePercent(), profile.ProteinPercent(),
                                profile.FatPercent()};
    for (size_t index = 0; index < 3; ++index) {
        m_percentLabels[index]->setText(QStringLiteral("%1 %").arg(percentages[index]));
        SetUnlessFocused(m_percentBoxes[index], QString::number(percentages[index]));
        m_percentBoxes[index]->setVisible(custom);
    }
    m_setPercentages->setVisible(custom);

    const SNutrientTargets targets = AllNutrientTargets(journal);
    m_calories->setText(targets.calories ? QString::number(*targets.calories)
                                         : QStringLiteral("---"));
    const bool automatic = profile.IsTargetModeAutomatic();
    for (size_t index = 0; index < m_targets.size(); ++index) {
        CNumericEdit* box = m_targets[index];
        box->setReadOnly(automatic);
        if (box->hasFocus())
            continue;
        if (targets.grams[index]) {
            box->SetValue(*targets.grams[index]);
            box->ShowValue(true);
        } else {
            box->clear();
        }
    }
    m_automatic->setChecked(automatic);
}

// --- The first screen ---

bool CDietPlanPage::StoreFirstScreen(bool unitsChange) {
    CUserProfile& profile = m_data.Journal().Profile();
    // The lists still show the unit system the profile held so far.
    CHeightValue height;
    if (profile.IsMetric())
        height.SetCentimetres(m_heightMajor->currentIndex());
    else
        height.SetFeetInches(m_heightMajor->currentIndex(), m_inches->currentIndex());
    profile.SetUnitChoice(m_units->currentIndex());
    profile.SetHeight(height);

    const int age = m_age->text().trimmed().toInt();
    if (age < 0 || age > CUserProfile::kMaxAge) {
        ShowPrompt(window(), QString::fromLatin1(kAgeCaption), QString::fromLatin1(kAgeInvalidText),
                   EPromptIcon::Warning, EPromptButtons::Ok);
        m_age->selectAll();
        m_age->setFocus();
        return false;
    }
    profile.SetAge(age == 0 ? -1 : age);
    profile.SetSex(m_gender->currentIndex());

    if (!unitsChange) {
        // Only what the user typed: a weight shown rounded to one decimal (or converted to
        // kilograms) and read back would drift from the stored one at every other change.
        const bool metric = profile.IsMetric();
        if (m_weights[0]->isModified())
            profile.SetStartingWeight(m_weights[0]->ReadValue(), metric);
        if (m_weights[1]->isModified())
            profile.SetGoalWeight(m_weights[1]->ReadValue(), metric);
        m_data.SetModified();
    }
    return true;
}

void CDietPlanPage::OnHeightChanged() {
    StoreFirstScreen(false);
    m_data.SetModified();
    LoadFirstScreen();
    m_data.NotifyDayEdited();
}

void CDietPlanPage::OnAgeEdited() {
    m_data.SetModified();
    StoreFirstScreen(false);
    m_data.NotifyDayEdited();
}

void CDietPlanPage::OnGenderChanged() {
    m_data.SetModified();
    StoreFirstScreen(false);
    // The BMR depends on it: the logbook must not keep showing the old one.
    m_data.NotifyDayEdited();
}

void CDietPlanPage::OnUnitsChanged() {
    StoreFirstScreen(true);
    m_data.SetModified();
    LoadFirstScreen();
    m_data.NotifyDayEdited();
    m_data.RefreshViews();
}

void CDietPlanPage::OnWeightEdited() {
    StoreFirstScreen(false);
    AfterGoalChange();
}

void CDietPlanPage::AfterGoalChange() {
    ComputeGoalSummary(m_data.Journal().Profile());
    LoadFirstScreen();
    m_data.SetModified();
    m_data.NotifyDayEdited();
    m_data.NotifyWeightChanged();
}

void CDietPlanPage::OnSetDate(int which) {
    CUserProfile& profile = m_data.Journal().Profile();
    const bool start = which == 0;
    const std::optional<CJournalDate> chosen =
        m_chooseDate(start ? QStringLiteral("Start Date") : QStringLiteral("Target Date"),
                     start ? profile.StartingDate() : profile.GoalDate());
    if (chosen) {
        CJournalDate dayAfterStart = start ? *chosen : profile.StartingDate();
        dayAfterStart.StepDays(1);
        if (start) {
            profile.SetStartingDate(*chosen);
            if (!(profile.StartingDate() < profile.GoalDate()))
                profile.SetGoalDate(dayAfterStart);
        } else {
            profile.SetGoalDate(profile.StartingDate() < *chosen ? *chosen : dayAfterStart);
        }
        StoreFirstScreen(false);
        AfterGoalChange();
    }
    m_setDate[static_cast<size_t>(which)]->setFocus();
}

// --- The second screen ---

void CDietPlanPage::OnPlanChosen(int plan) {
    m_data.Journal().Profile().SetDietPlan(plan);
    m_data.SetModified();
    m_data.RefreshViews();
}

bool CDietPlanPage::StoreCustomPercentages() {
    CUserProfile& profile = m_data.Journal().Profile();
    if (profile.DietPlan() != kDietPlanCustom)
        return true;
    const int carbohydrate = m_percentBoxes[0]->text().toInt();
    const int protein = m_percentBoxes[1]->text().toInt();
    const int fat = m_percentBoxes[2]->text().toInt();
    // The profile refuses a share of 100 alone as well; that gets the same message.
    if (!PercentagesTotal100(carbohydrate, protein, fat) ||
        !profile.SetPercentages(carbohydrate, protein, fat)) {
        ShowPrompt(window(), QString::fromLatin1(kCustomDietCaption),
                   QString::fromLatin1(kPercentagesTotalText), EPromptIcon::Warning,
                   EPromptButtons::Ok);
        m_percentBoxes[0]->selectAll();
        m_percentBoxes[0]->setFocus();
        return false;
    }
    m_data.RefreshViews();
    m_data.SetModified();
    return true;
}

void CDietPlanPage::OnTargetEdited() {
    CUserProfile& profile = m_data.Journal().Profile();
    if (profile.IsTargetModeAutomatic())
        return;
    for (size_t index = 0; index < m_targets.size(); ++index)
        profile.SetOwnTarget(static_cast<int>(index) + 1,
                             static_cast<float>(m_targets[index]->ReadValue()));
    m_data.RefreshViews();
    m_data.SetModified();
}

void CDietPlanPage::OnAutomaticClicked(bool on) {
    CJournalDB& journal = m_data.Journal();
    if (on)
        journal.Profile().SetTargetMode(1);
    else
        SwitchToOwnTargets(journal); // the targets shown become the user's own
    m_data.SetModified();
    m_data.RefreshViews();
}

void CDietPlanPage::OnSecondNext() {
    if (!StoreCustomPercentages())
        return;
    ScrollHome();
    m_data.ShowPage(1);
}

} // namespace fitquill
