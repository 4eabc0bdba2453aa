// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>
#include <string>

namespace fitquill {

// Codes carried by an internal error.
constexpr int kInternalErrorGeneral = 1;
constexpr int kInternalErrorFoodDb = 1000;

// A programming error (an index out of range, an impossible record version, a failed
// allocation). The desktop program's outermost handler reports it and ends without saving;
// bad user input never raises it.
class CInternalError : public std::runtime_error {
public:
    CInternalError(int code, const std::string& what);
    int Code() const { return m_code; }

private:
    int m_code;
};

[[noreturn]] void RaiseInternalError(int code, const std::string& what);

} // namespace fitquill
