// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/internal_error.h"

namespace fitquill {

CInternalError::CInternalError(int code, const std::string& what)
    : std::runtime_error(what), m_code(code) {}

void RaiseInternalError(int code, const std::string& what) {
    throw CInternalError(code, what);
}

} // namespace fitquill
