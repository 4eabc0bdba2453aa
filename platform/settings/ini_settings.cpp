// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/settings/ini_settings.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace fitquill {

namespace {

// The settings library works on UTF-16 text; decoding through the same form keeps its escape
// rules (16-bit \x and octal escapes, %U key escapes) exact.
std::u16string Utf8ToUtf16(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const unsigned char lead = static_cast<unsigned char>(bytes[i]);
        uint32_t cp = 0;
        std::size_t extra = 0;
        uint32_t minimum = 0;
        if (lead < 0x80) {
            out.push_back(static_cast<char16_t>(lead));
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            cp = lead & 0x1F;
            extra = 1;
            minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            cp = lead & 0x0F;
            extra = 2;
            minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            cp = lead & 0x07;
            extra = 3;
            minimum = 0x10000;
        } else {
            out.push_back(u'\uFFFD');
            ++i;
            continue;
        }
        bool valid = i + extra < bytes.size();
        for (std::size_t k = 1; valid && k <= extra; ++k) {
            const unsigned char next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) {
                valid = false;
            } else {
                cp = (cp << 6) | (next & 0x3F);
            }
        }
        if (!valid || cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out.push_back(u'\uFFFD');
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += extra + 1;
    }
    return out;
}

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Calls `visit(codePoint)` for each character; a lone surrogate becomes U+FFFD.
template <typename Visit> void ForEachCodePoint(std::u16string_view text, Visit visit) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            visit(0x10000 + ((static_cast<uint32_t>(unit) - 0xD800) << 10) +
                  (static_cast<uint32_t>(text[i + 1]) - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            visit(0xFFFD);
        } else {
            visit(unit);
        }
    }
}

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    ForEachCodePoint(text, [&](uint32_t cp) { AppendUtf8(out, cp); });
    return out;
}

int HexValue(char16_t ch) {
    if (ch >= u'0' && ch <= u'9') {
        return ch - u'0';
    }
    if (ch >= u'a' && ch <= u'f') {
        return ch - u'a' + 10;
    }
    if (ch >= u'A' && ch <= u'F') {
        return ch - u'A' + 10;
    }
    return -1;
}

bool IsSpace(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r';
}

bool IsTrimSpace(char ch) {
    return IsSpace(ch) || ch == '\v' || ch == '\f';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsTrimSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsTrimSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z') {
            x = static_cast<char>(x - 'A' + 'a');
        }
        if (y >= 'A' && y <= 'Z') {
            y = static_cast<char>(y - 'A' + 'a');
        }
        if (x != y) {
            return false;
        }
    }
    return true;
}

// One logical line of the file: where it starts, how long it is and where its first unquoted
// '=' is. A quoted value or a backslash may carry a line over several physical lines; an
// unquoted ';' ends the line and starts a comment.
struct SIniLine {
    std::size_t start = 0;
    std::size_t length = 0;
    std::size_t equals = std::string_view::npos;
    bool openQuote = false; // the file ended inside a quote: the line runs to its end
};

bool ReadIniLine(std::string_view data, std::size_t& pos, SIniLine& line) {
    const std::size_t size = data.size();
    bool inQuotes = false;
    line.equals = std::string_view::npos;
    std::size_t lineStart = pos;
    while (lineStart < size && IsSpace(data[lineStart])) {
        ++lineStart;
    }
    std::size_t i = lineStart;
    while (i < size) {
        char ch = data[i];
        while (ch != '\n' && ch != '\r' && ch != '"' && ch != ';' && ch != '=' && ch != '\\') {
            if (++i == size) {
                goto done;
            }
            ch = data[i];
        }
        ++i;
        if (ch == '=') {
            if (!inQuotes && line.equals == std::string_view::npos) {
                line.equals = i - 1;
            }
        } else if (ch == '\n' || ch == '\r') {
            if (i == lineStart + 1) {
                ++lineStart;
            } else if (!inQuotes) {
                --i;
                goto done;
            }
        } else if (ch == '\\') {
            if (i < size) {
                const char escaped = data[i++];
                if (i < size) {
                    const char next = data[i];
                    if ((escaped == '\n' && next == '\r') || (escaped == '\r' && next == '\n')) {
                        ++i;
                    }
                }
            }
        } else if (ch == '"') {
            inQuotes = !inQuotes;
        } else { // ';'
            if (i == lineStart + 1) {
                while (i < size && data[i] != '\n' && data[i] != '\r') {
                    ++i;
                }
                while (i < size && IsSpace(data[i])) {
                    ++i;
                }
                lineStart = i;
            } else if (!inQuotes) {
                --i;
                goto done;
            }
        }
    }
done:
    pos = i;
    line.openQuote = inQuotes;
    line.start = lineStart;
    line.length = i - lineStart;
    if (line.equals != std::string_view::npos && line.equals < lineStart) {
        line.equals = std::string_view::npos;
    }
    return line.length > 0;
}

