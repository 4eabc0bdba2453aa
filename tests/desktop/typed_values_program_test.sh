#!/usr/bin/env bash
# Every value typed into the real fitquill-desktop lands, whichever command leaves the box:
# typed_values_program_test.py types into the Weight box, a blood-pressure box, body
# measurements, the Targets tab's water count and the daily note, and leaves each with Ctrl+S,
# the toolbar's Previous Day, a page tab or closing with Yes (never Enter). The user data
# export and the journal dump must hold every value afterwards.
#   typed_values_program_test.sh PROGRAM TOOL
# Exit code 77 (skipped) when xvfb-run, dbus-run-session or pyatspi is missing.
set -u
program=$1
tool=$2
here=$(cd "$(dirname "$0")" && pwd)

source "$here/real_program_world.sh"

# Ann's journal from 11 to 15 March 2024 (today of the test world).
journal="$world/palm/Ann/Fitquill/UserDB.ddb"
"$tool" demo --user Ann --days 5 --seed 3 >/dev/null || { echo "no demo journal"; exit 1; }

source "$here/atspi_session.sh"
atspi_run "$here/typed_values_program_test.py" "$program" "$tool" "$journal" || exit 1

"$tool" export-user-data --journal "$journal" --out "$world/export.csv" || exit 1
"$tool" dump --journal "$journal" >"$world/dump.txt" || exit 1
status=0
expect() {
    if ! grep -q -- "$2" "$1"; then
        echo "MISSING in $(basename "$1"): $2"
        status=1
    fi
}
day() { sed -n "/^Day .*: $1 /,/^Day /p" "$world/dump.txt"; }
day 2024-03-15 >"$world/15.txt"
day 2024-03-14 >"$world/14.txt"
expect "$world/export.csv" "^3/15/2024,151.50*,"
expect "$world/15.txt" "blood pressure: systolic 125,"
expect "$world/15.txt" "water: 6$"
expect "$world/14.txt" "waist 33.5 in"
expect "$world/14.txt" "neck 15.5 in"
expect "$world/14.txt" 'note: "Typed and closed"'
[ "$status" -eq 0 ] || { cat "$world/14.txt" "$world/15.txt" | grep -v '^    '; }
exit $status
