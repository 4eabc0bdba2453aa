#!/usr/bin/env bash
# A new user on the real program: enters height, age, start and goal weights, the goal date
# and a plan on the "Diet Plan" page, finding each control by its role and name
# (diet_plan_program_test.py), saves, and reads the logbook's goal
# sentence and food budget back; pictures of the four pages stay in OUTDIR.
#   diet_plan_program_test.sh PROGRAM TOOL GRAB OUTDIR
# Exit code 77 (skipped) when xvfb-run, dbus-run-session or python3-pyatspi is missing.
set -u
program=$1
tool=$2
grab=$3
# Each window size keeps its pictures apart.
outdir=$4${FITQUILL_WINDOW_SIZE:+/$FITQUILL_WINDOW_SIZE}
mkdir -p "$outdir"

source "$(dirname "$0")/../real_program_world.sh"

rm -f "$outdir"/page-*.png
source "$(dirname "$0")/../atspi_session.sh"
atspi_run "$(dirname "$0")/diet_plan_program_test.py" "$program" "$grab" "$outdir" || exit 1

journal="$world/palm/Ann/Fitquill/UserDB.ddb"
[ -f "$journal" ] || { echo "the journal was not saved: $journal"; ls -R "$world/palm"; exit 1; }
dump=$("$tool" dump --journal "$journal") || exit 1
logbook=$("$tool" logbook --journal "$journal") || exit 1
echo "$logbook"
status=0
expect() {
    if ! grep -qF -- "$1" <<<"$2"; then
        echo "missing: $1"
        status=1
    fi
}
expect "  height: 67 in" "$dump"
expect "  age: 40" "$dump"
expect "  diet plan: 2" "$dump"
expect "To lose 10.0 lbs in 15 days, you will need to eat 2333 fewer calories per day than your body burns." "$logbook"
expect "Target Weight: 170 lbs" "$logbook"
expect "Target Date: Saturday March 30, 2024" "$logbook"
# Today gets its default weight, the start weight, as soon as it is shown: BMR 2114 less the
# goal of 2333 fewer calories a day leaves a budget of -219.
expect "Current Weight: 180 lbs" "$logbook"
expect "your food budget is:  -219 cal" "$logbook"
for page in diet-plan diet-plan-step3 logbook summary-table nutrient-tables; do
    [ -s "$outdir/page-$page.png" ] || { echo "no picture of $page"; status=1; }
done
exit $status