// The key prefix a section header line stands for: "" for [General], "Name/" otherwise.
std::string SectionPrefix(std::string_view headerLine) {
    std::size_t close = headerLine.find(']');
    if (close == std::string_view::npos) {
        close = headerLine.size();
    }
    const std::string_view name = Trimmed(headerLine.substr(1, close - 1));
    if (EqualsIgnoringCase(name, "general")) {
        return std::string();
    }
    if (EqualsIgnoringCase(name, "%general")) {
        return std::string(name.substr(1)) + "/";
    }
    return CIniSettings::UnescapeKey(name) + "/";
}

void AppendHex(std::string& out, unsigned value) {
    static const char kDigits[] = "0123456789abcdef";
    char buffer[8];
    int count = 0;
    do {
        buffer[count++] = kDigits[value % 16];
        value /= 16;
    } while (value != 0);
    while (count > 0) {
        out.push_back(buffer[--count]);
    }
}

// The one-letter escapes of stored values: \a \b \f \n \r \t \v \" \? \' \\.
constexpr std::pair<char, char16_t> kSimpleEscapes[] = {
    {'a', u'\a'}, {'b', u'\b'}, {'f', u'\f'}, {'n', u'\n'},  {'r', u'\r'},  {'t', u'\t'},
    {'v', u'\v'}, {'"', u'"'},  {'?', u'?'},  {'\'', u'\''}, {'\\', u'\\'},
};

char16_t SimpleEscape(char code) {
    for (const auto& [letter, value] : kSimpleEscapes) {
        if (letter == code) {
            return value;
        }
    }
    return 0;
}

struct SUnescaped {
    std::u16string text;
    bool isList = false;
};

// Decodes a stored value: quotes, backslash escapes and, outside quotes, commas that make the
// value a list.
SUnescaped UnescapeStringList(std::string_view str) {
    SUnescaped result;
    std::u16string& current = result.text;
    bool inQuotes = false;
    bool currentIsQuoted = false;
    char16_t escapeVal = 0;
    std::size_t i = 0;
    std::size_t chopLimit = 0;

    auto chopTrailingSpaces = [&]() {
        while (current.size() > chopLimit && (current.back() == u' ' || current.back() == u'\t')) {
            current.pop_back();
        }
    };
    auto skipSpaces = [&]() {
        while (i < str.size() && (str[i] == ' ' || str[i] == '\t')) {
            ++i;
        }
    };

    skipSpaces();
    chopLimit = current.size();
    while (i < str.size()) {
        const char ch = str[i];
        if (ch == '\\') {
            ++i;
            if (i >= str.size()) {
                return result; // a lone backslash at the end keeps the spaces before it
            }
            const char code = str[i++];
            const char16_t simple = SimpleEscape(code);
            if (simple != 0) {
                current.push_back(simple);
                chopLimit = current.size();
                continue;
            }
            if (code == 'x') {
                if (i >= str.size()) {
                    return result;
                }
                if (HexValue(static_cast<char16_t>(str[i])) >= 0) {
                    escapeVal = 0;
                    while (i < str.size() && HexValue(static_cast<char16_t>(str[i])) >= 0) {
                        escapeVal = static_cast<char16_t>((escapeVal << 4) +
                                                          HexValue(static_cast<char16_t>(str[i])));
                        ++i;
                    }
                    current.push_back(escapeVal);
                }
            } else if (code >= '0' && code <= '7') {
                escapeVal = static_cast<char16_t>(code - '0');
                while (i < str.size() && str[i] >= '0' && str[i] <= '7') {
                    escapeVal = static_cast<char16_t>((escapeVal << 3) + (str[i] - '0'));
                    ++i;
                }
                current.push_back(escapeVal);
            } else if (code == '\n' || code == '\r') {
                // A backslash at the end of a line continues the value on the next one.
                if (i < str.size() && (str[i] == '\n' || str[i] == '\r') && str[i] != code) {
                    ++i;
                }
            }
            chopLimit = current.size();
        } else if (ch == '"') {
            ++i;
            currentIsQuoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes) {
                skipSpaces();
                chopLimit = current.size();
            }
        } else if (ch == ',' && !inQuotes) {
            if (!currentIsQuoted) {
                chopTrailingSpaces();
            }
            result.isList = true;
            current.clear();
            currentIsQuoted = false;
            ++i;
            skipSpaces();
            chopLimit = current.size();
        } else {
            std::size_t j = i + 1;
            while (j < str.size() && str[j] != '\\' && str[j] != '"' && str[j] != ',') {
                ++j;
            }
            current += Utf8ToUtf16(str.substr(i, j - i));
            i = j;
        }
    }
    if (!currentIsQuoted) {
        chopTrailingSpaces();
    }
    return result;
}

