# SPDX-License-Identifier: GPL-3.0-or-later
"""Food work through the accessible tree (run by food_program_test.sh): finds "cheddar", logs
the first result into lunch with two servings, saves; then a group, a category and a food item
from the tree's context menu, saves; pictures of each step.
    food_program_test.py PROGRAM GRAB OUTDIR"""

import subprocess

from atspi_driver import Program, assert_named, keys, main_guard, type_text


def test(argv):
    program_path, grab, outdir = argv
    program = Program([program_path])

    def picture(name):
        subprocess.run([grab, "%s/food-%s.png" % (outdir, name)], check=True)

    def dialog_done(title, *strokes):
        keys(*strokes)
        program.wait_gone(title)

    try:
        window = program.main_window()
        find = window.find(role="combo box", name="Find")
        find.find(role="text").type("cheddar")
        keys("Return")
        assert_named(program.window("Find Results"))
        picture("find-results")
        dialog_done("Find Results", "Return")

        # Enter on the tree's selected food (the first result) logs it.
        tree = window.find(name="Food list", where=lambda n: n.role in ("tree", "tree table"))
        tree.focus()
        keys("Return")
        insert = program.window("Insert Food")
        assert_named(insert)
        insert.find(role="text", name="Serving Size").focus()
        keys("ctrl+a")
        type_text("2")
        insert.find(role="combo box", label="Meal Type (BLDS)").focus()
        keys("Down")
        picture("insert-food")
        dialog_done("Insert Food", "Return")
        window.find(role="push button", name="Save All").press()

        # A new group, category and food item through the tree's context menu, from the
        # first group on.
        tree.focus()
        keys("Home", "Menu")
        picture("context-menu")
        keys("g")
        program.window("New Group")
        type_text("Zesty Foods")
        dialog_done("New Group", "Return")
        tree.focus()
        keys("Menu", "a")
        program.window("New Category")
        type_text("Relishes")
        dialog_done("New Category", "Return")
        tree.focus()
        keys("Menu", "f")
        item = program.window("New Food Item")
        assert_named(item)
        item.find(role="text", name="Enter a food name").type("Mango chutney")
        item.find(role="text", name="Serving Size").focus()
        keys("ctrl+a")
        type_text("2")
        item.find(role="text", name="Cal").focus()
        keys("ctrl+a")
        type_text("45")
        picture("new-food-item")
        dialog_done("New Food Item", "Return")

        # The tree is made anew with the new item selected: its tooltip under the mouse.
        tree.find(name="Mango chutney", where=lambda n: n.role in ("table cell", "tree item")).hover()
        picture("tree-tooltip")
        window.find(role="push button", name="Save All").press()
    finally:
        program.stop()


main_guard(test)
