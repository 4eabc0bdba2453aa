// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/document/shell_settings.h"

#include <QDir>
#include <QGuiApplication>
#include <QPalette>
#include <QUrl>

#include <algorithm>

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

int CShellSettings::ReadInt(const char* key, int fallback) const {
    QVariant value = m_settings.value(QString::fromLatin1(key));
    if (!value.isValid())
        return fallback;
    bool ok = false;
    int number = value.toInt(&ok);
    return ok ? number : fallback;
}

void CShellSettings::WriteInt(const char* key, int value) {
    m_settings.setValue(QString::fromLatin1(key), value);
    m_settings.sync();
}

SWindowPlacement CShellSettings::ReadPlacement() const {
    SWindowPlacement p;
    p.length = ReadInt("WindowStates/Length", p.length);
    p.flags = ReadInt("WindowStates/Flags", p.flags);
    p.showCmd = ReadInt("WindowStates/ShowCmd", p.showCmd);
    p.minPositionX = ReadInt("WindowStates/MinPositionX", p.minPositionX);
    p.minPositionY = ReadInt("WindowStates/MinPositionY", p.minPositionY);
    p.maxPositionX = ReadInt("WindowStates/MaxPositionX", p.maxPositionX);
    p.maxPositionY = ReadInt("WindowStates/MaxPositionY", p.maxPositionY);
    p.normal.left = ReadInt("WindowStates/NormalPositionLeft", p.normal.left);
    p.normal.top = ReadInt("WindowStates/NormalPositionTop", p.normal.top);
    p.normal.right = ReadInt("WindowStates/NormalPositionRight", p.normal.right);
    p.normal.bottom = ReadInt("WindowStates/NormalPositionBottom", p.normal.bottom);
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
    c.overrideFore = ReadInt("WindowStates/OverrideForeColor", 1) != 0;
    c.foreColor = FromColorRef(static_cast<uint32_t>(ReadInt("WindowStates/ForeColor", 0)));
    c.overrideBack = ReadInt("WindowStates/OverrideBackColor", 1) != 0;
    c.backColor = FromColorRef(static_cast<uint32_t>(ReadInt("WindowStates/BackColor", 12648447)));
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
    return ReadInt("WindowStates/TimeBLDS", 0);
}

void CShellSettings::SetTimeBLDS(int value) {
    WriteInt("WindowStates/TimeBLDS", value);
}

int CShellSettings::NutrientTable() const {
    return ReadInt("WindowStates/NutrientTable", 0);
}

void CShellSettings::SetNutrientTable(int value) {
    WriteInt("WindowStates/NutrientTable", value);
}

int CShellSettings::CurrentTab() const {
    // A page beyond the last opens the last; a negative one is no page at all.
    int page = ReadInt("WindowStates/CurrentTab", 0);
    return page < 0 ? 0 : std::min(page, kPageCount - 1);
}

void CShellSettings::SetCurrentTab(int page) {
    WriteInt("WindowStates/CurrentTab", page);
}

int CShellSettings::CurrentSort() const {
    return ReadInt("WindowStates/CurrentSort", 0);
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
