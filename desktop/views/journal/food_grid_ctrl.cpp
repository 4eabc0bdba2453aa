// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/views/journal/food_grid_ctrl.h"

#include "core/journal/day_record_limit.h"
#include "core/journal/journal_clipboard.h"
#include "desktop/document/diet_data.h"
#include "desktop/document/prompt.h"
#include "desktop/document/view_services.h"
#include "desktop/views/journal/meal_log_renderer.h"
#include "desktop/widgets/command_menu.h"
#include "desktop/widgets/commands.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>

namespace fitquill {
namespace {

constexpr char kDeleteQuestion[] = "Are you sure you want to delete the selected food items?";
constexpr char kPasteLimitText[] = "Due to the maximum food limit per category not all of the "
                                   "food items were pasted from the clipboard.";

} // namespace

CFoodGridCtrl::CFoodGridCtrl(CDietData& data, QWidget* parent) : CGridCtrl(parent), m_data(data) {
    setObjectName(QStringLiteral("MealLogGrid"));
    setAccessibleName(QStringLiteral("Meal Log"));
    // The rendered column always takes the whole width.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SetColumnCount(2);
    SetRowHeight(CMealLogRenderer::ScreenRowHeight(font()));
    SetTextSource([](int row, int column) {
        return column == 0 && row > 0 ? QString::number(row) : QString();
    });
    SetCellPainter(1, [this](QPainter& painter, const QRect& cell, int row, const SGridCellState&) {
        if (row == 0)
            CMealLogRenderer::DrawHintRow(painter, cell);
        else
            CMealLogRenderer::DrawScreenRow(painter, cell, RowTexts(row), m_data.NutrientToggle());
    });
    SetCellDescriber(1, [this](int row, int) {
        return row == 0 ? QString::fromLatin1(CMealLogRenderer::kToolbarHint)
                        : CMealLogRenderer::ScreenRowText(RowTexts(row), m_data.NutrientToggle());
    });
    SetRowCount(kMinimumRows);
    SetFixedRows(1);
    UpdateColumnWidths();
    ApplyColors();

    m_data.SetMealLogGrid(this);
    // Logged from the food tree: the new entry is selected as if logged here.
    connect(&m_data, &CDietData::MealLogEntrySelected, this, [this](int position) {
        if (position >= 0)
            SetCurrentCell(1 + position, 1);
    });
    connect(&m_data, &CDietData::RefreshViewsSent, this, &CFoodGridCtrl::Refresh);
    connect(&m_data, &CDietData::DayEditedSent, this, &CFoodGridCtrl::Refresh);
    connect(&m_data, &CDietData::ColorsChanged, this, &CFoodGridCtrl::ApplyColors);
    connect(this, &CGridCtrl::CellDoubleClicked, this, [this] { ExecuteCommand(kIdEditItem); });
    connect(this, &CGridCtrl::ContextMenuAt, this, &CFoodGridCtrl::ShowContextMenu);
    Refresh();
}

CFoodGridCtrl::~CFoodGridCtrl() {
    if (m_data.MealLogGrid() == this)
        m_data.SetMealLogGrid(nullptr);
}

void CFoodGridCtrl::Refresh() {
    const int rows = m_rows.RowCount(m_data.GetCurrentDay(false), m_data.SortMode());
    SetRowCount(std::max(kMinimumRows, rows));
    viewport()->update();
}

int CFoodGridCtrl::FoodRowCount() const {
    CDayRecord* day = m_data.GetCurrentDay(false);
    return day ? day->FoodLog().DisplayRowCount(m_data.SortMode()) : 0;
}

bool CFoodGridCtrl::SelectionWithinFoodRows() const {
    return FirstSelectedRow() >= 1 && LastSelectedRow() <= FoodRowCount();
}

SMealLogRow CFoodGridCtrl::RowTexts(int row) const {
    return m_rows.Row(m_data.GetCurrentDay(false), m_data.SortMode(), row);
}

bool CFoodGridCtrl::CurrentRowIsEntry() const {
    return CurrentRow() >= 1 && CurrentRow() <= FoodRowCount() &&
           RowTexts(CurrentRow()).kind == EMealLogRowKind::FoodEntry;
}

void CFoodGridCtrl::ApplyColors() {
    SetColors(m_data.GetTextColor(), m_data.GetBackColor());
}

void CFoodGridCtrl::UpdateColumnWidths() {
    SetColumnWidth(0, kNumberColumnWidth);
    SetColumnWidth(1, std::max(0, viewport()->width() - kNumberColumnWidth));
}

void CFoodGridCtrl::resizeEvent(QResizeEvent* event) {
    CGridCtrl::resizeEvent(event);
    UpdateColumnWidths();
}

bool CFoodGridCtrl::event(QEvent* event) {
    // Delete and F2 belong to the grid while it has the focus, not to the window's shortcuts.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::NoModifier &&
            (key->key() == Qt::Key_Delete || key->key() == Qt::Key_F2)) {
            event->accept();
            return true;
        }
    }
    return CGridCtrl::event(event);
}

