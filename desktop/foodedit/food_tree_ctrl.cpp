// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/foodedit/food_tree_ctrl.h"

#include "core/food/food_db.h"
#include "core/food/food_tooltip.h"
#include "desktop/document/diet_data.h"
#include "desktop/document/prompt.h"
#include "desktop/document/stored_text.h"
#include "desktop/document/view_services.h"
#include "desktop/foodedit/food_data_dialogs.h"
#include "desktop/foodedit/food_images.h"
#include "desktop/foodedit/food_item_dialog.h"
#include "desktop/foodedit/food_name_dialog.h"
#include "desktop/foodedit/insert_food_dialog.h"
#include "desktop/widgets/commands.h"
#include "desktop/widgets/fonts.h"
#include "desktop/widgets/stored_text_guard.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QToolTip>

#include <memory>

namespace fitquill {
namespace {

constexpr int kFilledRole = Qt::UserRole;

QString Text(const std::string& text) {
    return FromStored(text);
}

// Label editing: the editor takes at most 20 characters, and the new text goes to the
// database's rename instead of straight into the item.
class CLabelDelegate : public QStyledItemDelegate {
public:
    explicit CLabelDelegate(CFoodTreeCtrl& tree) : QStyledItemDelegate(&tree), m_tree(tree) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            line->setMaxLength(CFoodTreeCtrl::kMaxLabelLength);
            GuardStoredText(line);
        }
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        // A longer stored name is shown whole, so that leaving it unchanged keeps it.
        if (auto* line = qobject_cast<QLineEdit*>(editor))
            line->setMaxLength(std::max(CFoodTreeCtrl::kMaxLabelLength,
                                        static_cast<int>(index.data().toString().size())));
        QStyledItemDelegate::setEditorData(editor, index);
    }

    void setModelData(QWidget* editor, QAbstractItemModel*,
                      const QModelIndex& index) const override {
        auto* line = qobject_cast<QLineEdit*>(editor);
        QTreeWidgetItem* item = m_tree.itemFromIndex(index);
        if (!line || !item || line->text() == item->text(0))
            return;
        // The rename replaces the item; that waits until the editor is gone.
        const SFoodAddress address = m_tree.AddressOf(item);
        const QString text = line->text();
        QMetaObject::invokeMethod(
            &m_tree, [tree = &m_tree, address, text] { tree->FinishRename(address, text); },
            Qt::QueuedConnection);
    }

private:
    CFoodTreeCtrl& m_tree;
};

} // namespace

CFoodTreeCtrl::CFoodTreeCtrl(CDietData& data, QWidget* parent) : QTreeWidget(parent), m_data(data) {
    setObjectName(QStringLiteral("FoodTree"));
    setAccessibleName(QStringLiteral("Food list"));
    setHeaderHidden(true);
    setColumnCount(1);
    setFont(CustomFont());
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setItemDelegate(new CLabelDelegate(*this));
    setUniformRowHeights(true);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(false);
    setDragDropMode(QAbstractItemView::DragDrop);
    // Edge scrolling during a drag is done here, a line at a time.
    setAutoScroll(false);
    setIconSize(QSize(16, 16));

    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) {
        if (LevelOf(item) == 1)
            EnsureFoodItems(item);
    });
    connect(this, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        if (LevelOf(item) != 2)
            return;
        m_data.ShowPage(2);
        LogFoodItem(AddressOf(item));
    });
    // The toolbar's Cut, Copy and Paste follow the selection.
    connect(this, &QTreeWidget::currentItemChanged, this, [this] {
        if (ICommandRouter* router = m_data.CommandRouter())
            router->UpdateCommandStates();
    });
    connect(&m_data, &CDietData::ReloadFoodTreeSent, this, &CFoodTreeCtrl::Fill);
    connect(&m_data, &CDietData::ColorsChanged, this, &CFoodTreeCtrl::ApplyColors);
    m_data.SetFoodTree(this);
    ApplyColors();
    Fill();
}

CFoodTreeCtrl::~CFoodTreeCtrl() {
    disconnect(&m_data, nullptr, this, nullptr);
}

// --- Filling ---

