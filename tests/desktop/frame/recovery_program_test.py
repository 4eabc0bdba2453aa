# SPDX-License-Identifier: GPL-3.0-or-later
"""One run of the real program for recovery_program_test.sh, driven through its accessible tree.
    recovery_program_test.py type PROGRAM COPY      types today's weight, waits for the recovery
                                                   copy and kills the program (SIGKILL)
    recovery_program_test.py restore PROGRAM COPY   answers the restore question Yes, Save All,
                                                   and waits for the copy to go"""

import os

from atspi_driver import Program, main_guard, wait_until, keys


def test(argv):
    mode, program_path, copy = argv
    program = Program([program_path])
    try:
        if mode == "type":
            window = program.main_window()
            window.find(role="page tab", name="Weight").press()
            window.find(role="text", name="Weight").type("163.4")
            keys("Return")
            wait_until(lambda: os.path.exists(copy), 15, "the recovery copy")
            print("recovery copy written")
            program.kill()
            return
        # The question comes before the main window.
        yes = program.application().find(role="push button", name="Yes", timeout=30)
        print("question: %r" % yes.window().name)
        yes.press()
        window = program.main_window()
        window.find(role="push button", name="Save All").press()
        wait_until(lambda: not os.path.exists(copy), 15, "Save All to remove the copy")
    finally:
        if program.process.poll() is None:
            program.stop()


main_guard(test)
