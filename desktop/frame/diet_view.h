// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/widgets/command_target.h"

#include <QWidget>

#include <memory>

namespace fitquill {

class CDietData;
class CPageTabCtrl;
class CPrintCommands;

// The main view: the page tab control filling its client area. On the command route it
// offers commands to the focused page first, then handles printing and the page commands.
class CDietView : public QWidget, public ICommandTarget {
    Q_OBJECT

public:
    explicit CDietView(CDietData& data, QWidget* parent = nullptr);
    ~CDietView() override;

    CPageTabCtrl* PageTabCtrl() const { return m_tabs; }
    // Printing, print preview, the printer and page setup, and PDF reports.
    CPrintCommands& Printing() const { return *m_printing; }

    bool QueryCommand(int id, bool& enabled) override;
    bool ExecuteCommand(int id) override;

protected:
    void focusInEvent(QFocusEvent* event) override;

private:
    // The focused control inside the view that takes part in command routing, if any.
    ICommandTarget* FocusedTarget() const;

    CDietData& m_data;
    CPageTabCtrl* m_tabs = nullptr;
    std::unique_ptr<CPrintCommands> m_printing;
};

// The page a View command shows, or -1.
int PageOfViewCommand(int id);

} // namespace fitquill
