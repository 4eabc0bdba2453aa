// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/journal/day_record.h"
#include "desktop/foodedit/find_results_dialog.h"
#include "desktop/foodedit/food_fields.h"
#include "desktop/foodedit/insert_food_dialog.h"
#include "desktop/frame/diet_view.h"
#include "desktop/widgets/commands.h"
#include "desktop/widgets/numeric_edit.h"
#include "tests/desktop/foodedit/food_test_support.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <memory>

namespace fitquill::test {
namespace {

QStringList EnabledEntries(QMenu& menu) {
    QStringList entries;
    for (QAction* action : menu.actions())
        if (!action->isSeparator() && action->isEnabled())
            entries << action->text();
    return entries;
}

bool Enabled(CFoodTreeCtrl& tree, int id) {
    bool enabled = false;
    EXPECT_TRUE(tree.QueryCommand(id, enabled)) << id;
    return enabled;
}

class FoodTreeTest : public FoodEditTest {
protected:
    QTreeWidgetItem* At(int group, int category = -1, int item = -1) {
        return Tree().ItemAt({group, category, item});
    }
    QPoint Center(QTreeWidgetItem* item) {
        for (QTreeWidgetItem* parent = item->parent(); parent; parent = parent->parent())
            parent->setExpanded(true);
        Tree().scrollToItem(item);
        return Tree().visualItemRect(item).center();
    }
    // Drags the object of `source` over `target` and drops it there, as the tree's events see
    // it. Returns whether the drop was accepted.
    bool DragAndDrop(QTreeWidgetItem* source, QTreeWidgetItem* target, bool control) {
        std::unique_ptr<QMimeData> mime(Tree().BeginDrag(source));
        EXPECT_NE(mime, nullptr);
        const Qt::KeyboardModifiers modifiers = control ? Qt::ControlModifier : Qt::NoModifier;
        const QPoint at = Center(target);
        EXPECT_EQ(Tree().itemAt(at), target);
        // The enter makes the tree the target of the moves and the drop that follow.
        QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, mime.get(), Qt::LeftButton,
                              modifiers);
        QCoreApplication::sendEvent(Tree().viewport(), &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDragMoveEvent move(at, Qt::CopyAction | Qt::MoveAction, mime.get(), Qt::LeftButton,
                            modifiers);
        QCoreApplication::sendEvent(Tree().viewport(), &move);
        if (!move.isAccepted()) {
            Tree().EndDrag();
            return false;
        }
        EXPECT_EQ(move.dropAction(), control ? Qt::CopyAction : Qt::MoveAction);
        QDropEvent drop(QPointF(at), Qt::CopyAction | Qt::MoveAction, mime.get(), Qt::LeftButton,
                        modifiers);
        QCoreApplication::sendEvent(Tree().viewport(), &drop);
        return drop.isAccepted();
    }
    // The tree shows exactly the database, level by level.
    void ExpectTreeMatchesDatabase() {
        ASSERT_EQ(Labels(), DbNames());
        for (int group = 0; group < Db().GroupCount(); ++group) {
            ASSERT_EQ(Labels(At(group)), DbNames(group)) << group;
            for (int category = 0; category < Db().CategoryCount(static_cast<uint16_t>(group));
                 ++category)
                ASSERT_EQ(Labels(At(group, category)), DbNames(group, category))
                    << group << "/" << category;
        }
    }
};

TEST_F(FoodTreeTest, EmptyDatabaseOffersOnlyInsertGroupAndNoMenuBesideItems) {
    std::unique_ptr<QMenu> beside(Tree().CreateContextMenu(QPoint(5, 1000)));
    EXPECT_EQ(beside, nullptr) << "a non-empty tree shows no menu beside its items";

    Db().DeleteAllGroups();
    Tree().Fill();
    std::unique_ptr<QMenu> menu(Tree().CreateContextMenu(QPoint(5, 5)));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(EnabledEntries(*menu), QStringList{QStringLiteral("Insert &Group...")});
    EXPECT_TRUE(Enabled(Tree(), kIdInsertGroup));
    EXPECT_FALSE(Enabled(Tree(), kIdInsertCategory));
    EXPECT_FALSE(Enabled(Tree(), kIdEditCut));
}

TEST_F(FoodTreeTest, ContextMenusFollowTheLevelOfTheItem) {
    std::unique_ptr<QMenu> group(Tree().CreateContextMenu(Center(At(0))));
    ASSERT_NE(group, nullptr);
    EXPECT_TRUE(EnabledEntries(*group).contains(QStringLiteral("&Delete Group")));
    EXPECT_FALSE(EnabledEntries(*group).contains(QStringLiteral("Cu&t")));
    std::unique_ptr<QMenu> item(Tree().CreateContextMenu(Center(At(0, 0, 1))));
    ASSERT_NE(item, nullptr);
    const QStringList entries = EnabledEntries(*item);
    EXPECT_TRUE(entries.contains(QStringLiteral("&Edit...")));
    EXPECT_TRUE(entries.contains(QStringLiteral("&Delete Food item")));
    EXPECT_FALSE(entries.contains(QStringLiteral("&Paste"))) << "both clipboards are empty";
    EXPECT_EQ(Tree().SelectedAddress(), (SFoodAddress{0, 0, 1}));
}

TEST_F(FoodTreeTest, TheFramesCommandsReachTheTreeWhileItHasTheFocus) {
    m_frame->activateWindow();
    Tree().setFocus();
    ProcessEventsFor(20);
    ASSERT_TRUE(Tree().hasFocus());
    Tree().setCurrentItem(At(0, 1));
    EXPECT_TRUE(m_frame->Action(kIdEditCut)->isEnabled()) << "a category can be cut";
    Tree().setCurrentItem(At(0));
    EXPECT_FALSE(m_frame->Action(kIdEditCut)->isEnabled()) << "a group cannot";
    EXPECT_TRUE(m_frame->IsCommandEnabled(kIdDeleteGroup));

    m_prompt->Answer(EPromptAnswer::Yes);
    m_frame->RunCommand(kIdDeleteGroup);
    EXPECT_EQ(ShownTexts().back(), QStringLiteral("Are you sure you want to delete the group "
                                                  "'Dairy' and all associated categories and "
                                                  "food items?"));
    EXPECT_EQ(Labels(), QStringList{QStringLiteral("Fruit")});

    // Elsewhere the tree's commands are not offered.
    m_frame->View()->setFocus();
    ProcessEventsFor(20);
    EXPECT_FALSE(m_frame->IsCommandEnabled(kIdDeleteGroup));
}

TEST_F(FoodTreeTest, FoodItemsAreMadeOnFirstExpandInDatabaseOrder) {
    QTreeWidgetItem* cheese = Tree().topLevelItem(0)->child(0);
    EXPECT_EQ(cheese->childCount(), 0) << "not made before the category is shown";
    ExpectTreeMatchesDatabase();
    EXPECT_EQ(Labels(cheese), (QStringList{"Brie", "Cheddar", "Gouda"}));
}

TEST_F(FoodTreeTest, RenamingToASiblingsNameIsRefusedAndTheEditReopens) {
    QTreeWidgetItem* milk = At(0, 1);
    Tree().setCurrentItem(milk);
    Tree().Rename();
    auto* editor = Tree().viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(Tree().LabelEditActive());
    EXPECT_EQ(editor->maxLength(), CFoodTreeCtrl::kMaxLabelLength);
    editor->setText(QStringLiteral("Cheese"));
    QTest::keyClick(editor, Qt::Key_Return);
    ProcessEventsFor(20);

    ASSERT_EQ(ShownTexts(), (std::vector<QString>{"You entered a duplicate or invalid category."}));
    EXPECT_EQ(m_prompt->Shown().back().caption, QStringLiteral("Rename Category"));
    EXPECT_TRUE(Tree().LabelEditActive()) << "the edit reopens";
    EXPECT_EQ(Labels(At(0)), (QStringList{"Cheese", "Milk"}));
    EXPECT_EQ(DbNames(0), (QStringList{"Cheese", "Milk"}));
    EXPECT_FALSE(m_data->IsModified());
}

// A longer stored name shows whole in the 20-character editor and survives it unchanged; a
// changed name must keep to the limit.
TEST_F(FoodTreeTest, ALongStoredNameSurvivesTheEditorUnchanged) {
    const std::string longName = "Milk, reduced fat, fluid, 2% milkfat";
    Db().RenameCategory(0, 1, longName);
    Tree().Fill();
    Tree().setCurrentItem(At(0, 1));
    Tree().Rename();
    auto* editor = Tree().viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text().toStdString(), longName);
    QTest::keyClick(editor, Qt::Key_Return);
    ProcessEventsFor(20);
    EXPECT_TRUE(ShownTexts().empty());
    EXPECT_EQ(DbNames(0).back().toStdString(), longName);

