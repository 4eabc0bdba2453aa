// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/fooddata/csv_reader.h"

namespace fitquill {

CCsvReader::CCsvReader(std::string_view text) : m_text(text) {
    if (m_text.substr(0, 3) == "\xEF\xBB\xBF")
        m_pos = 3;
}

bool CCsvReader::Fail(size_t line, const char* what) {
    m_error = "line " + std::to_string(line) + ": " + what;
    return false;
}

bool CCsvReader::ReadRecord(std::vector<std::string>& fields) {
    fields.clear();
    if (Failed() || m_pos >= m_text.size())
        return false;
    m_recordLine = m_line;
    const size_t size = m_text.size();
    std::string field;
    for (;;) {
        // At the start of a field.
        field.clear();
        if (m_pos < size && m_text[m_pos] == '"') {
            const size_t openedOn = m_line;
            ++m_pos;
            for (;;) {
                if (m_pos >= size)
                    return Fail(openedOn, "quoted field is not closed");
                const char c = m_text[m_pos++];
                if (c == '"') {
                    if (m_pos < size && m_text[m_pos] == '"') {
                        field += '"';
                        ++m_pos;
                        continue;
                    }
                    break;
                }
                if (c == '\n')
                    ++m_line;
                field += c;
            }
            if (m_pos < size && m_text[m_pos] != ',' && m_text[m_pos] != '\n' &&
                m_text[m_pos] != '\r')
                return Fail(m_line, "text after a closing quote");
        } else {
            while (m_pos < size) {
                const char c = m_text[m_pos];
                if (c == ',' || c == '\n' || c == '\r')
                    break;
                if (c == '"')
                    return Fail(m_line, "quote inside an unquoted field");
                field += c;
                ++m_pos;
            }
        }
        fields.push_back(field);

        // After a field: a comma, a line break or the end of the text.
        if (m_pos >= size)
            return true;
        const char c = m_text[m_pos++];
        if (c == ',')
            continue;
        if (c == '\r') {
            if (m_pos >= size || m_text[m_pos] != '\n')
                return Fail(m_line, "carriage return without line feed");
            ++m_pos;
        }
        ++m_line;
        return true;
    }
}

std::optional<CCsvTable> CCsvTable::Parse(std::string_view text, std::string& error) {
    CCsvTable table;
    CCsvReader reader(text);
    std::vector<std::string> fields;
    if (!reader.ReadRecord(fields)) {
        error = reader.Failed() ? reader.Error() : "no header row";
        return std::nullopt;
    }
    table.m_header = fields;
    while (reader.ReadRecord(fields)) {
        if (fields.size() != table.m_header.size()) {
            error = "line " + std::to_string(reader.RecordLine()) + ": " +
                    std::to_string(fields.size()) + " fields, the header has " +
                    std::to_string(table.m_header.size());
            return std::nullopt;
        }
        table.m_rows.push_back(fields);
        table.m_rowLines.push_back(reader.RecordLine());
    }
    if (reader.Failed()) {
        error = reader.Error();
        return std::nullopt;
    }
    return table;
}

std::optional<size_t> CCsvTable::Column(std::string_view name) const {
    for (size_t i = 0; i < m_header.size(); ++i) {
        if (m_header[i] == name)
            return i;
    }
    return std::nullopt;
}

} // namespace fitquill
