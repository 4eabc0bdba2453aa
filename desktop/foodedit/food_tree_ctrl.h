// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/widgets/command_target.h"

#include <QTreeWidget>

class QMimeData;
class QMenu;

namespace fitquill {

class CDietData;

// Where a tree item stands in the food database; unused levels are -1.
struct SFoodAddress {
    int group = -1;
    int category = -1;
    int item = -1;
    // 0 group, 1 category, 2 food item, -1 none.
    int Level() const { return item >= 0 ? 2 : category >= 0 ? 1 : group >= 0 ? 0 : -1; }
    bool operator==(const SFoodAddress&) const = default;
};

// The food tree: groups, their categories and the food items of each category, in database
// order. Items carry nothing of their own: an item's address is its position among its
// siblings. A category's food items are made when it is first expanded (or an item in it is
// selected), so that a large database opens quickly.
class CFoodTreeCtrl : public QTreeWidget, public ICommandTarget {
    Q_OBJECT

public:
    static constexpr int kMaxLabelLength = 20;
    static constexpr int kDragImageWidth = 250;
    static constexpr int kDragImageHeight = 30;
    static constexpr int kScrollMargin = 8;
    static constexpr const char* kMimeType = "application/x-fitquill-food-tree";

    explicit CFoodTreeCtrl(CDietData& data, QWidget* parent = nullptr);
    ~CFoodTreeCtrl() override;

    // Empties the tree and fills it from the database again.
    void Fill();

    static int LevelOf(const QTreeWidgetItem* item);
    SFoodAddress AddressOf(const QTreeWidgetItem* item) const;
    // The item at an address, making the category's food items when needed; null when there
    // is none.
    QTreeWidgetItem* ItemAt(const SFoodAddress& address);
    SFoodAddress SelectedAddress() const;
    // Selects the item at the address and scrolls it into view.
    void SelectAddress(const SFoodAddress& address);

    bool QueryCommand(int id, bool& enabled) override;
    bool ExecuteCommand(int id) override;

    // Starts label editing of the selected item.
    void Rename();
    bool LabelEditActive() const;
    // The end of a label edit: renames through the database, moving the item to its new place,
    // or refuses and edits the label again.
    void FinishRename(const SFoodAddress& address, const QString& text);
    // Logs the food item at the address through the one-item "Insert Food" dialog.
    void LogFoodItem(const SFoodAddress& address);
    // The tooltip of the item at a viewport position; empty for groups and categories.
    QString ToolTipAt(const QPoint& position) const;
    // The context menu for a viewport position, or null where none is shown. The caller owns
    // it.
    QMenu* CreateContextMenu(const QPoint& position);

    // Drag and drop. BeginDrag records the dragged item (a category or food item) and returns
    // the data a drag carries; null for an item that cannot be dragged.
    QMimeData* BeginDrag(QTreeWidgetItem* source);
    bool IsDragging() const { return m_drag.active; }
    // Whether the dragged object may be dropped on the item.
    bool CanDrop(const QTreeWidgetItem* target) const;
    // Moves or copies the dragged object into the target and ends the drag.
    void Drop(QTreeWidgetItem* target, bool copy);
    void EndDrag() { m_drag = SDragState(); }
    QPixmap DragImage(const QTreeWidgetItem* item) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    struct SDragState {
        bool active = false;
        bool category = false;
        QTreeWidgetItem* source = nullptr;
        SFoodAddress address;
    };

    QTreeWidgetItem* MakeItem(int level, const std::string& name);
    void AddCategoryItems(QTreeWidgetItem* group, int groupIndex);
    void EnsureFoodItems(QTreeWidgetItem* category);
    // Puts an item back after a database operation moved or created its object at `index`.
    QTreeWidgetItem* InsertAt(QTreeWidgetItem* parent, int level, int index);
    void ApplyColors();
    void MarkModified();
    void Delete(int level, bool allCategories = false);
    void CutOrCopy(bool cut);
    void Paste();
    void InsertGroup();
    void InsertCategory();
    void InsertFoodItem();
    void EditFoodItem();
    void RunMenuCommand(int id);

    CDietData& m_data;
    SDragState m_drag;
    bool m_filling = false;
};

} // namespace fitquill
