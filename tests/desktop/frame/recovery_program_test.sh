#!/usr/bin/env bash
# The real fitquill-desktop on a virtual X display keeps unsaved changes across a SIGKILL:
# a weight typed for today, the recovery copy written a few seconds later, the program killed,
# started again, the restore question answered Yes, Save All: the saved journal holds the
# weight and the copy is gone.
#   recovery_program_test.sh PROGRAM TOOL
# Exit code 77 (skipped) when xvfb-run is not installed.
set -u
program=$1
tool=$2

source "$(dirname "$0")/../real_program_world.sh"

journal="$world/palm/Ann/Fitquill/UserDB.ddb"
copy="$world/palm/Ann/Fitquill/UserDB.ddb.recovery"
"$tool" demo --journal "$journal" --days 10 >/dev/null || exit 1
# Whether the saved journal holds today's weight of 163.4 lbs (the user data export's lines
# start with the date and the weight).
has_weight() {
    "$tool" export-user-data --journal "$journal" --out "$world/export.csv" >/dev/null &&
        grep -q '^3/15/2024,163\.40*,' "$world/export.csv"
}
has_weight && { echo "the demo journal already holds the weight"; exit 1; }

# One run of the program on a virtual display: start it, wait for its window, then the
# keystrokes of the script given (with $X and $Y the window's corner), then leave.
session() {
    # shellcheck disable=SC2016
    timeout 60 xvfb-run -a "${screen[@]}" bash -c '
        program=$1
        copy=$2
        wait_for() { # wait_for TEST... : up to 15 s
            for _ in $(seq 1 150); do "$@" && return 0; sleep 0.1; done
            return 1
        }
        "$program" & app=$!
        window=$(bash "$main_window") || { echo "no main window"; kill -9 "$app"; exit 1; }
        sleep 1.5
        eval "$3"
    ' bash "$program" "$copy" "$1"
}

# The Weight tab of a first start (960 x 740): its box right of "Weight:".
session '
    xdotool windowfocus --sync "$window"
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool mousemove $((X + 763)) $((Y + 286)) click 1
    sleep 0.3
    xdotool type --delay 30 "163.4"
    xdotool key Return
    wait_for test -f "$copy" || { echo "no recovery copy was written"; kill -9 "$app"; exit 1; }
    echo "recovery copy written"
    kill -9 "$app"; wait "$app" 2>/dev/null
    exit 0' || exit 1
echo "killed with SIGKILL"
has_weight && { echo "the weight was saved without Save All"; exit 1; }

session '
    xdotool key Return # "... Restore the changes you had not saved (...)?" Yes
    sleep 0.5
    xdotool windowfocus --sync "$window"
    xdotool key ctrl+s
    wait_for test ! -f "$copy" || { echo "Save All left the copy"; kill -9 "$app"; exit 1; }
    kill "$app"; wait "$app" 2>/dev/null
    exit 0' || exit 1

has_weight
found=$?
grep '^3/15/2024,' "$world/export.csv"
[ $found -eq 0 ] && echo "the weight is back after the restore and Save All" && exit 0
echo "the restored journal lacks the weight"
exit 1
