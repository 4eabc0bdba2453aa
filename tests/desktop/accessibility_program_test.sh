#!/usr/bin/env bash
# The real fitquill-desktop on a demonstration journal, read through its accessible tree
# (accessibility_program_test.py tells what it checks).
#   accessibility_program_test.sh PROGRAM TOOL
# Exit code 77 (skipped) without xvfb-run, dbus-run-session or python3-pyatspi.
set -u
program=$1
tool=$2
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/real_program_world.sh"
source "$here/atspi_session.sh"

journal="$world/palm/Ann/Fitquill/UserDB.ddb"
"$tool" demo --journal "$journal" --days 30 >/dev/null || exit 1
"$tool" meal-log --journal "$journal" >"$world/meal-log.txt" || exit 1
echo "--- meal log of today from the report"
cat "$world/meal-log.txt"
# FITQUILL_TODAY is 2024-03-15.
atspi_run "$here/accessibility_program_test.py" "$program" "$world/meal-log.txt" \
    "Friday March 15, 2024" "Saturday March 16, 2024"
