// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/views/command_menu.h"

#include "desktop/shell/command_target.h"
#include "desktop/shell/commands.h"
#include "desktop/shell/main_frame.h"

#include <QMenu>

#include <memory>

namespace fitquill {
namespace {

void Fill(QMenu* menu, QWidget* owner, ICommandTarget& fallback,
          const std::vector<SCommandMenuEntry>& entries) {
    auto* frame = qobject_cast<CMainFrame*>(owner->window());
    for (const SCommandMenuEntry& entry : entries) {
        if (!entry.children.empty()) {
            Fill(menu->addMenu(entry.caption), owner, fallback, entry.children);
            continue;
        }
        if (entry.id == 0) {
            menu->addSeparator();
            continue;
        }
        const SCommandInfo* info = FindCommand(entry.id);
        QAction* action =
            menu->addAction(entry.caption.isEmpty() && info ? info->caption : entry.caption);
        const int id = entry.id;
        bool enabled = false;
        if (frame)
            enabled = frame->IsCommandEnabled(id);
        else
            fallback.QueryCommand(id, enabled);
        action->setEnabled(enabled);
        QObject::connect(action, &QAction::triggered, menu, [frame, &fallback, id] {
            if (frame)
                frame->RunCommand(id);
            else
                fallback.ExecuteCommand(id);
        });
    }
}

} // namespace

QMenu* BuildCommandMenu(QWidget* owner, ICommandTarget& fallback,
                        const std::vector<SCommandMenuEntry>& entries) {
    auto* menu = new QMenu(owner);
    Fill(menu, owner, fallback, entries);
    return menu;
}

void ShowCommandMenu(QWidget* owner, ICommandTarget& fallback,
                     const std::vector<SCommandMenuEntry>& entries, const QPoint& globalPos) {
    std::unique_ptr<QMenu> menu(BuildCommandMenu(owner, fallback, entries));
    menu->exec(globalPos);
}

} // namespace fitquill