QTreeWidgetItem* CFoodTreeCtrl::MakeItem(int level, const std::string& name) {
    auto* item = new QTreeWidgetItem(QStringList(Text(name)));
    item->setIcon(0, FoodIcon(level));
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable |
                   (level > 0 ? Qt::ItemIsDragEnabled : Qt::NoItemFlags) |
                   (level < 2 ? Qt::ItemIsDropEnabled : Qt::NoItemFlags));
    if (level == 1)
        item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    return item;
}

void CFoodTreeCtrl::AddCategoryItems(QTreeWidgetItem* group, int groupIndex) {
    const auto* categories = m_data.FoodDB().GetCategories(static_cast<uint16_t>(groupIndex));
    if (!categories)
        return;
    QList<QTreeWidgetItem*> children;
    children.reserve(static_cast<qsizetype>(categories->size()));
    for (const CFoodCategory& category : *categories)
        children.append(MakeItem(1, category.Name()));
    group->addChildren(children);
}

void CFoodTreeCtrl::EnsureFoodItems(QTreeWidgetItem* category) {
    if (!category || category->data(0, kFilledRole).toBool())
        return;
    category->setData(0, kFilledRole, true);
    const SFoodAddress address = AddressOf(category);
    const CFoodCategory& entry = m_data.FoodDB().GetCategory(
        static_cast<uint16_t>(address.group), static_cast<uint16_t>(address.category));
    QList<QTreeWidgetItem*> children;
    children.reserve(entry.ItemCount());
    for (const CFoodItem& food : entry.Items())
        children.append(MakeItem(2, food.Name()));
    category->addChildren(children);
    category->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

void CFoodTreeCtrl::Fill() {
    setUpdatesEnabled(false);
    clear();
    const CFoodDB& db = m_data.FoodDB();
    QList<QTreeWidgetItem*> groups;
    for (uint16_t group = 0; group < db.GroupCount(); ++group) {
        QTreeWidgetItem* item = MakeItem(0, db.GetGroup(group).Name());
        AddCategoryItems(item, group);
        groups.append(item);
    }
    addTopLevelItems(groups);
    setUpdatesEnabled(true);
}

QTreeWidgetItem* CFoodTreeCtrl::InsertAt(QTreeWidgetItem* parent, int level, int index) {
    if (level == 2 && !parent->data(0, kFilledRole).toBool()) {
        // The category's items come from the database, the new one among them.
        EnsureFoodItems(parent);
        return parent->child(index);
    }
    const SFoodAddress at = parent ? AddressOf(parent) : SFoodAddress();
    const CFoodDB& db = m_data.FoodDB();
    std::string name;
    if (level == 0)
        name = db.GetGroup(static_cast<uint16_t>(index)).Name();
    else if (level == 1)
        name = db.GetCategory(static_cast<uint16_t>(at.group), static_cast<uint16_t>(index)).Name();
    else
        name = db.GetFoodItem(static_cast<uint16_t>(at.group), static_cast<uint16_t>(at.category),
                              static_cast<uint16_t>(index))
                   .Name();
    QTreeWidgetItem* item = MakeItem(level, name);
    if (parent)
        parent->insertChild(index, item);
    else
        insertTopLevelItem(index, item);
    if (level == 0)
        AddCategoryItems(item, index);
    if (level == 2)
        parent->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
    return item;
}

void CFoodTreeCtrl::ApplyColors() {
    QPalette colors = palette();
    colors.setColor(QPalette::Base, m_data.GetBackColor());
    colors.setColor(QPalette::Window, m_data.GetBackColor());
    colors.setColor(QPalette::Text, m_data.GetTextColor());
    setPalette(colors);
    viewport()->update();
}

// --- Addresses ---

int CFoodTreeCtrl::LevelOf(const QTreeWidgetItem* item) {
    int level = -1;
    for (; item; item = item->parent())
        ++level;
    return level;
}

SFoodAddress CFoodTreeCtrl::AddressOf(const QTreeWidgetItem* item) const {
    SFoodAddress address;
    if (!item)
        return address;
    int indexes[3] = {-1, -1, -1};
    const int level = LevelOf(item);
    for (int at = level; item; --at, item = item->parent()) {
        QTreeWidgetItem* parent = item->parent();
        indexes[at] = parent ? parent->indexOfChild(const_cast<QTreeWidgetItem*>(item))
                             : indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item));
    }
    address.group = indexes[0];
    address.category = indexes[1];
    address.item = indexes[2];
    return address;
}

