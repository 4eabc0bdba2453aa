# SPDX-License-Identifier: GPL-3.0-or-later
"""A day's journal kept through the accessible tree (run by day_journal_program_test.sh): the
weight, a blood pressure reading, 30 minutes of the first exercise, a note, then Save All.
    day_journal_program_test.py PROGRAM"""

from atspi_driver import Program, keys, main_guard


def test(argv):
    program = Program([argv[0]])
    try:
        window = program.main_window()

        window.find(role="page tab", name="Weight").press()
        window.find(role="text", name="Weight").type("150.5")
        keys("Return")

        window.find(role="page tab", name="Blood Pressure").press()
        for name, value in (("Systolic", "120"), ("Diastolic", "80"), ("Pulse", "72"),
                            ("Time", "7"), ("Minute", "5")):
            window.find(role="text", name=name).type(value)
        keys("Return")

        # The first activity, variant and intensity (low-impact aerobics): minutes, then the
        # Calories button works the calories out and Log logs the exercise.
        window.find(role="page tab", name="Exercise").press()
        window.find(role="text", name="Minutes").type("30")
        window.find(role="push button", name="Calories").press()
        window.find(role="push button", name="Log").press()
        exercises = window.find(role="table", name="Exercise list").table()
        print("exercise list row 1: %r" % [exercises.text(0, c) for c in range(exercises.columns)])

        window.find(role="page tab", name="Daily Journal").press()
        window.find(role="text", name="Daily notes").type("Walked to work")

        window.find(role="push button", name="Save All").press()
    finally:
        program.stop()


main_guard(test)
