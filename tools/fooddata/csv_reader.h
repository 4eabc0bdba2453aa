// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fitquill {

// Reads RFC 4180 comma-separated text record by record: fields may be quoted, a quoted
// field may hold commas, line breaks and doubled quotes. Records end with CRLF or LF; the
// last one may lack its line break. Anything else (a quote inside an unquoted field, text
// after a closing quote, an unterminated quote, a CR not followed by LF) is malformed and
// stops the reader with an error naming the line.
class CCsvReader {
public:
    // The text must outlive the reader. A leading UTF-8 byte order mark is skipped.
    explicit CCsvReader(std::string_view text);

    // Fills the fields of the next record. False at the end of the text or on malformed
    // input; Failed() tells the two apart.
    bool ReadRecord(std::vector<std::string>& fields);

    bool Failed() const { return !m_error.empty(); }
    // "line N: what is wrong", empty while nothing failed.
    const std::string& Error() const { return m_error; }
    // The line (from 1) on which the record last returned started.
    size_t RecordLine() const { return m_recordLine; }

private:
    bool Fail(size_t line, const char* what);

    std::string_view m_text;
    size_t m_pos = 0;
    size_t m_line = 1;
    size_t m_recordLine = 0;
    std::string m_error;
};

// A whole file with a header row: every record must have as many fields as the header.
class CCsvTable {
public:
    // Nullopt on malformed text or a record of another width; error says where.
    static std::optional<CCsvTable> Parse(std::string_view text, std::string& error);

    const std::vector<std::string>& Header() const { return m_header; }
    size_t RowCount() const { return m_rows.size(); }
    const std::vector<std::string>& Row(size_t row) const { return m_rows.at(row); }
    // The line on which a row started, for messages.
    size_t RowLine(size_t row) const { return m_rowLines.at(row); }
    // Index of the column with exactly this header text, or nullopt.
    std::optional<size_t> Column(std::string_view name) const;

private:
    std::vector<std::string> m_header;
    std::vector<std::vector<std::string>> m_rows;
    std::vector<size_t> m_rowLines;
};

} // namespace fitquill