QTreeWidgetItem* CFoodTreeCtrl::ItemAt(const SFoodAddress& address) {
    QTreeWidgetItem* item = topLevelItem(address.group);
    if (!item || address.category < 0)
        return item;
    item = item->child(address.category);
    if (!item || address.item < 0)
        return item;
    EnsureFoodItems(item);
    return item->child(address.item);
}

SFoodAddress CFoodTreeCtrl::SelectedAddress() const {
    return AddressOf(currentItem());
}

void CFoodTreeCtrl::SelectAddress(const SFoodAddress& address) {
    QTreeWidgetItem* item = ItemAt(address);
    if (!item)
        return;
    setCurrentItem(item);
    scrollToItem(item);
}

void CFoodTreeCtrl::MarkModified() {
    m_data.SetModified();
}

// --- Commands ---

bool CFoodTreeCtrl::LabelEditActive() const {
    return state() == QAbstractItemView::EditingState;
}

bool CFoodTreeCtrl::QueryCommand(int id, bool& enabled) {
    const int level = LevelOf(currentItem());
    const CFoodDB& db = m_data.FoodDB();
    switch (id) {
    case kIdEditCut:
    case kIdEditCopy:
        if (LabelEditActive()) {
            auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
            enabled = editor && editor->hasSelectedText();
        } else {
            enabled = level == 1 || level == 2;
        }
        return true;
    case kIdEditPaste:
        enabled = LabelEditActive() ||
                  (db.HasCategoryInClipboard() && (level == 0 || level == 1)) ||
                  (db.HasItemInClipboard() && (level == 1 || level == 2));
        return true;
    case kIdRename:
        enabled = level >= 0;
        return true;
    case kIdInsertGroup:
        enabled = level == 0 || topLevelItemCount() == 0;
        return true;
    case kIdInsertCategory:
        enabled = level >= 0;
        return true;
    case kIdInsertFoodItem:
        enabled = level == 1 || level == 2;
        return true;
    case kIdDeleteGroup:
    case kIdDeleteAllCategories:
        enabled = level == 0;
        return true;
    case kIdDeleteCategory:
        enabled = level == 1;
        return true;
    case kIdDeleteFoodItem:
    case kIdDeleteFoodItems:
    case kIdEditItem:
        enabled = level == 2;
        return true;
    case kIdExportFoodData:
    case kIdImportFromFile:
    case kIdRefreshFoodTree:
        enabled = true;
        return true;
    default:
        return false;
    }
}

bool CFoodTreeCtrl::ExecuteCommand(int id) {
    bool enabled = false;
    if (!QueryCommand(id, enabled))
        return false;
    if (!enabled)
        return true;
    auto* editor =
        LabelEditActive() ? qobject_cast<QLineEdit*>(QApplication::focusWidget()) : nullptr;
    const SFoodAddress selected = SelectedAddress();
    switch (id) {
    case kIdEditCut:
    case kIdEditCopy:
        if (editor)
            id == kIdEditCut ? editor->cut() : editor->copy();
        else
            CutOrCopy(id == kIdEditCut);
        break;
    case kIdEditPaste:
        if (editor)
            editor->paste();
        else
            Paste();
        break;
    case kIdRename:
        Rename();
        break;
    case kIdInsertGroup:
        InsertGroup();
        break;
    case kIdInsertCategory:
        InsertCategory();
        break;
    case kIdInsertFoodItem:
        InsertFoodItem();
        break;
    case kIdDeleteGroup:
        Delete(0);
        break;
    case kIdDeleteAllCategories:
        Delete(0, true);
        break;
    case kIdDeleteCategory:
        Delete(1);
        break;
    case kIdDeleteFoodItem:
    case kIdDeleteFoodItems:
        Delete(2);
        break;
    case kIdEditItem:
        EditFoodItem();
        break;
    case kIdExportFoodData:
        ExportFoodData(m_data, window(), selected.group, selected.category);
        break;
    case kIdImportFromFile:
        ImportFoodData(m_data, window());
        break;
    case kIdRefreshFoodTree:
        Fill();
        break;
    default:
        break;
    }
    return true;
}

