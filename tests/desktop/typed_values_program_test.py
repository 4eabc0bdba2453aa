#!/usr/bin/python3
# Types values into the real fitquill-desktop and leaves each box through a command only (Ctrl+S,
# the toolbar's Previous Day, a page tab, closing with Yes), never with Enter or Tab. Controls are
# found by role and accessible name over AT-SPI, never by pixel position. Run by
# typed_values_program_test.sh inside Xvfb and a D-Bus session of its own.
import subprocess
import sys
import time

import pyatspi


def log(text):
    print(text, flush=True)


def application(timeout=30):
    end = time.time() + timeout
    while time.time() < end:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and "fitquill" in (app.name or "").lower():
                return app
        time.sleep(0.2)
    sys.exit("the program did not show up over AT-SPI")


def find(root, role, name, timeout=10):
    """The first showing control of that role (None: any) and accessible name below root."""
    end = time.time() + timeout
    while time.time() < end:
        found = pyatspi.findDescendant(
            root,
            lambda a: a is not None
            and (role is None or a.getRoleName() == role)
            and (a.name or "").replace("&", "") == name
            and a.getState().contains(pyatspi.STATE_SHOWING),
            breadth_first=True,
        )
        if found is not None:
            return found
        time.sleep(0.2)
    sys.exit("no %s named %r" % (role, name))


def xdotool(*words):
    subprocess.run(["xdotool", *words], check=True)
    time.sleep(0.4)


def click(accessible):
    box = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    xdotool("mousemove", str(box.x + box.width // 2), str(box.y + box.height // 2), "click", "1")


def press_tab(frame, name):
    """Switches to a tab through its accessible action (the tab may be scrolled out of view)."""
    find(frame, "page tab", name).queryAction().doAction(0)
    time.sleep(0.5)


def type_into(accessible, text):
    """Clicks into the box, selects what it holds and types over it: no Enter, no Tab."""
    click(accessible)
    xdotool("key", "ctrl+a")
    xdotool("type", "--delay", "40", text)


def day_in_file(tool, journal, date):
    """The dump of one day of the journal file as saved now."""
    dump = subprocess.run([tool, "dump", "--journal", journal], check=True,
                          capture_output=True, text=True).stdout
    text = dump.split("Day ")
    return next((part for part in text if (": " + date + " ") in part.split("\n")[0]), "")


def expect_saved(tool, journal, date, line):
    saved = day_in_file(tool, journal, date)
    if line not in saved:
        sys.exit("not in the saved journal on %s: %r\n%s" % (date, line, saved))


def main():
    tool, journal = sys.argv[1], sys.argv[2]
    app = application()
    frame = find(app, "frame", "Fitquill Desktop", 30)

    # Weight (15 March), then Ctrl+S: the file holds it at once.
    press_tab(frame, "Weight")
    type_into(find(frame, "text", "Weight"), "151.5")
    xdotool("key", "ctrl+s")
    expect_saved(tool, journal, "2024-03-15", "weight: 151.5 lbs")
    log("weight typed, saved with Ctrl+S")

    # Water on the Targets tab (15 March), then Ctrl+S.
    press_tab(frame, "Targets")
    type_into(find(frame, "spin button", "Water"), "6")
    xdotool("key", "ctrl+s")
    expect_saved(tool, journal, "2024-03-15", "water: 6\n")
    log("water typed, saved with Ctrl+S")

    # Systolic (15 March), then the toolbar's Previous Day.
    press_tab(frame, "Blood Pressure")
    type_into(find(frame, "text", "Systolic"), "125")
    click(find(frame, "push button", "Previous Day"))
    log("systolic typed, left with Previous Day")

    # Waist (14 March), then a page tab: the journal is modified at once.
    press_tab(frame, "Body Measurements")
    xdotool("key", "ctrl+s")  # nothing unsaved before the waist
    type_into(find(frame, "text", "Waist"), "33.5")
    press_tab(frame, "Logbook")
    find(frame, "label", "MOD")
    log("waist typed, left with the Logbook tab")

    # A note (14 March), a neck measurement, then closing with Yes.
    press_tab(frame, "Daily Journal")
    type_into(find(frame, "text", "Daily notes"), "Typed and closed")
    press_tab(frame, "Body Measurements")
    type_into(find(frame, "text", "Neck"), "15.5")
    # File > Exit from the keyboard, as a user closes the program.
    xdotool("key", "alt+f")
    find(frame, "menu item", "Exit")
    xdotool("key", "x")
    click(find(app, "push button", "Yes"))
    log("note and neck typed, closed with Yes")


if __name__ == "__main__":
    main()
