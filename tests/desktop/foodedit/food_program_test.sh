#!/usr/bin/env bash
# Drives the real fitquill-desktop under Xvfb as a user would, with the default food database,
# finding each control by its role and name (food_program_test.py):
# finds "cheddar", logs the first result into lunch with two servings, saves, and checks the
# day's calories with `fitquill export-user-data`; then makes a group, a category and a food
# item from the tree's context menu, saves, and finds the new item with `fitquill food find`.
#   food_program_test.sh DESKTOP_PROGRAM FITQUILL_TOOL SCREEN_GRAB OUTDIR
# Pictures of each step stay in OUTDIR (food-*.png). Exit code 77 when xvfb-run,
# dbus-run-session or python3-pyatspi is missing.
set -u
program=$1
tool=$2
grab=$3
# Each window size keeps its pictures apart.
outdir=$4${FITQUILL_WINDOW_SIZE:+/$FITQUILL_WINDOW_SIZE}
mkdir -p "$outdir"

source "$(dirname "$0")/../real_program_world.sh"
rm -f "$outdir"/food-*.png

source "$(dirname "$0")/../atspi_session.sh"
atspi_run "$(dirname "$0")/food_program_test.py" "$program" "$grab" "$outdir" || exit 1

journal=$(find "$world/palm" -name UserDB.ddb | head -1)
food=$(find "$world/palm" -name FoodDB.ddb | head -1)
[ -n "$journal" ] && [ -n "$food" ] || { echo "the program saved no files"; exit 1; }

"$tool" export-user-data --user Ann --out "$world/user.csv" || exit 1
echo "export-user-data:"
cat "$world/user.csv"
# "Baked Potato Soup" (with cheddar and bacon bits) is the first result by name: 191.1
# calories a cup, two cups.
tr -d '\r' <"$world/user.csv" | grep -q '^3/15/2024,,382,' || { echo "lunch was not logged"; exit 1; }

found=$("$tool" food find --db "$food" chutney) || exit 1
echo "food find chutney: $found"
[ "$found" = "Zesty Foods / Relishes / Mango chutney" ] || exit 1
echo "pictures kept in $outdir"