void CFoodGridCtrl::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() == Qt::NoModifier) {
        switch (event->key()) {
        case Qt::Key_Delete:
            ExecuteCommand(kIdDeleteFoodItems);
            return;
        case Qt::Key_F2:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            ExecuteCommand(kIdEditItem);
            return;
        default:
            break;
        }
    }
    CGridCtrl::keyPressEvent(event);
}

bool CFoodGridCtrl::QueryCommand(int id, bool& enabled) {
    switch (id) {
    case kIdSortTimeBLDS:
    case kIdSortAlphabetical:
    case kIdSortToggle:
    case kIdNutrientToggle:
    case kIdInsertFoodItem:
        enabled = true;
        return true;
    case kIdEditItem:
        enabled = CurrentRowIsEntry();
        return true;
    case kIdDeleteFoodItems:
    case kIdEditCopy:
    case kIdEditCut:
        enabled = SelectionWithinFoodRows();
        return true;
    case kIdEditPaste:
        enabled = !CJournalClipboard::Food().empty();
        return true;
    case kIdEditSelectAll:
        enabled = FoodRowCount() > 0;
        return true;
    case kIdSaveAsFoodItem:
        enabled = SelectionWithinFoodRows() && !SelectedEntries().empty();
        return true;
    default:
        return false;
    }
}

bool CFoodGridCtrl::ExecuteCommand(int id) {
    switch (id) {
    case kIdSortTimeBLDS:
        SetSortMode(kSortByMeal);
        return true;
    case kIdSortAlphabetical:
        SetSortMode(kSortAlphabetical);
        return true;
    case kIdSortToggle:
        SetSortMode(m_data.SortMode() == kSortByMeal ? kSortAlphabetical : kSortByMeal);
        return true;
    case kIdNutrientToggle:
        m_data.SetNutrientToggle(m_data.NutrientToggle() == 0 ? 1 : 0);
        m_data.SetModified();
        viewport()->update();
        return true;
    case kIdInsertFoodItem:
        InsertFood();
        return true;
    case kIdEditItem:
        EditFood();
        return true;
    case kIdDeleteFoodItems:
        DeleteFoods();
        return true;
    case kIdEditCopy:
    case kIdEditCut:
        CopyFoods(id == kIdEditCut);
        return true;
    case kIdEditPaste:
        PasteFoods();
        return true;
    case kIdEditSelectAll:
        if (FoodRowCount() > 0)
            SelectRows(1, FoodRowCount());
        return true;
    case kIdSaveAsFoodItem:
        SaveAsFoodItem();
        return true;
    default:
        return false;
    }
}

std::vector<CFoodItem> CFoodGridCtrl::SelectedEntries() const {
    std::vector<CFoodItem> entries;
    CJournalDB& journal = m_data.Journal();
    const int position = journal.FindDay(journal.CurrentDate());
    if (position < 0 || !SelectionWithinFoodRows())
        return entries;
    CDayFoodLog& log = journal.Day(position).FoodLog();
    const int sortMode = m_data.SortMode();
    for (int row = FirstSelectedRow(); row <= LastSelectedRow(); ++row) {
        if (row - 1 >= log.DisplayRowCount(sortMode))
            break;
        const SFoodLogRow display = log.DisplayRow(sortMode, row - 1);
        if (!display.isHeader && display.entry)
            entries.push_back(*display.entry);
    }
    return entries;
}

void CFoodGridCtrl::SaveAsFoodItem() {
    const std::vector<CFoodItem> entries = SelectedEntries();
    IFoodDialogs* dialogs = m_data.FoodDialogs();
    if (entries.empty() || !dialogs)
        return;
    dialogs->SaveAsFoodItem(window(), entries);
}

void CFoodGridCtrl::SetSortMode(int mode) {
    m_data.SetSortMode(mode);
    m_data.SetModified();
    Refresh();
}

void CFoodGridCtrl::SelectPosition(int position) {
    if (position >= 0)
        SetCurrentCell(1 + position, 1);
    setFocus();
}

void CFoodGridCtrl::InsertFood() {
    IFoodDialogs* dialogs = m_data.FoodDialogs();
    if (!dialogs) {
        ShowPrompt(window(), QStringLiteral("Insert Food Item"),
                   NotAvailableText(kIdInsertFoodItem), EPromptIcon::Information,
                   EPromptButtons::Ok);
        return;
    }
    const SFoodDialogResult result = dialogs->InsertFood(window(), m_data.SortMode());
    if (result.foodDBChanged) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        emit m_data.ReloadFoodTreeSent();
        QApplication::restoreOverrideCursor();
    }
    if (!result.accepted)
        return;
    m_data.ShowPage(2);
    m_data.SetModified();
    m_data.RefreshViews();
    SelectPosition(result.position);
}

