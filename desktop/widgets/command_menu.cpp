// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/widgets/command_menu.h"

#include "desktop/document/view_services.h"
#include "desktop/widgets/command_target.h"
#include "desktop/widgets/commands.h"

#include <QMenu>

#include <memory>

namespace fitquill {
namespace {

void Fill(QMenu* menu, ICommandRouter* router, ICommandTarget& fallback,
          const std::vector<SCommandMenuEntry>& entries) {
    for (const SCommandMenuEntry& entry : entries) {
        if (!entry.children.empty()) {
            Fill(menu->addMenu(entry.caption), router, fallback, entry.children);
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
        if (router)
            enabled = router->IsCommandEnabled(id);
        else
            fallback.QueryCommand(id, enabled);
        action->setEnabled(enabled);
        QObject::connect(action, &QAction::triggered, menu, [router, &fallback, id] {
            if (router)
                router->RunCommand(id);
            else
                fallback.ExecuteCommand(id);
        });
    }
}

} // namespace

QMenu* BuildCommandMenu(QWidget* owner, ICommandRouter* router, ICommandTarget& fallback,
                        const std::vector<SCommandMenuEntry>& entries) {
    auto* menu = new QMenu(owner);
    Fill(menu, router, fallback, entries);
    return menu;
}

void ShowCommandMenu(QWidget* owner, ICommandRouter* router, ICommandTarget& fallback,
                     const std::vector<SCommandMenuEntry>& entries, const QPoint& globalPos) {
    std::unique_ptr<QMenu> menu(BuildCommandMenu(owner, router, fallback, entries));
    menu->exec(globalPos);
}

} // namespace fitquill
