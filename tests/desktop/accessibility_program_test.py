# SPDX-License-Identifier: GPL-3.0-or-later
"""The real program's accessible tree on a demonstration journal (run by
accessibility_program_test.sh): every page and day entry tab is shown by its tab's action, and on
each one every control that takes the focus must have a name and a role; the meal log read
through the table interface must equal the meal log rows of the fitquill tool (core's report)
for today; Tab must reach the controls we paint; the calendar must say today's full date as its
selected day, and follow the arrow keys.
    accessibility_program_test.py PROGRAM MEAL_LOG_FILE TODAY_LONG NEXT_DAY_LONG"""

import sys

from atspi_driver import Events, Program, keys, main_guard, nameless_controls, wait_until

def unnamed_controls(window, where):
    found, count = nameless_controls(window)
    return ["%s: a focusable %r named %r" % (where, n.role, n.name) for n in found], count


def selected_days(program, window):
    days = []
    for calendar in window.find_all(role="table", where=lambda n: n.table().columns == 7):
        table = calendar.table()
        for row in range(table.rows):
            for column in range(7):
                cell = table.cell(row, column)
                if "selected" in cell.states:
                    days.append(cell.name)
    return days


def test(argv):
    program_path, meal_log_file, today, next_day = argv
    program = Program([program_path])
    try:
        window = program.main_window()
        problems = []
        checked = 0
        # The page tabs, then the day entry tabs (Qt names a tab list after its current tab).
        for tabs in window.find_all(role="page tab list"):
            for tab in tabs.find_all(role="page tab"):
                tab.press()
                wait_until(lambda: "focused" in tab.states, 5, "the %s tab" % tab.name)  # Qt: the current tab
                found, count = unnamed_controls(window, tab.name.strip())
                problems += found
                checked += count
        # The dialogs of the menus, opened by their keys and closed with Escape.
        for what, strokes in (("Colors", ("alt+o", "c")), ("Install", ("alt+o", "i")),
                              ("Export User Data", ("alt+f", "e", "u")),
                              ("Export Food Data", ("alt+f", "e", "f")),
                              ("Delete Range of Days", ("alt+e", "d", "r")),
                              ("Print", ("ctrl+p",))):
            window.activate()
            keys(*strokes)
            dialog = wait_until(lambda: [w for w in program.windows() if w != window], 10,
                                "the %s dialog" % what)[0]
            print("dialog %r opened by %s" % (dialog.name, "+".join(strokes)))
            found, count = unnamed_controls(dialog, "dialog " + dialog.name)
            problems += found
            checked += count
            keys("Escape")
            wait_until(lambda: program.windows() == [window], 10, "the %s dialog to close" % what)
        # The chart dialogs of the Charts tab: their charts say what they show.
        window.find(role="page tab", name="Charts").press()
        for button, expected in (("Weekly", "first "), ("Long Range", "first "),
                                 ("Calories", "3/")):
            window.find(role="push button", name=button).press()
            dialog = wait_until(lambda: [w for w in program.windows() if w != window], 10,
                                "the %s chart" % button)[0]
            chart = dialog.find(role="chart")
            print("%s: chart %r says %r" % (dialog.name, chart.name, chart.description))
            if not chart.name or not chart.description.startswith(expected):
                raise AssertionError("the %s chart says too little" % button)
            found, count = unnamed_controls(dialog, "dialog " + dialog.name)
            problems += found
            checked += count
            dialog.activate()
            keys("Escape")
            wait_until(lambda: program.windows() == [window], 10, "the %s chart to close" % button)
        print("%d focusable controls checked over the pages, day entry tabs and dialogs" % checked)
        if problems:
            print(window.tree())
            raise AssertionError("controls without a name or role:\n  " + "\n  ".join(problems))

        # The meal log through the table interface, against core's rows for today.
        window.find(role="page tab", name="Meal Log").press()
        grid = window.find(role="table", name="Meal Log")
        table = grid.table()
        with open(meal_log_file, encoding="utf-8", errors="replace") as rows_file:
            expected = [line.rstrip("\n").split("\t") for line in rows_file if line.strip()]
        print("meal log: %d rows in the table, %d rows from the report; header %r" %
              (table.rows, len(expected), table.header(1)))
        if table.rows < len(expected):
            raise AssertionError("the table has %d rows, the report %d" % (table.rows, len(expected)))
        foods = 0
        for row, cells in enumerate(expected):
            # The page shows a row's texts up to its protein (calories, carbohydrate, protein:
            # the first of the two nutrient views).
            shown = next((i + 1 for i, cell in enumerate(cells) if cell.endswith("Prot")),
                         len(cells))
            want = ", ".join(" ".join(cell.split()) for cell in cells[:shown])
            got = table.text(row, 1)
            if got != want:
                raise AssertionError("meal log row %d reads %r, the report has %r" % (row + 1, got, want))
            if len(cells) >= 3 and cells[2].endswith("Cal") and cells[0] != "Totals":
                foods += 1
        if table.text(len(expected), 1) != "" or foods == 0:
            raise AssertionError("no food rows, or text past the report's rows")
        print("meal log: %d food rows read through the table match the report, e.g. %r" %
              (foods, table.text(1, 1)))

        # Tab reaches the controls we paint: from the grid on, the calendars, the day entry
        # tabs and the food tree; Shift+Tab from the page the page tabs.
        targets = {"page tabs": window.find_all(role="page tab list")[0], "meal log": grid,
                   "day entry tabs": window.find_all(role="page tab list")[1],
                   "food tree": window.find(role="tree", name="Food list")}
        for number, calendar in enumerate(
                window.find_all(role="table", where=lambda n: n.table().columns == 7)):
            targets["calendar %d" % (number + 1)] = calendar
        reached = set()
        for key in ("Tab", "shift+Tab"):
            grid.focus()
            for _ in range(60):
                keys(key)
                reached |= {name for name, node in targets.items() if "focused" in node.states}
                if len(reached) == len(targets) or "focused" in grid.states:
                    break
        print("reached with Tab: %s" % sorted(reached))
        if len(reached) != len(targets):
            raise AssertionError("Tab never reached %s" % sorted(set(targets) - reached))

        # The calendar: today selected, named by its full date; the arrow keys move it.
        days = selected_days(program, window)
        print("selected calendar days: %r" % days)
        if days != [today]:
            raise AssertionError("the calendar's selected day is %r, not %r" % (days, today))
        calendar = window.find(role="table", where=lambda n: n.table().columns == 7 and any(
            "selected" in n.table().cell(r, c).states for r in range(n.table().rows) for c in range(7)))
        calendar.focus()
        with Events("object:state-changed:focused") as events:
            keys("Right")
            events.wait(lambda heard: ("object:state-changed:focused", "table cell", next_day, 1)
                        in heard, 5, "the focus on %s" % next_day)
            print("heard: %r" % events.heard[-3:])
        wait_until(lambda: selected_days(program, window) == [next_day], 5,
                   "the calendar to select %s" % next_day)
        focus = calendar.find_all(where=lambda n: "focused" in n.states)
        print("after Right: %r, focused cell %r" % (selected_days(program, window),
                                                    [n.name for n in focus]))
        if [n.name for n in focus] != [next_day]:
            raise AssertionError("the focused cell is %r" % [n.name for n in focus])
    finally:
        program.stop()


main_guard(test)
