# SPDX-License-Identifier: GPL-3.0-or-later
"""Drives the real fitquill-desktop through its accessible tree (AT-SPI), never by position.

Run it with /usr/bin/python3 (Debian's python3-pyatspi; a python3 earlier on PATH may lack it)
inside `dbus-run-session` on an X display (Xvfb), with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1.
The shell side is atspi_session.sh beside this file: sourced after real_program_world.sh (the
private home, settings and Palm Desktop folder), its atspi_run SCRIPT ARGS... sets all of that up
and runs one Python test script. A test is a pair, as day_journal_program_test.sh/.py:

    # my_program_test.sh PROGRAM TOOL
    source "$(dirname "$0")/../real_program_world.sh"
    source "$(dirname "$0")/../atspi_session.sh"
    atspi_run "$(dirname "$0")/my_program_test.py" "$1" || exit 1
    # ... then check the saved files with the fitquill tool

    # my_program_test.py
    from atspi_driver import Program, keys, main_guard
    def test(argv):
        program = Program([argv[0]])
        try:
            window = program.main_window()
            window.find(role="page tab", name="Weight").press()
            window.find(role="text", name="Weight").type("150.5")
            keys("Return")
            window.find(role="push button", name="Save All").press()
        finally:
            program.stop()
    main_guard(test)

Register it with fitquill_add_program_test (tests/desktop/CMakeLists.txt): it runs at the first
start's window size and at 1200x900 and 900x700.

Names: input boxes are named after the caption before them ("Weight:" names "Weight"); Qt names
a combo box by its value, so find combo boxes by label= instead; a page tab list is named after
its current tab; the grids and calendars are "table"s, their cells "table cell"s (calendar
days named "Friday March 15, 2024"), the Logbook a "document frame", charts "chart"s with a
description. Qt 6.4 does not publish object names: find by role and name.

API (all waits poll the tree; a control not found in time raises LookupError with the tree of
the window searched, so a failing test shows what was there):

  program = Program(argv, size=None)    start the program; size "WxH" (default: the environment's
                                        FITQUILL_WINDOW_SIZE, else the program's own) resizes the
                                        main window once it is shown
  program.main_window(timeout=30)       the main window's Node, shown at its full size
  program.window(name, timeout=15)      a top-level window (dialog) by its exact title or a regex
  program.wait_gone(name, timeout=15)   until no top-level window of that title is shown
  program.windows()                     the shown top-level windows
  program.application()                 the program's application node (all its windows)
  program.stop() / program.kill()       end it (SIGTERM and wait / SIGKILL)

  node.find(role=None, name=None, timeout=10, showing=True, where=None)
                                        first descendant matching; role is AT-SPI's role name
                                        ("push button", "table", "page tab", "text", ...), name
                                        an exact string or a compiled regex, where a predicate;
                                        label= matches the text of a label that labels the node
                                        (without "&" and the colon): combo boxes are named by
                                        their value, and labelled by their caption
  node.find_all(role=None, name=None, showing=True, where=None, descend=None)
                                        every match, tree order; descend(node) false keeps the
                                        search out of that node's children (a table's cells)
  node.name, node.role, node.description, node.states (set of state names: "focused", ...)
  node.labels                           the texts of the labels that label the node
  node.children, node.parent
  node.extents()                        (x, y, width, height) on the screen
  node.activate()                       give the node's top-level window the keyboard
  node.focus()                          activate, then move the keyboard focus to the node (asked
                                        over the bus, else by Tab through the window)
  node.click(button=1)                  a mouse click at the node's centre, wherever it lies now
  node.hover(seconds=2)                 the mouse over the node's centre (for a tooltip)
  node.press()                          the node's default action ("Press", "Toggle", ...)
  node.type(text)                       focus, then type text as keystrokes
  node.text                             the text of a text interface (editable boxes, pages)
  node.set_text(text)                   replace an editable text's contents
  node.table()                          Table: .rows, .columns, .header(c), .cell(r, c) (Node),
                                        .text(r, c) (the cell's name), .selected_rows()
  node.tree()                           the subtree as indented "role | name" lines (a table
                                        as its size)
  keys(*names)                          keystrokes to the focused window (xdotool key names)
  type_text(text)                       text as keystrokes to the focused window
  focused(root)                         the descendant that has the keyboard focus, or None
  nameless_controls(root)               (focusable controls without a name or telling role,
                                        number of focusable controls checked)
  assert_named(root)                    fails on any such control (a dialog, a window)
  with Events(*types) as events:        records the program's events of those AT-SPI types
      ...; events.wait(predicate)       ("object:state-changed:focused"): dispatches them until
                                        predicate(list of (type, role, name, detail1)) holds
  wait_until(predicate, timeout, what)  poll predicate until true, else raise AssertionError
  main_guard(test)                      runs test(sys.argv[1:]); a failure exits 1 with its text
"""

