#!/usr/bin/env bash
# The real fitquill-desktop on a virtual X display keeps unsaved changes across a SIGKILL:
# a weight typed for today, the recovery copy written a few seconds later, the program killed,
# started again, the restore question answered Yes, Save All: the saved journal holds the
# weight and the copy is gone.
#   recovery_program_test.sh PROGRAM TOOL
# Exit code 77 (skipped) when xvfb-run, dbus-run-session or python3-pyatspi is missing.
# Each run is driven through the program's accessible tree (recovery_program_test.py).
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

source "$(dirname "$0")/../atspi_session.sh"
here="$(cd "$(dirname "$0")" && pwd)"
atspi_run "$here/recovery_program_test.py" type "$program" "$copy" || exit 1
echo "killed with SIGKILL"
has_weight && { echo "the weight was saved without Save All"; exit 1; }

atspi_run "$here/recovery_program_test.py" restore "$program" "$copy" || exit 1

has_weight
found=$?
grep '^3/15/2024,' "$world/export.csv"
[ $found -eq 0 ] && echo "the weight is back after the restore and Save All" && exit 0
echo "the restored journal lacks the weight"
exit 1
