// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/food/food_update.h"
#include <QColor>

#include <QSettings>
#include <QString>

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace fitquill {

// A rectangle as left, top, right and bottom edges (right and bottom exclusive), as the
// window placement settings store it.
struct SEdges {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const SEdges&) const = default;
};

// The saved placement of the main window.
struct SWindowPlacement {
    static constexpr int kUnsetPosition = 2147483647;
    static constexpr int kShowNormal = 1;
    static constexpr int kShowMinimized = 2;
    static constexpr int kShowMaximized = 3;

    int length = 44;
    int flags = 0;
    int showCmd = kShowNormal;
    int minPositionX = -1;
    int minPositionY = -1;
    int maxPositionX = -1;
    int maxPositionY = -1;
    SEdges normal{kUnsetPosition, kUnsetPosition, kUnsetPosition, kUnsetPosition};

    // False while all four normal-position values still hold their default.
    bool HasNormalPosition() const;
};

// Text and background colours of the pages, each used only while its override is on.
struct SColorSettings {
    bool overrideFore = true;
    QColor foreColor{0, 0, 0};
    bool overrideBack = true;
    QColor backColor{255, 255, 192};
    bool operator==(const SColorSettings&) const = default;
};

// The colours a setting stands for: the custom colour while its override is on, else the
// system's window-text and window colours. Needs a QGuiApplication.
QColor EffectiveTextColor(const SColorSettings& colors);
QColor EffectiveBackColor(const SColorSettings& colors);

// A colour as the settings store it: 0x00BBGGRR.
uint32_t ToColorRef(const QColor& color);
QColor FromColorRef(uint32_t value);

// An integer setting the program reads, with the values it accepts: anything missing,
// unreadable or outside minimum..maximum reads as the default.
struct SIntSetting {
    const char* key;
    int fallback;
    int minimum;
    int maximum;
};

// The program's per-user settings, QSettings("Quorvel", "Fitquill"), with their defaults.
// Missing or unreadable values read as their defaults. Every write is flushed at once, so
// that a program that ends abruptly (the fatal error path) keeps what it wrote.
class CShellSettings {
public:
    static constexpr const char* kOrganization = "Quorvel";
    static constexpr const char* kApplication = "Fitquill";
    static constexpr int kPageCount = 6;

    CShellSettings();

    SWindowPlacement ReadPlacement() const;
    void WritePlacement(const SWindowPlacement& placement);

    SColorSettings ReadColors() const;
    void WriteColors(const SColorSettings& colors);

    int TimeBLDS() const;
    void SetTimeBLDS(int value);
    int NutrientTable() const;
    void SetNutrientTable(int value);
    // The selected page, cut to 0..5.
    int CurrentTab() const;
    void SetCurrentTab(int page);
    int CurrentSort() const;
    void SetCurrentSort(int mode);

    QString CurrentUserName() const;
    void SetCurrentUserName(const QString& name);

    // The installation folder ("InstallPath", "Name"); nothing when it is not set.
    std::optional<QString> InstallPathName() const;
    // The Palm Desktop folder that holds the HotSync users ("InstallPath", "PalmDesktop");
    // empty when not set.
    QString PalmDesktopFolder() const;
    // The download address of an automatic food-data update choice: the setting
    // ("InstallPath", "FoodDBExtensions" or "FoodDB") when present, else the file: URL of the
    // file shipped in the data folder.
    QString FoodUpdateAddress(EFoodUpdateChoice choice, const QString& dataFolder) const;

    QSettings& Store() { return m_settings; }

    // Every integer setting the program reads, in one table.
    static std::span<const SIntSetting> IntSettings();
    // The value of a setting of that table, its default when out of range.
    int ReadInt(std::string_view key) const;

private:
    void WriteInt(const char* key, int value);

    mutable QSettings m_settings;
};

} // namespace fitquill