bool StartsWith(std::u16string_view text, std::u16string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// How the settings library turns a stored text into a value and that value into text: a few
// "@Type(...)" forms carry other types, of which only byte arrays and strings read as text.
std::string ValueToText(const std::u16string& s) {
    if (!s.empty() && s.front() == u'@') {
        if (s.back() == u')') {
            if (StartsWith(s, u"@ByteArray(")) {
                std::string bytes;
                for (std::size_t k = 11; k + 1 < s.size(); ++k) {
                    bytes.push_back(s[k] <= 0xFF ? static_cast<char>(s[k]) : '?');
                }
                return Utf16ToUtf8(Utf8ToUtf16(bytes));
            }
            if (StartsWith(s, u"@String(")) {
                return Utf16ToUtf8(std::u16string_view(s).substr(8, s.size() - 9));
            }
            if (StartsWith(s, u"@Variant(") || StartsWith(s, u"@DateTime(") || s == u"@Invalid()") {
                return std::string();
            }
            const bool rect = StartsWith(s, u"@Rect(");
            const bool size = StartsWith(s, u"@Size(");
            const bool point = StartsWith(s, u"@Point(");
            if (rect || size || point) {
                const std::size_t open = s.find(u'(');
                std::size_t arguments = 1;
                for (std::size_t k = open + 1; k + 1 < s.size(); ++k) {
                    arguments += s[k] == u' ' ? 1 : 0;
                }
                if (arguments == (rect ? 4u : 2u)) {
                    return std::string();
                }
            }
        }
        if (StartsWith(s, u"@@")) {
            return Utf16ToUtf8(std::u16string_view(s).substr(1));
        }
    }
    return Utf16ToUtf8(s);
}

bool IsHexDigit(uint32_t ch) {
    return ch < 0x80 && HexValue(static_cast<char16_t>(ch)) >= 0;
}

} // namespace

std::string CIniSettings::EscapeKey(std::string_view key) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (char16_t ch : Utf8ToUtf16(key)) {
        if (ch == u'/') {
            out.push_back('\\');
        } else if ((ch >= u'a' && ch <= u'z') || (ch >= u'A' && ch <= u'Z') ||
                   (ch >= u'0' && ch <= u'9') || ch == u'_' || ch == u'-' || ch == u'.') {
            out.push_back(static_cast<char>(ch));
        } else if (ch <= 0xFF) {
            out.push_back('%');
            out.push_back(kDigits[ch / 16]);
            out.push_back(kDigits[ch % 16]);
        } else {
            out += "%U";
            for (int shift = 12; shift >= 0; shift -= 4) {
                out.push_back(kDigits[(ch >> shift) & 0xF]);
            }
        }
    }
    return out;
}

