#!/usr/bin/env bash
# Keeps a day's journal in the real fitquill-desktop on a virtual X display as a user would:
# types a weight, logs an exercise, writes a note and a blood pressure reading, saves, and
# checks with the fitquill tool that the journal file holds them.
#   day_journal_program_test.sh PROGRAM TOOL
# Exit code 77 (skipped) when xvfb-run is not installed.
set -u
program=$1
tool=$2

source "$(dirname "$0")/../real_program_world.sh"

# shellcheck disable=SC2016
timeout 120 xvfb-run -a "${screen[@]}" bash -c '
    set -u
    program=$1
    "$program" & app=$!
    window=$(bash "$main_window") || { echo "no main window"; kill "$app"; exit 1; }
    sleep 1
    eval "$(xdotool getwindowgeometry --shell "$window")"
    echo "window at $X,$Y size ${WIDTH}x$HEIGHT"
    # Positions inside the 960 x 740 window of a first start.
    click() { xdotool mousemove $((X + $1)) $((Y + $2)) click 1; sleep 0.3; }
    type() { xdotool type --delay 30 "$1"; sleep 0.2; }
    key() { xdotool key --delay 60 "$@"; sleep 0.3; }

    # Weight: the first tab, its box right of "Weight:".
    click 763 286; type "150.5"; key Return
    # Blood Pressure: back to the tab bar, five tabs to the right, into the first box.
    key shift+Tab Right Right Right Right Right Tab
    type "120"; key Tab; type "80"; key Tab; type "72"; key Tab; type "7"; key Tab; type "5"
    key Return
    # Exercise: from the minute box back over the four boxes before it to the tab bar, three
    # tabs to the left; Activity, Variant and Intensity
    # come before Minutes, then Calories, the Calories button and Log.
    key shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab Left Left Left Tab
    key Tab Tab Tab; type "30"
    key Tab Tab space
    key Tab space
    # Daily Journal page: a note.
    click 439 61; click 437 300; type "Walked to work"
    # Save All.
    key ctrl+s
    sleep 1
    kill "$app"; wait "$app" 2>/dev/null
    exit 0
' bash "$program" || exit 1

journal=$(find "$world/palm/Ann" -name UserDB.ddb | head -1)
[ -n "$journal" ] || { echo "no journal was saved"; exit 1; }
"$tool" export-user-data --journal "$journal" --out "$world/export.csv" || exit 1
echo "--- export"; cat "$world/export.csv"
"$tool" dump --journal "$journal" >"$world/dump.txt" || exit 1
echo "--- dump"; cat "$world/dump.txt"
status=0
expect() {
    if ! grep -q -- "$2" "$1"; then
        echo "MISSING in $(basename "$1"): $2"
        status=1
    fi
}
# The weight, and the exercise's 198 calories (30 minutes of low-impact aerobics at 150.5 lbs).
expect "$world/export.csv" "^3/15/2024,150.50*,0,0,-198,"
expect "$world/dump.txt" 'note: "Walked to work"'
expect "$world/dump.txt" "systolic 120, diastolic 80, pulse 72, time 7:05 AM"
expect "$world/dump.txt" '"Aerobics" .* 30 min, 198 cal$'
exit $status
