// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace fitquill {

// What a merge did, one readable line per change, in the order it was made. Merging two
// identical sides yields none.
using SyncChanges = std::vector<std::string>;

} // namespace fitquill
