// SPDX-License-Identifier: GPL-3.0-or-later
#include "conduit/conduit_identity.h"

#include <algorithm>
#include <cstring>

namespace fitquill {

std::string_view ConduitString(const SConduitIdentity& identity, int id) {
    switch (id) {
    case kStringConduitName:
        return identity.conduitName;
    case kStringCurrentSettings:
        return "%s's Current Settings:";
    case kStringSynchronize:
        return "Synchronize the files.";
    case kStringDesktopOverwrites:
        return "Desktop overwrites Palm organizer.";
    case kStringHandheldOverwrites:
        return "Palm organizer overwrites Desktop.";
    case kStringDoNothing:
        return "Do Nothing.";
    case kStringActionCaption:
        return identity.actionCaption;
    default:
        return {};
    }
}

size_t LoadConduitString(const SConduitIdentity& identity, int id, char* buffer, size_t capacity) {
    if (buffer == nullptr || capacity == 0)
        return 0;
    const std::string_view text = ConduitString(identity, id);
    const size_t count = std::min(text.size(), capacity - 1);
    std::memcpy(buffer, text.data(), count);
    buffer[count] = '\0';
    return count;
}

} // namespace fitquill
