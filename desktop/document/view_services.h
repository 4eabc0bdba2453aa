// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

class QWidget;

namespace fitquill {

// What a food dialog opened from the meal log did.
struct SFoodDialogResult {
    bool accepted = false;      // "Log" / OK was pressed and the day changed
    bool foodDBChanged = false; // the food database changed, even when the dialog was cancelled
    int position = -1;          // the entry's index in the day's display order of sortMode
};

// The services the frame provides to the windows below it, held by the document.

// The food dialogs that the meal log opens. The food editor provides them and the frame
// registers them with the document, so that the meal log and the food editor build and test
// apart and a test can put its own in their place.
class IFoodDialogs {
public:
    virtual ~IFoodDialogs() = default;
    // The browse "Insert Food" dialog for the document's current day; sortMode is the meal
    // log's sort order (0 by meal, 1 alphabetical), in which position is given back.
    virtual SFoodDialogResult InsertFood(QWidget* parent, int sortMode) = 0;
    // "Edit Food" for the current day's entry at position of the display order of sortMode.
    virtual SFoodDialogResult EditFood(QWidget* parent, int position, int sortMode) = 0;
};

// The chart dialogs that the Charts tab opens; the frame registers them with the document.
class IChartDialogs {
public:
    virtual ~IChartDialogs() = default;
    // "History Chart" in weight chart mode; duration 0 week, 1 month.
    virtual void ShowWeightChart(QWidget* parent, int duration) = 0;
    // "History Chart" in histogram mode for nutrient slot 0-5 (calories ... saturated fat).
    virtual void ShowHistogram(QWidget* parent, int nutrient) = 0;
    // The "Historic Weight" dialog with the period chosen last.
    virtual void ShowHistoricWeight(QWidget* parent) = 0;
    // The "Daily" weight-for-height pane shown inside the Charts tab; its "Close" button calls
    // onClose. The caller owns the widget.
    virtual QWidget* CreateDailyChart(QWidget* parent, std::function<void()> onClose) = 0;
};

// The main frame's command routing, for windows that put commands on their own context menus
// or change what the toolbar enables; the frame registers it with the document, so that those
// windows never include the frame.
class ICommandRouter {
public:
    virtual ~ICommandRouter() = default;
    // Runs a command on its normal route: the first handler that takes it decides.
    virtual void RunCommand(int id) = 0;
    virtual bool IsCommandEnabled(int id) = 0;
    // Enables and disables the menu and toolbar commands anew.
    virtual void UpdateCommandStates() = 0;
};

} // namespace fitquill
