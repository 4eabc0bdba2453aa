// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>

namespace fitquill {

// Shows the wait cursor while an operation reads or writes files or lays out a printout.
class CWaitCursor {
public:
    CWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CWaitCursor() { QApplication::restoreOverrideCursor(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

} // namespace fitquill
