// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>

namespace fitquill {

// The folder of the conduit module this code is linked into (where its help file lies);
// empty when the platform cannot tell.
std::filesystem::path ConduitModuleFolder();

} // namespace fitquill
