// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/document/shell_settings.h"

#include <QDir>
#include <QGuiApplication>
#include <QPalette>
#include <QUrl>

#include <algorithm>
#include <cstring>
#include <limits>

namespace fitquill {

bool SWindowPlacement::HasNormalPosition() const {
    return !(normal.left == kUnsetPosition && normal.top == kUnsetPosition &&
             normal.right == kUnsetPosition && normal.bottom == kUnsetPosition);
}

QColor EffectiveTextColor(const SColorSettings& colors) {
    return colors.overrideFore ? colors.foreColor
                               : QGuiApplication::palette().color(QPalette::Active, QPalette::Text);
}

QColor EffectiveBackColor(const SColorSettings& colors) {
    return colors.overrideBack ? colors.backColor
                               : QGuiApplication::palette().color(QPalette::Active, QPalette::Base);
}

uint32_t ToColorRef(const QColor& color) {
    return static_cast<uint32_t>(color.red()) | static_cast<uint32_t>(color.green()) << 8 |
           static_cast<uint32_t>(color.blue()) << 16;
}

QColor FromColorRef(uint32_t value) {
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

CShellSettings::CShellSettings()
    : m_settings(QSettings::NativeFormat, QSettings::UserScope, QString::fromLatin1(kOrganization),
                 QString::fromLatin1(kApplication)) {}

namespace {

constexpr int kAnyInt = std::numeric_limits<int>::max();
// Window edges beyond this are no screen's; their differences stay far from overflowing.
constexpr int kEdgeLimit = 1000000;

// Every integer setting the program reads, with the values it can use. A value outside its
// range (a hand-edited or damaged settings file) reads as the default: no stored number may
// take the program down or into a state its windows cannot show.
constexpr SIntSetting kIntSettingTable[] = {
    {"WindowStates/Length", 44, 0, 1024},
    {"WindowStates/Flags", 0, 0, 7},
    {"WindowStates/ShowCmd", SWindowPlacement::kShowNormal, 0, 11},
    {"WindowStates/MinPositionX", -1, -kEdgeLimit, kEdgeLimit},
    {"WindowStates/MinPositionY", -1, -kEdgeLimit, kEdgeLimit},
    {"WindowStates/MaxPositionX", -1, -kEdgeLimit, kEdgeLimit},
    {"WindowStates/MaxPositionY", -1, -kEdgeLimit, kEdgeLimit},
    {"WindowStates/NormalPositionLeft", SWindowPlacement::kUnsetPosition, -kEdgeLimit, kEdgeLimit},
    {"WindowStates/NormalPositionTop", SWindowPlacement::kUnsetPosition, -kEdgeLimit, kEdgeLimit},
    {"WindowStates/NormalPositionRight", SWindowPlacement::kUnsetPosition, -kEdgeLimit, kEdgeLimit},
    {"WindowStates/NormalPositionBottom", SWindowPlacement::kUnsetPosition, -kEdgeLimit,
     kEdgeLimit},
    {"WindowStates/OverrideForeColor", 1, 0, 1},
    {"WindowStates/ForeColor", 0, 0, 0xFFFFFF},
    {"WindowStates/OverrideBackColor", 1, 0, 1},
    {"WindowStates/BackColor", 12648447, 0, 0xFFFFFF},
    {"WindowStates/TimeBLDS", 0, 0, 3},
    {"WindowStates/NutrientTable", 0, 0, 5},
    // A page beyond the last opens the last (CurrentTab() cuts it); a negative one is none.
    {"WindowStates/CurrentTab", 0, 0, kAnyInt},
    {"WindowStates/CurrentSort", 0, 0, 1},
};

} // namespace

std::span<const SIntSetting> CShellSettings::IntSettings() {
    return kIntSettingTable;
}

int CShellSettings::ReadInt(std::string_view key) const {
    const auto entry = std::find_if(std::begin(kIntSettingTable), std::end(kIntSettingTable),
                                    [key](const SIntSetting& s) { return key == s.key; });
    if (entry == std::end(kIntSettingTable))
        return 0; // not a setting of the table: a programming error the table test catches
    const QVariant value =
        m_settings.value(QString::fromLatin1(entry->key, qsizetype(std::strlen(entry->key))));
    if (!value.isValid())
        return entry->fallback;
    bool ok = false;
    const int number = value.toInt(&ok);
    return ok && number >= entry->minimum && number <= entry->maximum ? number : entry->fallback;
}

void CShellSettings::WriteInt(const char* key, int value) {
    m_settings.setValue(QString::fromLatin1(key), value);
    m_settings.sync();
}

SWindowPlacement CShellSettings::ReadPlacement() const {
    SWindowPlacement p;
    p.length = ReadInt("WindowStates/Length");
    p.flags = ReadInt("WindowStates/Flags");
    p.showCmd = ReadInt("WindowStates/ShowCmd");
    p.minPositionX = ReadInt("WindowStates/MinPositionX");
    p.minPositionY = ReadInt("WindowStates/MinPositionY");
    p.maxPositionX = ReadInt("WindowStates/MaxPositionX");
    p.maxPositionY = ReadInt("WindowStates/MaxPositionY");
    p.normal.left = ReadInt("WindowStates/NormalPositionLeft");
    p.normal.top = ReadInt("WindowStates/NormalPositionTop");
    p.normal.right = ReadInt("WindowStates/NormalPositionRight");
    p.normal.bottom = ReadInt("WindowStates/NormalPositionBottom");
    // A rectangle that is partly unset or empty is no saved placement at all.
    const bool anyUnset = p.normal.left == SWindowPlacement::kUnsetPosition ||
                          p.normal.top == SWindowPlacement::kUnsetPosition ||
                          p.normal.right == SWindowPlacement::kUnsetPosition ||
                          p.normal.bottom == SWindowPlacement::kUnsetPosition;
    if (anyUnset || p.normal.Width() <= 0 || p.normal.Height() <= 0)
        p.normal = SWindowPlacement().normal;
    return p;
}

void CShellSettings::WritePlacement(const SWindowPlacement& p) {
    m_settings.setValue(QStringLiteral("WindowStates/Length"), p.length);
    m_settings.setValue(QStringLiteral("WindowStates/Flags"), p.flags);
    m_settings.setValue(QStringLiteral("WindowStates/ShowCmd"), p.showCmd);
    m_settings.setValue(QStringLiteral("WindowStates/MinPositionX"), p.minPositionX);
    m_settings.setValue(QStringLiteral("WindowStates/MinPositionY"), p.minPositionY);
    m_settings.setValue(QStringLiteral("WindowStates/MaxPositionX"), p.maxPositionX);
    m_settings.setValue(QStringLiteral("WindowStates/MaxPositionY"), p.maxPositionY);
    m_settings.setValue(QStringLiteral("WindowStates/NormalPositionLeft"), p.normal.left);
    m_settings.setValue(QStringLiteral("WindowStates/NormalPositionTop"), p.normal.top);
    m_settings.setValue(QStringLiteral("WindowStates/NormalPositionRight"), p.normal.right);
    m_settings.setValue(QStringLiteral("WindowStates/NormalPositionBottom"), p.normal.bottom);
    m_settings.sync();
}

SColorSettings CShellSettings::ReadColors() const {
    SColorSettings c;
    c.overrideFore = ReadInt("WindowStates/OverrideForeColor") != 0;
    c.foreColor = FromColorRef(static_cast<uint32_t>(ReadInt("WindowStates/ForeColor")));
    c.overrideBack = ReadInt("WindowStates/OverrideBackColor") != 0;
    c.backColor = FromColorRef(static_cast<uint32_t>(ReadInt("WindowStates/BackColor")));
    return c;
}

void CShellSettings::WriteColors(const SColorSettings& c) {
    m_settings.setValue(QStringLiteral("WindowStates/OverrideForeColor"), c.overrideFore ? 1 : 0);
    m_settings.setValue(QStringLiteral("WindowStates/OverrideBackColor"), c.overrideBack ? 1 : 0);
    m_settings.setValue(QStringLiteral("WindowStates/ForeColor"),
                        static_cast<int>(ToColorRef(c.foreColor)));
    m_settings.setValue(QStringLiteral("WindowStates/BackColor"),
                        static_cast<int>(ToColorRef(c.backColor)));
    m_settings.sync();
}

int CShellSettings::TimeBLDS() const {
    return ReadInt("WindowStates/TimeBLDS");
}

void CShellSettings::SetTimeBLDS(int value) {
    WriteInt("WindowStates/TimeBLDS", value);
}

int CShellSettings::NutrientTable() const {
    return ReadInt("WindowStates/NutrientTable");
}

void CShellSettings::SetNutrientTable(int value) {
    WriteInt("WindowStates/NutrientTable", value);
}

int CShellSettings::CurrentTab() const {
    // A page beyond the last opens the last; a negative one is no page at all.
    int page = ReadInt("WindowStates/CurrentTab");
    return page < 0 ? 0 : std::min(page, kPageCount - 1);
}

void CShellSettings::SetCurrentTab(int page) {
    WriteInt("WindowStates/CurrentTab", page);
}

int CShellSettings::CurrentSort() const {
    return ReadInt("WindowStates/CurrentSort");
}

void CShellSettings::SetCurrentSort(int mode) {
    WriteInt("WindowStates/CurrentSort", mode);
}

QString CShellSettings::CurrentUserName() const {
    return m_settings.value(QStringLiteral("CurrentUser/Name")).toString();
}

void CShellSettings::SetCurrentUserName(const QString& name) {
    m_settings.setValue(QStringLiteral("CurrentUser/Name"), name);
    m_settings.sync();
}

std::optional<QString> CShellSettings::InstallPathName() const {
    QVariant value = m_settings.value(QStringLiteral("InstallPath/Name"));
    if (!value.isValid())
        return std::nullopt;
    return value.toString();
}

QString CShellSettings::PalmDesktopFolder() const {
    return m_settings.value(QStringLiteral("InstallPath/PalmDesktop")).toString();
}

QString CShellSettings::FoodUpdateAddress(EFoodUpdateChoice choice,
                                          const QString& dataFolder) const {
    const QString key = QStringLiteral("InstallPath/") +
                        QString::fromLatin1(SFoodUpdate::SettingKey(choice).data(),
                                            SFoodUpdate::SettingKey(choice).size());
    const QString address = m_settings.value(key).toString().trimmed();
    if (!address.isEmpty())
        return address;
    // There is no download server: by default the update reads the files shipped with the
    // program, so that it works offline out of the box.
    const std::string_view file = SFoodUpdate::DefaultFileName(choice);
    return QUrl::fromLocalFile(
               QDir(dataFolder).filePath(QString::fromLatin1(file.data(), qsizetype(file.size()))))
        .toString();
}

} // namespace fitquill