void CFoodTreeCtrl::RunMenuCommand(int id) {
    // Through the frame when there is one, so that commands handled elsewhere (the automatic
    // update) take their usual route.
    if (ICommandRouter* router = m_data.CommandRouter()) {
        bool enabled = false;
        if (!QueryCommand(id, enabled)) {
            router->RunCommand(id);
            return;
        }
    }
    ExecuteCommand(id);
}

void CFoodTreeCtrl::Rename() {
    if (QTreeWidgetItem* item = currentItem()) {
        scrollToItem(item);
        editItem(item, 0);
    }
}

void CFoodTreeCtrl::FinishRename(const SFoodAddress& address, const QString& text) {
    QTreeWidgetItem* item = ItemAt(address);
    if (!item)
        return;
    CFoodDB& db = m_data.FoodDB();
    const int level = address.Level();
    const std::string name = ToStored(text);
    const auto group = static_cast<uint16_t>(address.group);
    const auto category = static_cast<uint16_t>(address.category);
    int index = -1;
    if (text.size() > kMaxLabelLength) {
        // Only an unchanged name may be longer than the editor's limit.
        index = -1;
    } else if (level == 0) {
        index = db.RenameGroup(group, name);
    } else if (level == 1) {
        index = db.RenameCategory(group, category, name);
    } else {
        CFoodItem renamed = db.GetFoodItem(group, category, static_cast<uint16_t>(address.item));
        renamed.SetName(name, true);
        index = db.ReplaceFoodItem(group, category, static_cast<uint16_t>(address.item), renamed);
    }
    if (index < 0) {
        static const char* const texts[3][2] = {
            {"You entered a duplicate or invalid group.", "Rename Group"},
            {"You entered a duplicate or invalid category.", "Rename Category"},
            {"You entered a duplicate or invalid name.", "Rename Food"}};
        ShowPrompt(this, QString::fromLatin1(texts[level][1]), QString::fromLatin1(texts[level][0]),
                   EPromptIcon::Warning, EPromptButtons::Ok);
        setCurrentItem(item);
        editItem(item, 0);
        return;
    }
    QTreeWidgetItem* parent = item->parent();
    delete item;
    QTreeWidgetItem* moved = InsertAt(parent, level, index);
    setCurrentItem(moved);
    scrollToItem(moved);
    MarkModified();
}

void CFoodTreeCtrl::Delete(int level, bool allCategories) {
    QTreeWidgetItem* item = currentItem();
    if (!item || LevelOf(item) != level)
        return;
    const SFoodAddress address = AddressOf(item);
    QString caption;
    QString text;
    if (allCategories) {
        caption = QStringLiteral("Delete All Categories");
        text = QStringLiteral("Are you sure you want to delete all categories and food items "
                              "under the '%1' food group?");
    } else if (level == 0) {
        caption = QStringLiteral("Delete Group");
        text = QStringLiteral("Are you sure you want to delete the group '%1' and all associated "
                              "categories and food items?");
    } else if (level == 1) {
        caption = QStringLiteral("Delete Category");
        text = QStringLiteral(
            "Are you sure you want to delete the category '%1' and all associated food items?");
    } else {
        caption = QStringLiteral("Delete Food Item");
        text = QStringLiteral("Are you sure you want to delete the food item '%1'?");
    }
    if (ShowPrompt(this, caption, text.arg(item->text(0)), EPromptIcon::Warning,
                   EPromptButtons::YesNo) != EPromptAnswer::Yes)
        return;
    CFoodDB& db = m_data.FoodDB();
    const auto group = static_cast<uint16_t>(address.group);
    const auto category = static_cast<uint16_t>(address.category);
    if (allCategories) {
        db.DeleteAllCategories(group);
        qDeleteAll(item->takeChildren());
    } else {
        if (level == 0)
            db.DeleteGroup(group);
        else if (level == 1)
            db.DeleteCategory(group, category);
        else
            db.DeleteFoodItem(group, category, static_cast<uint16_t>(address.item));
        delete item;
    }
    MarkModified();
    if (currentItem())
        scrollToItem(currentItem());
    setFocus();
}

