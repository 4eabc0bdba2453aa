// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/settings/ini_settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace fitquill {
namespace {

struct SValueRow {
    const char* stored;
    std::string text;
};

TEST(IniSettingsTest, StoredValuesDecodeAsTheDesktopProgramReadsThem) {
    const std::vector<SValueRow> rows = {
        {"/opt/fitquill", "/opt/fitquill"},
        {"   /opt/fitquill", "/opt/fitquill"},
        {"/opt/fitquill   \t", "/opt/fitquill"},
        {"\"/opt/a,b\"", "/opt/a,b"},
        {"\"  spaced  \"", "  spaced  "},
        {"\"a;b=c\"", "a;b=c"},
        {"/opt/\"quoted part\"/x", "/opt/quoted part/x"},
        {"C:\\\\Program Files\\\\Fitquill", "C:\\Program Files\\Fitquill"},
        {"a\\tb\\nc\\rd\\\"e\\'f\\?g", "a\tb\nc\rd\"e'f?g"},
        {"\\x41\\x42", "AB"},
        {"\\x263a", "\xE2\x98\xBA"},
        {"\\101\\60", "A0"},
        {"\\xg", "g"},
        {"\\q", ""},
        {"a  \\", "a  "},
        {"a\\ ", "a"},
        {"/home/j\xC3\xBCrgen", "/home/j\xC3\xBCrgen"},
        {"bad\xFFutf", "bad\xEF\xBF\xBDutf"},
        {"", ""},
        {"\"\"", ""},
        // Typed values: only byte arrays and strings have a text form.
        {"@@at", "@at"},
        {"@ByteArray(/opt/bytes)", "/opt/bytes"},
        {"@ByteArray(\\xe9)", "\xEF\xBF\xBD"},
        {"@String(/opt/s)", "/opt/s"},
        {"@Invalid()", ""},
        {"@Rect(1 2 3 4)", ""},
        {"@Size(1 2)", ""},
        {"@Rect(1 2)", "@Rect(1 2)"},
        {"@Variant(\\0\\0\\0\\n)", ""},
        {"@other", "@other"},
        // Unquoted commas make a list, which has no text form.
        {"/opt/a, b", ""},
        {"one,", ""},
    };
    for (const SValueRow& row : rows) {
        EXPECT_EQ(CIniSettings::UnescapeValue(row.stored), row.text) << "stored: " << row.stored;
    }
}

TEST(IniSettingsTest, ValuesAreEscapedAsTheDesktopProgramWritesThem) {
    const std::vector<SValueRow> rows = {
        {"/opt/fitquill", "/opt/fitquill"},
        {"\"/opt/a,b\"", "/opt/a,b"},
        {"\"x=y\"", "x=y"},
        {"\"a;b\"", "a;b"},
        {"\" lead\"", " lead"},
        {"\"trail \"", "trail "},
        {"C:\\\\Fit\\\\quill", "C:\\Fit\\quill"},
        {"say \\\"hi\\\"", "say \"hi\""},
        {"\\t\\n\\r\\a\\b\\f\\v", "\t\n\r\a\b\f\v"},
        {"\\x1\\x31", std::string("\x01"
                                  "1")},
        {"\\x1fz", "\x1Fz"},
        {"@@ByteArray(x)", "@ByteArray(x)"},
        {"@String(a\\0\\x31)", std::string("a\0"
                                           "1",
                                           3)},
        {"/home/j\xC3\xBCrgen", "/home/j\xC3\xBCrgen"},
        {"\x7F", "\x7F"},
    };
    for (const SValueRow& row : rows) {
        EXPECT_EQ(CIniSettings::EscapeValue(row.text), row.stored) << "text: " << row.text;
        EXPECT_EQ(CIniSettings::UnescapeValue(row.stored), row.text) << "stored: " << row.stored;
    }
}

TEST(IniSettingsTest, KeysEscapeAndUnescape) {
    struct Row {
        std::string key;
        std::string stored;
    };
    const std::vector<Row> rows = {
        {"InstallPath", "InstallPath"},
        {"Name_1.x-y", "Name_1.x-y"},
        {"a b", "a%20b"},
        {"a/b", "a\\b"},
        {"\xC3\xA9", "%E9"},
        {"\xE2\x98\xBA", "%U263A"},
        {"100%", "100%25"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(CIniSettings::EscapeKey(row.key), row.stored) << row.key;
        EXPECT_EQ(CIniSettings::UnescapeKey(row.stored), row.key) << row.stored;
    }
    // Broken escapes are kept as they stand.
    EXPECT_EQ(CIniSettings::UnescapeKey("a%zzb"), "a%zzb");
    EXPECT_EQ(CIniSettings::UnescapeKey("a%"), "a%");
    EXPECT_EQ(CIniSettings::UnescapeKey("a%U12"), "a%U12");
}

TEST(IniSettingsTest, ParsesSectionsCommentsAndLineForms) {
    const std::string file = "\xEF\xBB\xBF"
                             "top=1\r\n"
                             "; a comment line\n"
                             "[General]\n"
                             "general=2\n"
                             "InstallPath\\Name=/from/general\n"
                             "[%General]\n"
                             "key=3\n"
                             "[Window%20States]\n"
                             "  spaced key  =  value  ; trailing comment\n"
                             "Geometry=@ByteArray(\\x1\\xd9\\xd0\\xcb)\n"
                             "continued=first \\\n"
                             "second\n"
                             "quoted=\"line one\n"
                             "line two\"\n"
                             "no equals sign here\n"
                             "[InstallPath]\n"
                             "Name=/first\n"
                             "[CurrentUser]\n"
                             "Name=Pat\n"
                             "[InstallPath]\n"
                             "Name=/second\n"
                             "[Broken\n"
                             "k=v\n";
    const CIniSettings settings = CIniSettings::Parse(file);
    EXPECT_EQ(settings.Value("top"), "1");
    EXPECT_EQ(settings.Value("general"), "2");
    EXPECT_EQ(settings.Value("General/key"), "3");
    EXPECT_EQ(settings.Value("Window States/spaced key"), "value");
    EXPECT_EQ(settings.Value("Window States/continued"), "first second");
    EXPECT_EQ(settings.Value("Window States/quoted"), "line one\nline two");
    EXPECT_EQ(settings.Value("CurrentUser/Name"), "Pat");
    // The same key again later in the file (here in a repeated section) wins.
    EXPECT_EQ(settings.Value("InstallPath/Name"), "/second");
    EXPECT_EQ(settings.Value("Broken/k"), "v");
    EXPECT_FALSE(settings.Value("installpath/name").has_value()) << "keys are case-sensitive";
    EXPECT_FALSE(settings.Value("Window States/no equals sign here").has_value());
}

TEST(IniSettingsTest, KeyInTheGeneralSectionCanNameAnotherSection) {
    const CIniSettings settings = CIniSettings::Parse("[General]\nInstallPath\\Name=/opt/g\n");
    EXPECT_EQ(settings.Value("InstallPath/Name"), "/opt/g");
}

TEST(IniSettingsTest, SettingAValueKeepsEveryOtherLine) {
    const std::string before = "[WindowStates]\n"
                               "MainFrame=@Rect(10 20 800 600)\n"
                               "; keep me\n"
                               "\n"
                               "[InstallPath]\n"
                               "Name=/old/path ; note\n"
                               "Other=x\n"
                               "\n"
                               "[CurrentUser]\n"
                               "Name=Pat\n";
    const std::string expected = "[WindowStates]\n"
                                 "MainFrame=@Rect(10 20 800 600)\n"
                                 "; keep me\n"
                                 "\n"
                                 "[InstallPath]\n"
                                 "Name=\"/new/a,b\" ; note\n"
                                 "Other=x\n"
                                 "\n"
                                 "[CurrentUser]\n"
                                 "Name=Pat\n";
    EXPECT_EQ(CIniSettings::WithValue(before, "InstallPath/Name", "/new/a,b"), expected);
}

TEST(IniSettingsTest, SettingAValueAddsTheKeyOrTheSection) {
    struct Row {
        const char* name;
        std::string before;
        std::string after;
    };
    const std::vector<Row> rows = {
        {"empty file", "", "[InstallPath]\nName=/opt/f\n"},
        {"other section", "[CurrentUser]\nName=Pat\n",
         "[CurrentUser]\nName=Pat\n\n[InstallPath]\nName=/opt/f\n"},
        {"no final newline", "[CurrentUser]\nName=Pat",
         "[CurrentUser]\nName=Pat\n\n[InstallPath]\nName=/opt/f\n"},
        {"section without the key", "[InstallPath]\nOther=1\n[X]\ny=2\n",
         "[InstallPath]\nName=/opt/f\nOther=1\n[X]\ny=2\n"},
        {"header is the last line", "[InstallPath]", "[InstallPath]\nName=/opt/f\n"},
        {"windows line ends", "[A]\r\nb=1\r\n",
         "[A]\r\nb=1\r\n\r\n[InstallPath]\r\nName=/opt/f\r\n"},
        {"key stored in the general section", "[General]\nInstallPath\\Name=/old\n",
         "[General]\nInstallPath\\Name=/opt/f\n"},
        // The quote is closed where the file ended, so the new section is not swallowed.
        {"last value's quote never closes", "[A]\nlist=0a, \"\n",
         "[A]\nlist=0a, \"\n\"\n[InstallPath]\nName=/opt/f\n"},
        {"and ends in a backslash", "[A]\nlist=0a, \"\\",
         "[A]\nlist=0a, \"\\\n\"\n\n[InstallPath]\nName=/opt/f\n"},
        {"section whose last line ends in a backslash", "[InstallPath]\nOther=1\\",
         "[InstallPath]\nName=/opt/f\nOther=1\\"},
        {"header ended by a lone CR", "[InstallPath]\rOther=\"a\nb\"\n",
         "[InstallPath]\rName=/opt/f\nOther=\"a\nb\"\n"},
        {"header that is the last line, then a backslash", "[InstallPath]\\",
         "[InstallPath]\\\n\nName=/opt/f\n"},
    };
    for (const Row& row : rows) {
        const std::string after = CIniSettings::WithValue(row.before, "InstallPath/Name", "/opt/f");
        EXPECT_EQ(after, row.after) << row.name;
        const CIniSettings before = CIniSettings::Parse(row.before);
        const CIniSettings edited = CIniSettings::Parse(after);
        for (const auto& [key, value] : before.Values())
            if (key != "InstallPath/Name") {
                EXPECT_EQ(edited.Value(key), value) << row.name << ": " << key;
            }
        EXPECT_EQ(edited.Value("InstallPath/Name"), "/opt/f") << row.name;
    }
}

TEST(IniSettingsTest, WrittenValuesReadBackUnchanged) {
    const std::vector<std::string> values = {
        "/opt/fitquill",
        "",
        " both ends ",
        "C:\\Program Files\\Quorvel\\Fitquill",
        "a,b;c=d\"e\"",
        "@ByteArray(not really)",
        "@",
        "tab\tthen 1 and \x01"
        "2",
        std::string("nul\0"
                    "9",
                    5),
        "/home/j\xC3\xBCrgen/\xE2\x98\xBA",
        "multi\nline\r\nvalue",
    };
    const std::string base = "[CurrentUser]\nName=Pat\n[InstallPath]\nName=old\n";
    for (const std::string& value : values) {
        const std::string file = CIniSettings::WithValue(base, "InstallPath/Name", value);
        const CIniSettings settings = CIniSettings::Parse(file);
        EXPECT_EQ(settings.Value("InstallPath/Name"), value) << file;
        EXPECT_EQ(settings.Value("CurrentUser/Name"), "Pat") << file;
    }
}

} // namespace
} // namespace fitquill
