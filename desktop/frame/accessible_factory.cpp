// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/frame/accessible_factory.h"

#include "desktop/frame/diet_view.h"
#include "desktop/frame/page_tab_ctrl.h"
#include "desktop/views/charts/chart_painting.h"
#include "desktop/views/diet_plan_page.h"
#include "desktop/views/logbook_page.h"
#include "desktop/views/section_page_accessible.h"
#include "desktop/widgets/accessible_names.h"
#include "desktop/widgets/accessible_tables.h"
#include "desktop/widgets/grid_ctrl.h"
#include "desktop/widgets/month_calendar.h"

#include <QAccessible>
#include <QApplication>

namespace fitquill {
namespace {

QAccessibleInterface* PaintedControlInterface(const QString&, QObject* object) {
    if (!object || !object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (auto* grid = qobject_cast<CGridCtrl*>(widget))
        return new CPaintedTableAccessible(widget, MakeGridTable(*grid));
    if (auto* calendar = qobject_cast<CMonthCalendar*>(widget))
        return new CPaintedTableAccessible(widget, MakeCalendarTable(*calendar));
    if (auto* logbook = qobject_cast<CLogbookPage*>(widget))
        return new CSectionDocumentAccessible(widget,
                                              [logbook] { return logbook->ShownSections(); });
    if (qobject_cast<CChartArea*>(widget))
        return new QAccessibleWidget(widget, QAccessible::Chart);
    // Containers that take the focus to hand it to what they hold: panes, not fillers.
    if (qobject_cast<CDietView*>(widget) || qobject_cast<CPageTabCtrl*>(widget) ||
        qobject_cast<CDietPlanPage*>(widget))
        return new QAccessibleWidget(widget, QAccessible::Pane);
    return nullptr;
}

} // namespace

void InstallAccessibleFactory() {
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(PaintedControlInterface);
    if (qApp)
        qApp->installEventFilter(new CAccessibleNamer(qApp));
}

} // namespace fitquill