void CFoodTreeCtrl::CutOrCopy(bool cut) {
    QTreeWidgetItem* item = currentItem();
    const SFoodAddress address = AddressOf(item);
    CFoodDB& db = m_data.FoodDB();
    const auto group = static_cast<uint16_t>(address.group);
    const auto category = static_cast<uint16_t>(address.category);
    if (address.Level() == 1) {
        cut ? db.CutCategory(group, category) : db.CopyCategory(group, category);
    } else if (address.Level() == 2) {
        const auto food = static_cast<uint16_t>(address.item);
        cut ? db.CutFoodItem(group, category, food) : db.CopyFoodItem(group, category, food);
    } else {
        return;
    }
    if (cut) {
        delete item;
        MarkModified();
    }
}

void CFoodTreeCtrl::Paste() {
    QTreeWidgetItem* item = currentItem();
    const SFoodAddress address = AddressOf(item);
    CFoodDB& db = m_data.FoodDB();
    QTreeWidgetItem* pasted = nullptr;
    const int level = address.Level();
    if (db.HasCategoryInClipboard() && (level == 0 || level == 1)) {
        QTreeWidgetItem* group = level == 0 ? item : item->parent();
        const int index = db.PasteCategory(static_cast<uint16_t>(address.group));
        if (index >= 0)
            pasted = InsertAt(group, 1, index);
    } else if (db.HasItemInClipboard() && (level == 1 || level == 2)) {
        QTreeWidgetItem* category = level == 1 ? item : item->parent();
        const int index = db.PasteFoodItem(static_cast<uint16_t>(address.group),
                                           static_cast<uint16_t>(address.category));
        if (index >= 0)
            pasted = InsertAt(category, 2, index);
    }
    if (!pasted)
        return;
    setCurrentItem(pasted);
    scrollToItem(pasted);
    MarkModified();
}

void CFoodTreeCtrl::InsertGroup() {
    CFoodNameDialog dialog(m_data.FoodDB(), CFoodNameDialog::EKind::Group, false, 0, 0, window());
    if (dialog.exec() != QDialog::Accepted)
        return;
    QTreeWidgetItem* item = InsertAt(nullptr, 0, dialog.Index());
    setCurrentItem(item);
    scrollToItem(item);
    MarkModified();
}

void CFoodTreeCtrl::InsertCategory() {
    const SFoodAddress address = SelectedAddress();
    if (address.group < 0)
        return;
    CFoodNameDialog dialog(m_data.FoodDB(), CFoodNameDialog::EKind::Category, false, address.group,
                           0, window());
    if (dialog.exec() != QDialog::Accepted)
        return;
    QTreeWidgetItem* item = InsertAt(topLevelItem(address.group), 1, dialog.Index());
    setCurrentItem(item);
    scrollToItem(item);
    MarkModified();
}

void CFoodTreeCtrl::InsertFoodItem() {
    const SFoodAddress address = SelectedAddress();
    std::unique_ptr<CFoodItemDialog> dialog(
        CFoodItemDialog::NewItem(m_data.FoodDB(), address.group, address.category, window()));
    const bool accepted = dialog->exec() == QDialog::Accepted;
    if (!accepted && !dialog->CreatedContainers())
        return;
    // Groups and categories may have been added too: the tree is made anew.
    Fill();
    MarkModified();
    if (accepted)
        SelectAddress({dialog->Group(), dialog->Category(), dialog->Item()});
}

void CFoodTreeCtrl::EditFoodItem() {
    QTreeWidgetItem* item = currentItem();
    const SFoodAddress address = AddressOf(item);
    if (address.Level() != 2)
        return;
    std::unique_ptr<CFoodItemDialog> dialog(CFoodItemDialog::EditItem(
        m_data.FoodDB(), address.group, address.category, address.item, window()));
    if (dialog->exec() != QDialog::Accepted)
        return;
    QTreeWidgetItem* category = item->parent();
    delete item;
    QTreeWidgetItem* edited = InsertAt(category, 2, dialog->Item());
    setCurrentItem(edited);
    scrollToItem(edited);
    MarkModified();
}

void CFoodTreeCtrl::LogFoodItem(const SFoodAddress& address) {
    if (address.Level() != 2)
        return;
    CInsertFoodDialog dialog(m_data, CInsertFoodDialog::EMode::OneItem, address.group,
                             address.category, address.item, m_data.SortMode(), window());
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_data.NotifyDayEdited();
    m_data.RefreshViews();
    m_data.SelectMealLogEntry(dialog.Result().position);
}

// --- Keys, menus and tooltips ---

