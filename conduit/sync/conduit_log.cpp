// SPDX-License-Identifier: GPL-3.0-or-later
#include "conduit/sync/conduit_log.h"

#include <fstream>

namespace fitquill {

std::string CLogEntryFile::FormatLine(std::string_view text, int32_t activity) {
    std::string line = std::to_string(activity);
    line.push_back('\t');
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        line.push_back(byte < 0x20 || byte == 0x7F ? ' ' : c);
    }
    return line;
}

void CLogEntryFile::AddEntry(std::string_view text, int32_t activity) {
    std::ofstream out(m_path, std::ios::binary | std::ios::app);
    out << FormatLine(text, activity) << '\n';
}

CUserFolderLog::CUserFolderLog(std::filesystem::path userFolder) : m_log(std::move(userFolder)) {}

CUserFolderLog::~CUserFolderLog() {
    if (m_used)
        m_log.Save();
}

void CUserFolderLog::AddEntry(std::string_view text, int32_t activity) {
    if (!m_used)
        m_log.StartSession();
    m_used = true;
    m_log.AddEntry(text, activity, false);
}

} // namespace fitquill
