# SPDX-License-Identifier: GPL-3.0-or-later
"""A new user's diet plan entered through the accessible tree (run by
diet_plan_program_test.sh): age 40, height 5 ft 7 in, weights 180 and 170 lbs, the goal date
two weeks after the day after the start (the date dialog's calendar by keyboard), the "Low Fat"
plan, Save All; pictures of the pages on the way.
    diet_plan_program_test.py PROGRAM GRAB OUTDIR"""

import re
import subprocess

from atspi_driver import Program, assert_named, keys, main_guard


def test(argv):
    program_path, grab, outdir = argv
    program = Program([program_path])

    def picture(name):
        subprocess.run([grab, "%s/page-%s.png" % (outdir, name)], check=True)

    try:
        window = program.main_window()
        window.find(role="page tab", name="Diet Plan").press()
        window.find(role="text", name="Age").type("40")
        window.find(role="combo box", label="Height").focus()
        keys("5")
        window.find(role="combo box", label="in").focus()
        keys("7")
        window.find(role="text", name="Start").type("180")
        keys("Tab")
        window.find(role="text", name="Goal").type("170")
        keys("Tab")
        # The goal's "Set Date..." button, the second of the two.
        window.find_all(role="push button", name="Set Date...")[1].press()
        dialog = program.window("Target Date")
        assert_named(dialog)
        dialog.find(role="table").focus()
        keys("Down", "Down")
        keys("Return")
        program.wait_gone("Target Date")
        picture("diet-plan")

        window.find(role="push button", name="Next >>").press()
        # The bus's action on the radio button, as a screen reader chooses.
        window.find(role="radio button", name=re.compile("^Low Fat")).press()
        picture("diet-plan-step3")
        window.find(role="push button", name="Save All").press()
        for tab, name in (("Logbook", "logbook"), ("Summary Table", "summary-table"),
                          ("Nutrient Tables", "nutrient-tables")):
            window.find(role="page tab", name=tab).press()
            picture(name)
            if tab == "Logbook":
                text = window.find(role="document frame", name="Logbook").text
                print("the Logbook page reads:\n%s" % text)
                if "Target Date: Saturday March 30, 2024" not in text.splitlines():
                    raise AssertionError("the Logbook document lacks the target date")
    finally:
        program.stop()


main_guard(test)