void CFoodTreeCtrl::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        LogFoodItem(SelectedAddress());
        return;
    case Qt::Key_Delete:
        if (event->modifiers() & Qt::ShiftModifier)
            break;
        Delete(LevelOf(currentItem()));
        return;
    case Qt::Key_F2:
        Rename();
        return;
    default:
        break;
    }
    QTreeWidget::keyPressEvent(event);
}

QMenu* CFoodTreeCtrl::CreateContextMenu(const QPoint& position) {
    std::vector<std::pair<int, QString>> entries;
    auto add = [&entries](int id, const char* caption) {
        entries.emplace_back(id, QString::fromLatin1(caption));
    };
    QTreeWidgetItem* item = itemAt(position);
    if (topLevelItemCount() == 0) {
        add(kIdInsertGroup, "Insert &Group...");
    } else {
        if (!item)
            return nullptr;
        setCurrentItem(item);
        add(kIdEditCut, "Cu&t");
        add(kIdEditCopy, "&Copy");
        add(kIdEditPaste, "&Paste");
        add(0, "");
        add(kIdRename, "&Rename");
        add(0, "");
        switch (LevelOf(item)) {
        case 0:
            add(kIdInsertGroup, "Insert &Group...");
            add(kIdInsertCategory, "Insert C&ategory...");
            add(0, "");
            add(kIdDeleteGroup, "&Delete Group");
            add(kIdDeleteAllCategories, "Delete All Categories in this Group");
            add(0, "");
            add(kIdImportFromFile, "&Import From File...");
            add(kIdImportAutomaticUpdate, "Automatic &Update...");
            add(kIdExportFoodData, "&Export...");
            break;
        case 1:
            add(kIdInsertCategory, "Insert C&ategory...");
            add(kIdInsertFoodItem, "Insert &Food Item...");
            add(0, "");
            add(kIdDeleteCategory, "&Delete Category");
            add(0, "");
            add(kIdImportFromFile, "&Import From File...");
            add(kIdExportFoodData, "&Export...");
            break;
        default:
            add(kIdInsertCategory, "Insert C&ategory...");
            add(kIdInsertFoodItem, "Insert &Food Item...");
            add(0, "");
            add(kIdDeleteFoodItem, "&Delete Food item");
            add(0, "");
            add(kIdEditItem, "&Edit...");
            break;
        }
    }
    auto* menu = new QMenu(this);
    for (const auto& [id, caption] : entries) {
        if (id == 0) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(caption);
        action->setData(id);
        bool enabled = true;
        if (QueryCommand(id, enabled))
            action->setEnabled(enabled);
        // clang 14 cannot capture a structured binding.
        const int command = id;
        connect(action, &QAction::triggered, this, [this, command] { RunMenuCommand(command); });
    }
    return menu;
}

void CFoodTreeCtrl::contextMenuEvent(QContextMenuEvent* event) {
    QPoint position = viewport()->mapFrom(this, event->pos());
    QPoint global = event->globalPos();
    // From the keyboard the menu belongs to the selected item.
    if (event->reason() == QContextMenuEvent::Keyboard && currentItem()) {
        position = visualItemRect(currentItem()).center();
        global = viewport()->mapToGlobal(position);
    }
    std::unique_ptr<QMenu> menu(CreateContextMenu(position));
    if (menu)
        menu->exec(global);
}

QString CFoodTreeCtrl::ToolTipAt(const QPoint& position) const {
    const QTreeWidgetItem* item = itemAt(position);
    if (LevelOf(item) != 2)
        return QString();
    const SFoodAddress address = AddressOf(item);
    return Text(FoodTooltipText(m_data.FoodDB().GetFoodItem(static_cast<uint16_t>(address.group),
                                                            static_cast<uint16_t>(address.category),
                                                            static_cast<uint16_t>(address.item))));
}

bool CFoodTreeCtrl::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString text = ToolTipAt(help->pos());
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, viewport(), QRect(), 10000);
        return true;
    }
    return QTreeWidget::viewportEvent(event);
}

// --- Drag and drop ---