std::string CIniSettings::UnescapeKey(std::string_view stored) {
    const std::u16string decoded = Utf8ToUtf16(stored);
    std::u16string result;
    std::size_t i = 0;
    while (i < decoded.size()) {
        const char16_t ch = decoded[i];
        if (ch == u'\\') {
            result.push_back(u'/');
            ++i;
            continue;
        }
        if (ch != u'%' || i == decoded.size() - 1) {
            result.push_back(ch);
            ++i;
            continue;
        }
        std::size_t digits = 2;
        std::size_t first = i + 1;
        if (decoded[i + 1] == u'U') {
            ++first;
            digits = 4;
        }
        bool ok = first + digits <= decoded.size();
        unsigned value = 0;
        for (std::size_t k = 0; ok && k < digits; ++k) {
            const int digit = HexValue(decoded[first + k]);
            ok = digit >= 0;
            value = value * 16 + static_cast<unsigned>(digit);
        }
        if (!ok) {
            result.push_back(u'%');
            ++i;
            continue;
        }
        result.push_back(static_cast<char16_t>(value));
        i = first + digits;
    }
    return Utf16ToUtf8(result);
}

std::string CIniSettings::EscapeValue(std::string_view value) {
    // A text holding a NUL is wrapped, one starting with '@' gets a second '@', so that neither
    // is taken for a typed value when read back.
    std::string text(value);
    if (text.find('\0') != std::string::npos) {
        text = "@String(" + text + ")";
    } else if (!text.empty() && text.front() == '@') {
        text.insert(text.begin(), '@');
    }

    std::string out;
    bool needsQuotes = false;
    bool escapeNextIfDigit = false;
    ForEachCodePoint(Utf8ToUtf16(text), [&](uint32_t ch) {
        if (ch == ';' || ch == ',' || ch == '=') {
            needsQuotes = true;
        }
        if (escapeNextIfDigit && IsHexDigit(ch)) {
            out += "\\x";
            AppendHex(out, ch);
            return;
        }
        escapeNextIfDigit = false;
        if (ch == 0) {
            out += "\\0";
            escapeNextIfDigit = true;
            return;
        }
        for (const auto& [letter, value] : kSimpleEscapes) {
            if (ch == value && letter != '?' && letter != '\'') {
                out.push_back('\\');
                out.push_back(letter);
                return;
            }
        }
        if (ch <= 0x1F) {
            out += "\\x";
            AppendHex(out, ch);
            escapeNextIfDigit = true;
        } else {
            AppendUtf8(out, ch);
        }
    });
    if (needsQuotes || (!out.empty() && (out.front() == ' ' || out.back() == ' '))) {
        out = "\"" + out + "\"";
    }
    return out;
}

std::string CIniSettings::UnescapeValue(std::string_view stored) {
    SUnescaped unescaped = UnescapeStringList(stored);
    if (unescaped.isList) {
        // A list (several comma-separated items) has no text form.
        return std::string();
    }
    return ValueToText(unescaped.text);
}

CIniSettings CIniSettings::Parse(std::string_view fileText) {
    CIniSettings settings;
    std::string_view data = fileText;
    if (data.substr(0, 3) == "\xEF\xBB\xBF") {
        data.remove_prefix(3);
    }
    std::string prefix;
    std::size_t pos = 0;
    SIniLine line;
    while (ReadIniLine(data, pos, line)) {
        const std::string_view text = data.substr(line.start, line.length);
        if (text.front() == '[') {
            prefix = SectionPrefix(text);
            continue;
        }
        if (line.equals == std::string_view::npos) {
            continue;
        }
        const std::size_t equals = line.equals - line.start;
        const std::string key = prefix + UnescapeKey(Trimmed(text.substr(0, equals)));
        settings.m_values[key] = UnescapeValue(text.substr(equals + 1));
    }
    return settings;
}

std::optional<std::string> CIniSettings::Value(std::string_view key) const {
    const auto found = m_values.find(key);
    if (found == m_values.end()) {
        return std::nullopt;
    }
    return found->second;
}