import os
import re
import signal
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

POLL_SECONDS = 0.1


def wait_until(predicate, timeout=10, what="condition"):
    end = time.monotonic() + timeout
    while True:
        try:
            result = predicate()
        except Exception:  # the tree changes under us while a window builds
            result = None
        if result:
            return result
        if time.monotonic() >= end:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(POLL_SECONDS)


def _xdotool(*args):
    return subprocess.run(["xdotool", *args], check=True, capture_output=True, text=True).stdout


def keys(*names):
    """Keystrokes (xdotool names: "Tab", "shift+Tab", "ctrl+s", "Return") to the focused window."""
    _xdotool("key", "--delay", "60", *names)
    time.sleep(0.3)


def type_text(text):
    _xdotool("type", "--delay", "40", text)
    time.sleep(0.2)


def _label_text(text):
    """A label's text as the program names controls by it: no "&", no trailing colon."""
    return re.sub(r"&(?!&)", "", text).strip().rstrip(":").strip()


def _matches(value, wanted):
    if wanted is None:
        return True
    if isinstance(wanted, re.Pattern):
        return wanted.search(value or "") is not None
    return value == wanted


class Node:
    """One accessible object of the program."""

    def __init__(self, accessible, program=None):
        self.acc = accessible
        self.program = program

    def __repr__(self):
        return "[%s | %s]" % (self.role, self.name)

    def __eq__(self, other):
        return isinstance(other, Node) and self.acc == other.acc

    def __hash__(self):
        return hash(self.acc)

    # --- Properties, read live (the client cache is cleared: the program changes them) ---
    def _fresh(self):
        try:
            self.acc.clear_cache()
        except Exception:
            pass
        return self.acc

    @property
    def name(self):
        return self._fresh().get_name() or ""

    @property
    def role(self):
        return self._fresh().get_role_name() or ""

    @property
    def description(self):
        return self._fresh().get_description() or ""

    @property
    def states(self):
        state_set = self._fresh().get_state_set()
        names = set()
        for state in state_set.get_states():
            names.add(state.value_nick.replace("-", " "))
        return names

    @property
    def labels(self):
        """The names of the labels that label this node (a combo box's name is its value)."""
        names = []
        for relation in self._fresh().get_relation_set() or []:
            if relation.get_relation_type() == Atspi.RelationType.LABELLED_BY:
                for i in range(relation.get_n_targets()):
                    target = relation.get_target(i)
                    if target is not None:
                        names.append(target.get_name() or "")
        return names

    @property
    def children(self):
        acc = self._fresh()
        result = []
        for i in range(acc.get_child_count()):
            child = acc.get_child_at_index(i)
            if child is not None:
                result.append(Node(child, self.program))
        return result

    @property
    def parent(self):
        parent = self._fresh().get_parent()
        return Node(parent, self.program) if parent is not None else None

    def extents(self):
        rect = self.acc.get_extents(Atspi.CoordType.SCREEN)
        return rect.x, rect.y, rect.width, rect.height

    # --- Searching ---
    def _walk(self, showing, descend=None):
        stack = [self]
        while stack:
            node = stack.pop()
            yield node
            if descend is not None and node is not self and not descend(node):
                continue
            kids = node.children
            if showing:
                kids = [k for k in kids if "showing" in k.states]
            stack.extend(reversed(kids))

    def find_all(self, role=None, name=None, showing=True, where=None, descend=None, label=None):
        found = []
        for node in self._walk(showing, descend):
            if node is self:
                continue
            if _matches(node.role, role) and _matches(node.name, name) and (
                where is None or where(node)
            ) and (label is None or any(_matches(_label_text(t), label) for t in node.labels)):
                found.append(node)
        return found

    def find(self, role=None, name=None, timeout=10, showing=True, where=None, label=None):
        end = time.monotonic() + timeout
        while True:
            try:
                found = self.find_all(role, name, showing, where, label=label)
            except Exception:
                found = []
            if found:
                return found[0]
            if time.monotonic() >= end:
                raise LookupError(
                    "no %r named %r under %r; the tree:\n%s"
                    % (role, name if not isinstance(name, re.Pattern) else name.pattern, self,
                       self.tree())
                )
            time.sleep(POLL_SECONDS)

    def tree(self, depth=0, showing=True):
        lines = ["%s%s | %s" % ("  " * depth, self.role, self.name)]
        if self.role == "table":  # thousands of cells say little
            table = self.table()
            lines[0] += " (%d rows, %d columns)" % (table.rows, table.columns)
            return lines[0]
        for child in self.children:
            if showing and "showing" not in child.states:
                continue
            lines.append(child.tree(depth + 1, showing))
        return "\n".join(lines)

    # --- Acting ---
    def window(self):
        node = self
        while True:
            parent = node.parent
            if parent is None or parent.role == "application":
                return node
            node = parent

    def activate(self):
        """Gives this node's top-level window the keyboard (there is no window manager)."""
        title = self.window().name
        for window_id in _xdotool("search", "--onlyvisible", "--name",
                                  "^%s$" % re.escape(title)).split():
            subprocess.run(["xdotool", "windowfocus", "--sync", window_id], capture_output=True)
            time.sleep(0.2)
            return

    def focus(self):
        """Moves the keyboard focus here: by the accessibility bus where the control offers it,
        else with Tab through the window, as a keyboard user would (Qt's combo boxes)."""
        self.activate()
        if "focused" in self.states:
            return
        try:
            self.acc.grab_focus()
            wait_until(lambda: "focused" in self.states, 1, "focus")
            return
        except Exception:
            pass
        for _ in range(120):
            _xdotool("key", "Tab")
            time.sleep(0.05)
            if "focused" in self.states:
                time.sleep(0.2)
                return
        raise AssertionError("no focus on %r, neither asked for nor by Tab" % self)

    def click(self, button=1):
        x, y, width, height = self.extents()
        if width <= 0 or height <= 0:
            raise AssertionError("%r is not on the screen" % self)
        _xdotool("mousemove", "--sync", str(x + width // 2), str(y + height // 2),
                 "click", str(button))
        time.sleep(0.4)

    def hover(self, seconds=2):
        x, y, width, height = self.extents()
        _xdotool("mousemove", "--sync", str(x + width // 2), str(y + height // 2))
        time.sleep(seconds)

    def press(self, action=None):
        count = self.acc.get_n_actions()
        names = [self.acc.get_action_name(i) for i in range(count)]
        wanted = [action] if action else ["Press", "press", "Toggle", "toggle", "click"]
        for want in wanted:
            if want in names:
                self.acc.do_action(names.index(want))
                time.sleep(0.4)
                return
        raise AssertionError("%r has no action %s (it has %s)" % (self, wanted, names))

    def type(self, text):
        self.focus()
        type_text(text)

    @property
    def text(self):
        acc = self._fresh()
        count = acc.get_character_count()
        return acc.get_text(0, count) if count > 0 else ""

    def set_text(self, text):
        if not self.acc.set_text_contents(text):
            raise AssertionError("%r refused the text %r" % (self, text))

    def table(self):
        return Table(self)


class Table:
    """The table interface of a node: a grid, a calendar."""

    def __init__(self, node):
        self.node = node
        self.acc = node.acc

    @property
    def rows(self):
        return self.node._fresh().get_n_rows()

    @property
    def columns(self):
        return self.node._fresh().get_n_columns()

    def header(self, column):
        header = self.acc.get_column_header(column)
        return Node(header).name if header is not None else ""

    def cell(self, row, column):
        cell = self.acc.get_accessible_at(row, column)
        if cell is None:
            raise LookupError("no cell %d, %d in %r" % (row, column, self.node))
        return Node(cell, self.node.program)

    def text(self, row, column):
        return self.cell(row, column).name

    def selected_rows(self):
        return list(self.acc.get_selected_rows())


class Events:
    """Records the program's events of some types (AT-SPI names, such as
    "object:state-changed:focused") while in a with block: what a screen reader hears."""

    def __init__(self, *types):
        self.types = types
        self.heard = []  # (event type, source's role, source's name, detail1)
        self._listener = Atspi.EventListener.new(self._record)

    def _record(self, event):
        try:
            self.heard.append((event.type, event.source.get_role_name(),
                               event.source.get_name(), event.detail1))
        except Exception:
            pass

    def __enter__(self):
        for event_type in self.types:
            self._listener.register(event_type)
        return self

    def __exit__(self, *exc):
        for event_type in self.types:
            self._listener.deregister(event_type)

    def wait(self, predicate, timeout=5, what="an event"):
        """Dispatches arriving events until predicate(heard) holds."""
        context = GLib.MainContext.default()
        end = time.monotonic() + timeout
        while not predicate(self.heard):
            if time.monotonic() >= end:
                raise AssertionError("never heard %s; heard %r" % (what, self.heard[-10:]))
            while context.iteration(False):
                pass
            time.sleep(0.05)
        return self.heard


# Roles that say nothing of what a control is: a self-painted widget without an interface.
NO_ROLE = {"unknown", "invalid", "filler", "redundant object"}
# Items are named by their content (an empty grid cell is empty); their container is checked.
ITEM_ROLES = {"table cell", "column header", "row header", "list item", "tree item",
              "menu item", "check menu item", "radio menu item", "tearoff menu item"}
CONTAINERS = {"table", "tree table", "tree", "list", "list box", "menu", "menu bar", "combo box"}


def nameless_controls(root):
    """The shown controls under root that take the focus without a name or a telling role;
    returns (those nodes, the number of focusable controls checked)."""
    focusable = root.find_all(where=lambda n: "focusable" in n.states,
                              descend=lambda n: n.role not in CONTAINERS)
    nameless = [n for n in focusable if n.role not in ITEM_ROLES and
                (not n.name.strip() or n.role in NO_ROLE)]
    return nameless, len(focusable)


def assert_named(root):
    """Fails on a focusable control under root without a name or role."""
    nameless, _ = nameless_controls(root)
    if nameless:
        raise AssertionError("in %r, controls without a name or role: %r\n%s"
                             % (root, nameless, root.tree()))


def focused(root):
    found = root.find_all(where=lambda n: "focused" in n.states)
    return found[-1] if found else None


class Program:
    """The real program, started in the environment given (see run_atspi.sh)."""

    def __init__(self, argv, size=None):
        # On a loaded machine the virtual display may take a moment to accept clients.
        wait_until(lambda: subprocess.run(["xdotool", "getdisplaygeometry"],
                                          capture_output=True).returncode == 0,
                   20, "the X display")
        self.process = subprocess.Popen(argv)
        self.size = size or os.environ.get("FITQUILL_WINDOW_SIZE") or None
        self._app = None

    def application(self, timeout=30):
        if self._app is not None:
            return self._app

        def lookup():
            desktop = Atspi.get_desktop(0)
            for i in range(desktop.get_child_count()):
                app = desktop.get_child_at_index(i)
                if app is not None and app.get_process_id() == self.process.pid:
                    return app
            if self.process.poll() is not None:
                raise SystemExit("the program ended with exit code %d" % self.process.returncode)
            return None

        self._app = Node(wait_until(lookup, timeout, "the program on the accessibility bus"),
                         self)
        return self._app

    def windows(self):
        return [w for w in self.application().children if "showing" in w.states]

    def window(self, name, timeout=15):
        def lookup():
            for window in self.windows():
                if _matches(window.name, name):
                    return window
            return None

        try:
            return wait_until(lookup, timeout, "a window named %r" % name)
        except AssertionError:
            shown = [w.name for w in self.windows()]
            raise LookupError("no window named %r; shown: %r" % (name, shown))

    def wait_gone(self, name, timeout=15):
        wait_until(lambda: not any(_matches(w.name, name) for w in self.windows()), timeout,
                   "the window %r to close" % name)

    def main_window(self, timeout=30):
        window = self.window("Fitquill Desktop", timeout)
        wait_until(lambda: window.extents()[2] > 200 and window.extents()[3] > 200, timeout,
                   "the main window at its full size")
        if self.size:
            width, height = self.size.lower().split("x")
            title_match = "^Fitquill Desktop$"
            for window_id in _xdotool("search", "--onlyvisible", "--name", title_match).split():
                _xdotool("windowsize", "--sync", window_id, width, height)
            wait_until(lambda: window.extents()[2:] == (int(width), int(height)), 10,
                       "the main window at %s" % self.size)
            time.sleep(0.5)
        print("main window at %r" % (window.extents(),), flush=True)
        return window

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
        try:
            return self.process.wait(20)
        except subprocess.TimeoutExpired:
            self.process.kill()
            return self.process.wait()

    def kill(self):
        self.process.send_signal(signal.SIGKILL)
        return self.process.wait()


def main_guard(test):
    """Runs test(argv) and turns a failure into exit code 1 with its message; the program
    objects created must be stopped by the test itself."""
    try:
        test(sys.argv[1:])
    except (AssertionError, LookupError) as failure:
        print("FAILED: %s" % failure, flush=True)
        sys.exit(1)
