#!/usr/bin/env bash
# Sourced by the tests that start the real fitquill-desktop on a virtual X display: makes a
# private home, settings, runtime and Palm Desktop folder with one user ("Ann", remembered as
# the last one opened) in $world, removed when the test's shell exits, and sets:
#   world   the folder holding all of it
#   screen  the xvfb-run arguments of the virtual screen (1280x1024, 24 bits)
# Ends the test with exit code 77 (skipped) when xvfb-run is not installed.
# Tests that act in the program source atspi_session.sh after this file and find its controls
# through its accessible tree (atspi_driver.py).

if ! command -v xvfb-run >/dev/null 2>&1; then
    echo "xvfb-run is not installed: skipped"
    exit 77
fi

world=$(mktemp -d)
trap 'rm -rf "$world"' EXIT
mkdir -p "$world/home" "$world/config/Quorvel" "$world/data" "$world/run" "$world/palm/Ann"
chmod 700 "$world/run"
export HOME="$world/home" XDG_CONFIG_HOME="$world/config" XDG_DATA_HOME="$world/data"
export XDG_CACHE_HOME="$world/cache"
export FITQUILL_RUNTIME_DIR="$world/run" FITQUILL_PALM_ROOT="$world/palm"
export FITQUILL_TODAY=2024-03-15
unset QT_QPA_PLATFORM
# On a real display the toolkit talks to D-Bus, whose library keeps a buffer to the end; in a
# sanitizer build that must not pass for a leak of the program.
printf 'leak:libdbus-1.so\n' >"$world/lsan.supp"
export LSAN_OPTIONS="suppressions=$world/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
# The Palm Desktop user index (format: see platform/palm/user_store.h).
printf 'FitquillUsers 1\n1234\tAnn\tAnn\n' >"$world/palm/users.idx"
printf '[CurrentUser]\nName=Ann\n\n[InstallPath]\nName=%s/install/\n' "$world" \
    >"$world/config/Quorvel/Fitquill.conf"
screen=(-s "-screen 0 1280x1024x24")