std::string CIniSettings::WithValue(std::string_view fileText, std::string_view key,
                                    std::string_view value) {
    const std::size_t slash = key.find('/');
    const std::string section =
        slash == std::string_view::npos ? std::string() : std::string(key.substr(0, slash));
    const std::string_view subKey = slash == std::string_view::npos ? key : key.substr(slash + 1);
    const std::string wantedPrefix = section.empty() ? std::string() : section + "/";
    const std::string eol = fileText.find("\r\n") != std::string_view::npos ? "\r\n" : "\n";
    const std::string escapedValue = EscapeValue(value);

    const std::size_t bom = fileText.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
    const std::string_view data = fileText.substr(bom);

    // The line that holds the key's value (the last one counts) and the header that opens its
    // section, where a new line for the key goes when there is none.
    std::size_t valueStart = std::string_view::npos;
    std::size_t valueEnd = 0;
    std::size_t headerEnd = std::string_view::npos;
    bool sawHeader = false;
    bool endsInQuote = false;
    std::string prefix;
    std::size_t pos = 0;
    SIniLine line;
    while (ReadIniLine(data, pos, line)) {
        endsInQuote = line.openQuote;
        const std::string_view text = data.substr(line.start, line.length);
        if (text.front() == '[') {
            prefix = SectionPrefix(text);
            sawHeader = true;
            if (prefix == wantedPrefix) {
                headerEnd = line.start + line.length;
            }
            continue;
        }
        if (line.equals == std::string_view::npos) {
            continue;
        }
        const std::size_t equals = line.equals - line.start;
        if (prefix + UnescapeKey(Trimmed(text.substr(0, equals))) == key) {
            valueStart = line.equals + 1;
            valueEnd = line.start + line.length;
            // Spaces before a trailing comment stay with the comment.
            while (valueEnd > valueStart &&
                   (data[valueEnd - 1] == ' ' || data[valueEnd - 1] == '\t')) {
                --valueEnd;
            }
        }
    }

    std::string out(fileText);
    if (valueStart != std::string_view::npos) {
        out.replace(bom + valueStart, valueEnd - valueStart, escapedValue);
        return out;
    }
    // A damaged end of file would swallow whatever is added after it: a lone backslash escapes
    // the next character (given a line end, which continues the line and adds nothing) and a
    // quote that never closes runs to the end (closed there, so that its value stays as read).
    // A backslash before a final lone CR escapes that CR, and an LF added after it joins the
    // escaped line end: it needs a line end of its own too.
    std::string_view tail = data;
    if (!tail.empty() && tail.back() == '\r')
        tail.remove_suffix(1);
    const std::size_t lastOther = tail.find_last_not_of('\\');
    const std::size_t backslashes =
        tail.size() - (lastOther == std::string_view::npos ? 0 : lastOther + 1);
    const std::string closeEnd =
        std::string(backslashes % 2 == 1 ? eol : "") + (endsInQuote ? "\"" : "");
    const std::string newLine = EscapeKey(subKey) + "=" + escapedValue + eol;
    if (headerEnd != std::string_view::npos) {
        // Right after the line end that closes the header, which may be a lone CR: a later
        // LF can lie inside a quoted value running over several lines.
        std::size_t lineEnd = data.find_first_of("\r\n", headerEnd);
        if (lineEnd != std::string_view::npos && data[lineEnd] == '\r' &&
            lineEnd + 1 < data.size() && data[lineEnd + 1] == '\n') {
            ++lineEnd;
        }
        if (lineEnd == std::string_view::npos) {
            out += closeEnd + eol + newLine;
        } else {
            out.insert(bom + lineEnd + 1, newLine);
        }
        return out;
    }
    if (section.empty() && !sawHeader) {
        // Keys of the general section may stand before any header.
        out.insert(bom, newLine);
        return out;
    }
    std::string header = EscapeKey(section);
    if (header.empty()) {
        header = "General";
    } else if (EqualsIgnoringCase(header, "general")) {
        header = "%General";
    }
    out += closeEnd;
    if (!data.empty()) {
        if (data.back() != '\n') {
            out += eol;
        }
        out += eol;
    }
    out += "[" + header + "]" + eol + newLine;
    return out;
}

} // namespace fitquill
