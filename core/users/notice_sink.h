// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace fitquill {

// Where core code hands a message that the user must see. The core shows nothing itself: the
// desktop program shows a message box with an OK button, a conduit writes its log.
class INoticeSink {
public:
    virtual ~INoticeSink() = default;
    virtual void ShowNotice(std::string_view caption, std::string_view text) = 0;
};

} // namespace fitquill