QPixmap CFoodTreeCtrl::DragImage(const QTreeWidgetItem* item) const {
    QPixmap image(kDragImageWidth, kDragImageHeight);
    const QColor transparent(128, 128, 128);
    image.fill(transparent);
    {
        QPainter painter(&image);
        painter.drawPixmap(2, (kDragImageHeight - 16) / 2, FoodImage(LevelOf(item)));
        painter.setFont(font());
        painter.setPen(Qt::black);
        painter.drawText(QRect(22, 0, kDragImageWidth - 22, kDragImageHeight),
                         Qt::AlignVCenter | Qt::AlignLeft, item->text(0));
    }
    image.setMask(image.createMaskFromColor(transparent));
    return image;
}

QMimeData* CFoodTreeCtrl::BeginDrag(QTreeWidgetItem* source) {
    const int level = LevelOf(source);
    if (level != 1 && level != 2)
        return nullptr;
    m_drag.active = true;
    m_drag.category = level == 1;
    m_drag.source = source;
    m_drag.address = AddressOf(source);
    auto* mime = new QMimeData;
    mime->setData(QString::fromLatin1(kMimeType), source->text(0).toUtf8());
    return mime;
}

bool CFoodTreeCtrl::CanDrop(const QTreeWidgetItem* target) const {
    if (!m_drag.active || !target || !m_drag.source)
        return false;
    if (LevelOf(target) != (m_drag.category ? 0 : 1))
        return false;
    return target != m_drag.source->parent();
}

void CFoodTreeCtrl::Drop(QTreeWidgetItem* target, bool copy) {
    if (!CanDrop(target)) {
        EndDrag();
        return;
    }
    CFoodDB& db = m_data.FoodDB();
    const SFoodAddress source = AddressOf(m_drag.source);
    const auto group = static_cast<uint16_t>(source.group);
    const auto category = static_cast<uint16_t>(source.category);
    if (m_drag.category)
        copy ? db.CopyCategory(group, category) : db.CutCategory(group, category);
    else if (copy)
        db.CopyFoodItem(group, category, static_cast<uint16_t>(source.item));
    else
        db.CutFoodItem(group, category, static_cast<uint16_t>(source.item));
    if (!copy)
        delete m_drag.source;
    const SFoodAddress to = AddressOf(target);
    const int index = m_drag.category ? db.PasteCategory(static_cast<uint16_t>(to.group))
                                      : db.PasteFoodItem(static_cast<uint16_t>(to.group),
                                                         static_cast<uint16_t>(to.category));
    QTreeWidgetItem* dropped =
        index >= 0 ? InsertAt(target, m_drag.category ? 1 : 2, index) : nullptr;
    db.ClearClipboards();
    EndDrag();
    MarkModified();
    if (dropped) {
        setCurrentItem(dropped);
        scrollToItem(dropped);
    }
}

void CFoodTreeCtrl::startDrag(Qt::DropActions) {
    QTreeWidgetItem* source = currentItem();
    QMimeData* mime = BeginDrag(source);
    if (!mime)
        return;
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    drag->setPixmap(DragImage(source));
    drag->setHotSpot(QPoint(8, kDragImageHeight / 2));
    drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
    EndDrag();
}

void CFoodTreeCtrl::dragEnterEvent(QDragEnterEvent* event) {
    if (m_drag.active && event->mimeData()->hasFormat(QString::fromLatin1(kMimeType)))
        event->acceptProposedAction();
    else
        event->ignore();
}

void CFoodTreeCtrl::dragMoveEvent(QDragMoveEvent* event) {
    const QPoint position = event->position().toPoint();
    QScrollBar* bar = verticalScrollBar();
    if (position.y() <= kScrollMargin)
        bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    else if (position.y() >= viewport()->height() - kScrollMargin)
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QTreeWidgetItem* target = itemAt(position);
    if (target)
        setCurrentItem(target);
    if (!CanDrop(target)) {
        event->ignore();
        return;
    }
    event->setDropAction((event->modifiers() & Qt::ControlModifier) ? Qt::CopyAction
                                                                    : Qt::MoveAction);
    event->accept();
}

void CFoodTreeCtrl::dropEvent(QDropEvent* event) {
    QTreeWidgetItem* target = itemAt(event->position().toPoint());
    if (!CanDrop(target)) {
        event->ignore();
        return;
    }
    const bool copy = (event->modifiers() & Qt::ControlModifier) != 0;
    Drop(target, copy);
    event->setDropAction(copy ? Qt::CopyAction : Qt::MoveAction);
    event->accept();
}

} // namespace fitquill
