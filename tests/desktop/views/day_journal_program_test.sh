#!/usr/bin/env bash
# Keeps a day's journal in the real fitquill-desktop on a virtual X display as a user would,
# finding each control by its role and name (day_journal_program_test.py): types a weight,
# logs an exercise, writes a note and a blood pressure reading, saves, and checks with the
# fitquill tool that the journal file holds them. FITQUILL_WINDOW_SIZE=WxH sets the window's
# size.
#   day_journal_program_test.sh PROGRAM TOOL
# Exit code 77 (skipped) when xvfb-run, dbus-run-session or python3-pyatspi is missing.
set -u
program=$1
tool=$2

source "$(dirname "$0")/../real_program_world.sh"

source "$(dirname "$0")/../atspi_session.sh"
atspi_run "$(dirname "$0")/day_journal_program_test.py" "$program" || exit 1

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
