#!/usr/bin/python3
# Types values into the real fitquill-desktop and leaves each box through a command only (Ctrl+S,
# the toolbar's Previous Day, a page tab, closing with Yes), never with Enter or Tab. Controls are
# found by role and accessible name over AT-SPI, never by pixel position. Run by
# typed_values_program_test.sh inside Xvfb and a D-Bus session of its own.
import subprocess

from atspi_driver import Program, keys, main_guard, type_text


def log(text):
    print(text, flush=True)


def type_into(node, text):
    """Clicks into the box, selects what it holds and types over it: no Enter, no Tab."""
    node.click()
    keys("ctrl+a")
    type_text(text)


def day_in_file(tool, journal, date):
    """The dump of one day of the journal file as saved now."""
    dump = subprocess.run([tool, "dump", "--journal", journal], check=True,
                          capture_output=True, text=True).stdout
    text = dump.split("Day ")
    return next((part for part in text if (": " + date + " ") in part.split("\n")[0]), "")


def expect_saved(tool, journal, date, line):
    saved = day_in_file(tool, journal, date)
    if line not in saved:
        raise AssertionError("not in the saved journal on %s: %r\n%s" % (date, line, saved))


def test(argv):
    program_path, tool, journal = argv
    program = Program([program_path])
    try:
        run(program, tool, journal)
    finally:
        program.stop()


def run(program, tool, journal):
    frame = program.main_window()

    # Weight (15 March), then Ctrl+S: the file holds it at once.
    frame.find(role="page tab", name="Weight").press()
    type_into(frame.find(role="text", name="Weight"), "151.5")
    keys("ctrl+s")
    expect_saved(tool, journal, "2024-03-15", "weight: 151.5 lbs")
    log("weight typed, saved with Ctrl+S")

    # Water on the Targets tab (15 March), then Ctrl+S.
    frame.find(role="page tab", name="Targets").press()
    type_into(frame.find(role="spin button", name="Water"), "6")
    keys("ctrl+s")
    expect_saved(tool, journal, "2024-03-15", "water: 6\n")
    log("water typed, saved with Ctrl+S")

    # Systolic (15 March), then the toolbar's Previous Day.
    frame.find(role="page tab", name="Blood Pressure").press()
    type_into(frame.find(role="text", name="Systolic"), "125")
    frame.find(role="push button", name="Previous Day").click()
    log("systolic typed, left with Previous Day")

    # Waist (14 March), then a page tab: the journal is modified at once.
    frame.find(role="page tab", name="Body Measurements").press()
    keys("ctrl+s")  # nothing unsaved before the waist
    type_into(frame.find(role="text", name="Waist"), "33.5")
    frame.find(role="page tab", name="Logbook").press()
    frame.find(role="label", name="MOD")
    log("waist typed, left with the Logbook tab")

    # A note (14 March), a neck measurement, then closing with Yes.
    frame.find(role="page tab", name="Daily Journal").press()
    type_into(frame.find(role="text", name="Daily notes"), "Typed and closed")
    frame.find(role="page tab", name="Body Measurements").press()
    type_into(frame.find(role="text", name="Neck"), "15.5")
    # File > Exit from the keyboard, as a user closes the program.
    keys("alt+f")
    frame.find(role="menu item", name="Exit")
    keys("x")
    program.application().find(role="push button", name="Yes").click()
    try:
        status = program.process.wait(10)
    except subprocess.TimeoutExpired:
        raise AssertionError("the program did not end after closing with Yes")
    if status != 0:
        raise AssertionError("the program ended with status %d" % status)
    log("note and neck typed, closed with Yes")


main_guard(test)
