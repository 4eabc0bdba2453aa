// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QString>

#include <vector>

class QMenu;
class QWidget;

namespace fitquill {

class ICommandRouter;
class ICommandTarget;

// One entry of a context menu of commands: a command (id), a separator (id 0 and no
// children) or a sub-menu (a caption and children). A caption replaces the command's own.
struct SCommandMenuEntry {
    int id = 0;
    QString caption;
    std::vector<SCommandMenuEntry> children;
};

// Builds a context menu whose commands take the router's normal route (so the first handler on
// it decides and enables them); without a router (null) `fallback` handles them.
// The caller owns the menu.
QMenu* BuildCommandMenu(QWidget* owner, ICommandRouter* router, ICommandTarget& fallback,
                        const std::vector<SCommandMenuEntry>& entries);
// Builds the menu and shows it at globalPos until the user chose or dismissed it.
void ShowCommandMenu(QWidget* owner, ICommandRouter* router, ICommandTarget& fallback,
                     const std::vector<SCommandMenuEntry>& entries, const QPoint& globalPos);

} // namespace fitquill
