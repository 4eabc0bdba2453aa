#!/usr/bin/env bash
# Sourced after real_program_world.sh by the tests that drive the real program through its
# accessible tree: defines
#   atspi_run SCRIPT ARGS...   runs the Python test SCRIPT (which imports atspi_driver.py) on a
#                              virtual X display in its own D-Bus session, with the program's
#                              accessibility on; returns the script's exit code
# Ends the test with exit code 77 (skipped) when Debian's python3-pyatspi or dbus-run-session
# is missing (scripts/setup.sh installs them).

if ! command -v dbus-run-session >/dev/null 2>&1 || ! command -v xdotool >/dev/null 2>&1 ||
    ! /usr/bin/python3 -c 'import pyatspi' >/dev/null 2>&1; then
    echo "dbus-run-session, xdotool or python3-pyatspi is not installed: skipped"
    exit 77
fi

atspi_run() {
    local script=$1
    shift
    # The program finds the accessibility bus through the session bus that dbus-run-session
    # starts; the driver module lies beside this file. A display number drawn at random: tests
    # that start together would otherwise race for the first free one. Without -noreset the
    # server resets whenever its last client leaves, and a client connecting then fails.
    PYTHONPATH="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)${PYTHONPATH:+:$PYTHONPATH}" \
        QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 NO_AT_BRIDGE=0 \
        timeout "${ATSPI_TIMEOUT:-240}" xvfb-run -a -n "$((100 + RANDOM % 800))" \
        -s "${screen[1]} -noreset" \
        dbus-run-session -- /usr/bin/python3 -u "$script" "$@"
}
