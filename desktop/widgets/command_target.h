// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace fitquill {

// A window or object on the route of menu, toolbar and accelerator commands. The frame offers
// each command to the targets in route order; the first that handles it decides.
class ICommandTarget {
public:
    virtual ~ICommandTarget() = default;

    // Whether this target handles the command at the moment; when it does, `enabled` receives
    // whether the command can run.
    virtual bool QueryCommand(int id, bool& enabled) = 0;
    // Runs the command; false when this target does not handle it.
    virtual bool ExecuteCommand(int id) = 0;
};

} // namespace fitquill
