#!/usr/bin/env bash
# A new user on the real program: enters height, age, start and goal weights, the goal date
# and a plan on the "Diet Plan" page with the keyboard, saves, and reads the logbook's goal
# sentence and food budget back; pictures of the four pages stay in OUTDIR.
#   diet_plan_program_test.sh PROGRAM TOOL GRAB OUTDIR
# Exit code 77 (skipped) when xvfb-run is not installed.
set -u
program=$1
tool=$2
grab=$3
outdir=$4

source "$(dirname "$0")/../real_program_world.sh"

rm -f "$outdir"/page-*.png
# shellcheck disable=SC2016
timeout 150 xvfb-run -a "${screen[@]}" bash -c '
    set -u
    program=$1 grab=$2 outdir=$3
    "$program" & pid=$!
    trap "kill $pid 2>/dev/null" EXIT
    window=$(bash "$main_window") || { echo "no main window came up"; exit 1; }
    sleep 2
    keys() { xdotool key --delay 80 "$@"; sleep 0.4; }
    text() { xdotool type --delay 80 "$1"; sleep 0.4; }
    view() { keys alt+v "$1"; sleep 0.5; }
    # Without a window manager the keyboard follows the pointer.
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
    # The program opens on the "Diet Plan" page. A click in the age box (where the page puts it
    # on this screen), then from there: age 40, height 5 ft 7 in, weights 180 and 170 lbs, and
    # the goal date two weeks after the day after the start (30 March).
    xdotool mousemove $((X + 315)) $((Y + 202)) click 1
    sleep 0.5
    text 40
    keys shift+Tab shift+Tab
    keys 5
    keys Tab
    keys 7
    keys Tab Tab Tab
    text 180
    keys Tab Tab
    text 170
    keys Tab
    keys space
    sleep 1
    keys Down Down
    keys Return
    sleep 0.5
    "$grab" "$outdir/page-diet-plan.png"
    # "Next >>" (below a two-line goal sentence), the "Low Fat" plan, then the pages by their
    # tabs, saving on the way with the toolbar button.
    click() { xdotool mousemove $((X + $1)) $((Y + $2)) click 1; sleep 0.6; }
    click 587 368
    click 223 198
    "$grab" "$outdir/page-diet-plan-step3.png"
    click 74 34
    click 294 61
    "$grab" "$outdir/page-logbook.png"
    click 532 61
    "$grab" "$outdir/page-summary-table.png"
    click 630 61
    "$grab" "$outdir/page-nutrient-tables.png"
    kill $pid
    wait $pid 2>/dev/null
    exit 0
' bash "$program" "$grab" "$outdir" || exit 1

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