void CFoodGridCtrl::EditFood() {
    if (!CurrentRowIsEntry()) {
        InsertFood();
        return;
    }
    IFoodDialogs* dialogs = m_data.FoodDialogs();
    if (!dialogs) {
        ShowPrompt(window(), QStringLiteral("Edit"), NotAvailableText(kIdEditItem),
                   EPromptIcon::Information, EPromptButtons::Ok);
        return;
    }
    const SFoodDialogResult result =
        dialogs->EditFood(window(), CurrentRow() - 1, m_data.SortMode());
    if (result.foodDBChanged)
        emit m_data.ReloadFoodTreeSent();
    if (!result.accepted)
        return;
    m_data.SetModified();
    Refresh();
    SelectPosition(result.position);
    m_data.RefreshViews();
}

void CFoodGridCtrl::DeleteFoods() {
    CDayRecord* day = m_data.GetCurrentDay(false);
    if (!day || !SelectionWithinFoodRows())
        return;
    if (ShowPrompt(window(), QStringLiteral("Delete Food"), QString::fromLatin1(kDeleteQuestion),
                   EPromptIcon::Question, EPromptButtons::YesNo) != EPromptAnswer::Yes)
        return;
    const int first = FirstSelectedRow();
    const int count = LastSelectedRow() - first + 1;
    day->FoodLog().DeleteRows(m_data.SortMode(), first - 1, count);
    m_data.SetModified();
    m_data.RefreshViews();
    SetCurrentCell(std::min(first, std::max(1, FoodRowCount())), 1);
}

void CFoodGridCtrl::CopyFoods(bool cut) {
    CDayRecord* day = m_data.GetCurrentDay(false);
    if (!day || !SelectionWithinFoodRows())
        return;
    const int first = FirstSelectedRow();
    const int count = LastSelectedRow() - first + 1;
    if (!cut) {
        day->FoodLog().CopyRows(m_data.SortMode(), first - 1, count);
        return;
    }
    day->FoodLog().CutRows(m_data.SortMode(), first - 1, count);
    m_data.SetModified();
    m_data.RefreshViews();
}

void CFoodGridCtrl::PasteFoods() {
    const size_t wanted = CJournalClipboard::Food().size();
    if (wanted == 0)
        return;
    CDayRecord* day = m_data.GetCurrentDay(true);
    if (!day)
        return;
    int pasted = 0;
    day->FoodLog().Paste(
        m_data.SortMode(), m_data.Journal().IdGenerator(),
        [day](const CFoodItem& entry) { return FoodEntryFits(*day, entry); }, &pasted);
    if (static_cast<size_t>(pasted) < wanted)
        ShowPrompt(window(), QStringLiteral("Paste Food"), QString::fromLatin1(kPasteLimitText),
                   EPromptIcon::Warning, EPromptButtons::Ok);
    m_data.SetModified();
    m_data.RefreshViews();
}

void CFoodGridCtrl::ShowContextMenu(const QPoint& globalPos) {
    const std::vector<SCommandMenuEntry> entries = {
        {kIdEditCut, {}, {}},
        {kIdEditCopy, {}, {}},
        {kIdEditPaste, {}, {}},
        {0, {}, {}},
        {kIdEditSelectAll, {}, {}},
        {0, {}, {}},
        {kIdEditItem, QStringLiteral("&Edit..."), {}},
        {0,
         QStringLiteral("&Insert"),
         {{kIdInsertGroup, {}, {}}, {kIdInsertCategory, {}, {}}, {kIdInsertFoodItem, {}, {}}}},
        {0,
         QStringLiteral("&Delete"),
         {{kIdDeleteGroup, {}, {}},
          {kIdDeleteCategory, {}, {}},
          {kIdDeleteFoodItems, {}, {}},
          {0, {}, {}},
          {kIdDeleteExerciseItems, {}, {}},
          {0, {}, {}},
          {kIdDeleteCurrentDay, {}, {}},
          {kIdDeleteRangeOfDays, {}, {}},
          {kIdDeleteAllDays, {}, {}}}},
        {0,
         QStringLiteral("&Reset"),
         {{kIdResetPersonalInfo, {}, {}},
          {kIdResetWeightGoals, {}, {}},
          {kIdResetDietPlan, {}, {}}}},
        {0, QStringLiteral("&Sort"), {{kIdSortTimeBLDS, {}, {}}, {kIdSortAlphabetical, {}, {}}}},
    };
    ShowCommandMenu(this, m_data.CommandRouter(), *this, entries, globalPos);
}

} // namespace fitquill