    Tree().FinishRename({0, 1}, QString::fromStdString(longName).chopped(1));
    EXPECT_EQ(ShownTexts(), (std::vector<QString>{"You entered a duplicate or invalid category."}));
    EXPECT_EQ(DbNames(0).back().toStdString(), longName);
}

TEST_F(FoodTreeTest, RenamingMovesTheItemToItsSortedPlaceAndKeepsItSelected) {
    const uint32_t id = Db().GetFoodItem(0, 0, 0).Id();
    Tree().FinishRename({0, 0, 0}, QStringLiteral("Zamorano")); // Brie sorts last now
    EXPECT_EQ(Labels(At(0, 0)), (QStringList{"Cheddar", "Gouda", "Zamorano"}));
    EXPECT_EQ(Tree().SelectedAddress(), (SFoodAddress{0, 0, 2}));
    EXPECT_EQ(Db().GetFoodItem(0, 0, 2).Id(), id) << "a renamed item keeps its identifier";
    EXPECT_TRUE(m_data->IsModified());

    // A group keeps its categories when it moves.
    Tree().FinishRename({0}, QStringLiteral("Sweets"));
    EXPECT_EQ(Labels(), (QStringList{"Fruit", "Sweets"}));
    EXPECT_EQ(Labels(At(1)), (QStringList{"Cheese", "Milk"}));
    EXPECT_EQ(Tree().SelectedAddress(), (SFoodAddress{1}));
    ExpectTreeMatchesDatabase();
}

TEST_F(FoodTreeTest, DropOnTheOwnParentIsRefusedControlCopiesAndAPlainDropMoves) {
    // A food item on its own category, and a category on its own group: not allowed.
    EXPECT_FALSE(DragAndDrop(At(0, 0, 1), At(0, 0), false));
    EXPECT_FALSE(DragAndDrop(At(0, 1), At(0), false));
    // Groups cannot be dragged; food items go into categories only.
    EXPECT_EQ(Tree().BeginDrag(At(0)), nullptr);
    EXPECT_FALSE(DragAndDrop(At(0, 0, 1), At(1), false));
    EXPECT_FALSE(m_data->IsModified());

    // Ctrl: Cheddar is copied into Milk.
    ASSERT_TRUE(DragAndDrop(At(0, 0, 1), At(0, 1), true));
    EXPECT_EQ(Labels(At(0, 0)), (QStringList{"Brie", "Cheddar", "Gouda"}));
    EXPECT_EQ(Labels(At(0, 1)), (QStringList{"Cheddar", "Skim", "Whole"}));
    EXPECT_EQ(Tree().SelectedAddress(), (SFoodAddress{0, 1, 0}));
    // Without Ctrl the category Berries moves to Dairy.
    ASSERT_TRUE(DragAndDrop(At(1, 1), At(0), false));
    EXPECT_EQ(Labels(At(1)), (QStringList{"Apples"}));
    EXPECT_EQ(Labels(At(0)), (QStringList{"Berries", "Cheese", "Milk"}));
    EXPECT_EQ(Labels(At(0, 0)), (QStringList{"Blueberry"}));
    EXPECT_TRUE(m_data->IsModified());
    ExpectTreeMatchesDatabase();

    // Near the edges a drag scrolls the tree a line at a time.
    for (int group = 0; group < 40; ++group)
        Db().AddGroup(CFoodGroup("Group " + std::to_string(group)));
    Tree().Fill();
    Tree().expandAll();
    ProcessEventsFor(30);
    QScrollBar* bar = Tree().verticalScrollBar();
    ASSERT_GT(bar->maximum(), 10);
    bar->setValue(5);
    std::unique_ptr<QMimeData> mime(Tree().BeginDrag(At(0, 0)));
    QDragEnterEvent enter(QPoint(5, 20), Qt::MoveAction, mime.get(), Qt::LeftButton,
                          Qt::NoModifier);
    QCoreApplication::sendEvent(Tree().viewport(), &enter);
    QDragMoveEvent top(QPoint(5, 2), Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(Tree().viewport(), &top);
    EXPECT_EQ(bar->value(), 4);
    QDragMoveEvent bottom(QPoint(5, Tree().viewport()->height() - 3), Qt::MoveAction, mime.get(),
                          Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(Tree().viewport(), &bottom);
    EXPECT_EQ(bar->value(), 5);
    Tree().EndDrag();

    // The drop emptied the clipboards: nothing to paste.
    Tree().setCurrentItem(At(0, 1));
    EXPECT_FALSE(Enabled(Tree(), kIdEditPaste));
}

TEST_F(FoodTreeTest, PastingBesideItselfNumbersTheCopiesAndNeedsAClipboard) {
    Tree().setCurrentItem(At(0, 0, 1));
    EXPECT_FALSE(Enabled(Tree(), kIdEditPaste));
    ASSERT_TRUE(Tree().ExecuteCommand(kIdEditCopy));
    EXPECT_TRUE(Enabled(Tree(), kIdEditPaste));
    Tree().ExecuteCommand(kIdEditPaste);
    Tree().ExecuteCommand(kIdEditPaste);
    EXPECT_EQ(Labels(At(0, 0)), (QStringList{"Brie", "Cheddar", "Cheddar1", "Cheddar2", "Gouda"}));
    EXPECT_EQ(Tree().SelectedAddress(), (SFoodAddress{0, 0, 3}));
    ExpectTreeMatchesDatabase();

    // Cut a category and paste it into the other group.
    Tree().setCurrentItem(At(1, 0));
    Tree().ExecuteCommand(kIdEditCut);
    EXPECT_EQ(Labels(At(1)), (QStringList{"Berries"}));
    Tree().setCurrentItem(At(0));
    EXPECT_TRUE(Enabled(Tree(), kIdEditPaste));
    Tree().ExecuteCommand(kIdEditPaste);
    EXPECT_EQ(Labels(At(0)), (QStringList{"Apples", "Cheese", "Milk"}));
    ExpectTreeMatchesDatabase();
}

TEST_F(FoodTreeTest, DeletionsAskFirstAndDeleteAllCategoriesKeepsTheGroup) {
    Tree().setCurrentItem(At(0));
    m_prompt->Answer(EPromptAnswer::No);
    Tree().ExecuteCommand(kIdDeleteAllCategories);
    EXPECT_EQ(Labels(At(0)), (QStringList{"Cheese", "Milk"}));

    m_prompt->Answer(EPromptAnswer::Yes);
    Tree().ExecuteCommand(kIdDeleteAllCategories);
    EXPECT_EQ(ShownTexts().back(), QStringLiteral("Are you sure you want to delete all categories "
                                                  "and food items under the 'Dairy' food group?"));
    EXPECT_EQ(Labels(), (QStringList{"Dairy", "Fruit"}));
    EXPECT_EQ(Labels(At(0)), QStringList());
    EXPECT_EQ(Db().CategoryCount(0), 0);

    // The Delete key deletes the selected food item after its question.
    Tree().setCurrentItem(At(1, 0, 1));
    m_prompt->Answer(EPromptAnswer::Yes);
    QTest::keyClick(&Tree(), Qt::Key_Delete);
    EXPECT_EQ(ShownTexts().back(),
              QStringLiteral("Are you sure you want to delete the food item 'Gala'?"));
    EXPECT_EQ(Labels(At(1, 0)), (QStringList{"Fuji"}));
    ExpectTreeMatchesDatabase();
}

TEST_F(FoodTreeTest, FindTellsAboutBlankAndUnmatchedTextsAndSelectsTheChosenResult) {
    Pane().FindCombo()->setEditText(QStringLiteral("   "));
    Pane().Find();
    Pane().FindCombo()->setEditText(QStringLiteral("pear"));
    Pane().Find();
    EXPECT_EQ(ShownTexts(), (std::vector<QString>{"Please enter a find string.",
                                                  "No matching food items found."}));
    EXPECT_EQ(m_prompt->Shown().front().caption, QStringLiteral("Find"));

    // "ap" finds the Apples category's items; the second one is chosen.
    WhenModal<CFindResultsDialog>([](CFindResultsDialog& dialog) {
        KeepPicture(dialog, QStringLiteral("find_results_dialog"));
        EXPECT_EQ(dialog.List()->count(), 2);
        dialog.List()->setCurrentRow(1);
        dialog.accept();
    });
    Pane().FindCombo()->setEditText(QStringLiteral(" ap "));
    Pane().Find();
    EXPECT_EQ(Tree().SelectedAddress(), (SFoodAddress{1, 0, 1}));
    EXPECT_EQ(Tree().currentItem()->text(0), QStringLiteral("Gala"));
    EXPECT_EQ(Pane().FindCombo()->itemText(0), QStringLiteral("ap")) << "the history, trimmed";
    EXPECT_EQ(ShownTexts().size(), 2u);
}

TEST_F(FoodTreeTest, TheTreeTakesTheUsersColours) {
    SColorSettings colors;
    colors.foreColor = QColor(10, 20, 30);
    colors.backColor = QColor(200, 220, 240);
    m_data->ApplyColors(colors);
    EXPECT_EQ(Tree().palette().color(QPalette::Text), QColor(10, 20, 30));
    EXPECT_EQ(Tree().palette().color(QPalette::Base), QColor(200, 220, 240));
    colors.overrideBack = false;
    m_data->ApplyColors(colors);
    EXPECT_EQ(Tree().palette().color(QPalette::Base), EffectiveBackColor(colors));
    EXPECT_NE(Tree().palette().color(QPalette::Base), QColor(200, 220, 240));
}

TEST_F(FoodTreeTest, TooltipsShowFoodItemsOnly) {
    EXPECT_TRUE(Tree().ToolTipAt(Center(At(0, 0))).isEmpty());
    const QString tip = Tree().ToolTipAt(Center(At(0, 0, 1)));
    EXPECT_EQ(tip, QStringLiteral("Cheddar\n1.00 cup\n\nCal: 100\nCarb: 10.0g\nProt: 5.0g\n"
                                  "Fiber: 1.0g\nFat: 4.0g\nSFat: 2.0g"));
}

TEST_F(FoodTreeTest, DoubleClickShowsTheMealLogAndOpensTheInsertFoodDialog) {
    std::vector<int> pages;
    QObject::connect(m_data.get(), &CDietData::ShowPageSent,
                     [&pages](int page, int) { pages.push_back(page); });
    QString shownName;
    WhenModal<CInsertFoodDialog>([&shownName](CInsertFoodDialog& dialog) {
        shownName = dialog.findChild<QLabel*>()->text();
        dialog.reject();
    });
    // A double click as the platform sends it: a click, then the double click.
    auto doubleClick = [this](const QPoint& at) {
        QTest::mousePress(Tree().viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseRelease(Tree().viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseDClick(Tree().viewport(), Qt::LeftButton, Qt::NoModifier, at);
    };
    doubleClick(Center(At(0, 1, 1)));
    EXPECT_EQ(pages, std::vector<int>{2});
    EXPECT_EQ(shownName, QStringLiteral("Whole"));
    EXPECT_EQ(m_data->GetCurrentDay(false), nullptr) << "cancelled: nothing logged";

    // A double click on a category logs nothing.
    doubleClick(Center(At(1, 0)));
    EXPECT_EQ(pages.size(), 1u);
}

TEST_F(FoodTreeTest, EnterLogsTheSelectedFoodItemIntoTheCurrentDay) {
    Tree().setCurrentItem(At(1, 0, 0));
    WhenModal<CInsertFoodDialog>([](CInsertFoodDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Insert Food"));
        CFoodFields& fields = *dialog.Fields();
        fields.AmountEdit()->setText(QStringLiteral("2"));
        emit fields.AmountEdit()->editingFinished();
        fields.MealCombo()->setCurrentIndex(1);
        EXPECT_EQ(fields.NutrientEdit(0)->text(), QStringLiteral("200"));
        KeepPicture(dialog, QStringLiteral("insert_food_one_item_dialog"));
        dialog.Buttons()->button(QDialogButtonBox::Ok)->click();
    });
    QTest::keyClick(&Tree(), Qt::Key_Return);

    CDayRecord* day = m_data->GetCurrentDay(false);
    ASSERT_NE(day, nullptr);
    const auto& lunch = day->FoodLog().MealEntries(1);
    ASSERT_EQ(lunch.size(), 1u);
    EXPECT_EQ(lunch[0].Name(), "Fuji");
    EXPECT_FLOAT_EQ(lunch[0].NutrientValue(0), 200.0f);
    EXPECT_EQ(day->FoodCalories(), 200);
    EXPECT_TRUE(m_data->IsModified());
    EXPECT_EQ(CFoodFields::RememberedMealType(), 1);
    KeepPicture(*m_frame, QStringLiteral("food_tree_in_main_window"));
}

} // namespace
} // namespace fitquill::test
