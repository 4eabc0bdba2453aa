#!/usr/bin/env bash
# Drives the real fitquill-desktop under Xvfb as a user would, with the default food database:
# finds "cheddar", logs the first result into lunch with two servings, saves, and checks the
# day's calories with `fitquill export-user-data`; then makes a group, a category and a food
# item from the tree's context menu, saves, and finds the new item with `fitquill food find`.
#   food_program_test.sh DESKTOP_PROGRAM FITQUILL_TOOL SCREEN_GRAB OUTDIR
# Pictures of each step stay in OUTDIR (food-*.png). Exit code 77 when xvfb-run is missing.
set -u
program=$1
tool=$2
grab=$3
outdir=$4

source "$(dirname "$0")/../real_program_world.sh"
command -v xdotool >/dev/null 2>&1 || { echo "xdotool is not installed: skipped"; exit 77; }
rm -f "$outdir"/food-*.png

# shellcheck disable=SC2016
timeout 180 xvfb-run -a "${screen[@]}" bash -c '
    set -u
    program=$1; grab=$2; outdir=$3
    "$program" & pid=$!
    fail() { echo "FAILED: $*"; "$grab" "$outdir/food-failure.png"; kill "$pid"; exit 1; }
    # Waits until a window of this exact title is visible; prints its id.
    window() {
        for _ in $(seq 1 100); do
            id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
            [ -n "$id" ] && { echo "$id"; return 0; }
            sleep 0.1
        done
        return 1
    }
    gone() {
        for _ in $(seq 1 50); do
            xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
            sleep 0.1
        done
        return 1
    }
    main=$(bash "$main_window") || fail "no main window"
    sleep 2
    # Without a window manager a closed dialog leaves the keyboard nowhere: a click on the
    # "Find:" label gives it back to the main window without moving the focus inside it.
    refocus() { xdotool mousemove --window "$main" 30 63 click 1; sleep 0.3; }

    # The find box sits at the top of the food pane.
    xdotool mousemove --window "$main" 96 63 click 1
    sleep 0.3
    xdotool type --delay 30 "cheddar"
    xdotool key Return
    results=$(window "Find Results") || fail "no Find Results dialog"
    sleep 0.5
    "$grab" "$outdir/food-find-results.png"
    xdotool key Return
    gone "Find Results" || fail "Find Results stayed open"
    sleep 0.3

    # From the find box to the tree, then Enter logs the selected food.
    xdotool key Tab Tab
    sleep 0.2
    xdotool key Return
    window "Insert Food" >/dev/null || fail "no Insert Food dialog"
    sleep 0.5
    xdotool key ctrl+a
    xdotool type --delay 30 "2"
    # On to the meal type: unit and the six nutrients lie between.
    xdotool key Tab Tab Tab Tab Tab Tab Tab Tab
    xdotool key Down
    sleep 0.3
    "$grab" "$outdir/food-insert-food.png"
    xdotool key Return
    gone "Insert Food" || fail "Insert Food stayed open"
    refocus
    xdotool key ctrl+s
    sleep 1

    # A new group, category and food item through the context menu of the tree, from the
    # first group on.
    xdotool mousemove --window "$main" 60 85 click 1
    sleep 0.3
    xdotool key Menu
    sleep 0.5
    "$grab" "$outdir/food-context-menu.png"
    xdotool key g
    window "New Group" >/dev/null || fail "no New Group dialog"
    xdotool type --delay 30 "Zesty Foods"
    xdotool key Return
    gone "New Group" || fail "New Group stayed open"
    refocus
    xdotool key Menu
    sleep 0.5
    xdotool key a
    window "New Category" >/dev/null || fail "no New Category dialog"
    xdotool type --delay 30 "Relishes"
    xdotool key Return
    gone "New Category" || fail "New Category stayed open"
    refocus
    xdotool key Menu
    sleep 0.5
    xdotool key f
    window "New Food Item" >/dev/null || fail "no New Food Item dialog"
    sleep 0.3
    xdotool type --delay 30 "Mango chutney"
    xdotool key Tab ctrl+a
    xdotool type --delay 30 "2"
    xdotool key Tab Tab ctrl+a
    xdotool type --delay 30 "45"
    sleep 0.3
    "$grab" "$outdir/food-new-food-item.png"
    xdotool key Return
    gone "New Food Item" || fail "New Food Item stayed open"
    refocus

    # The tree is made anew with the new item selected, as the 22nd row: its tooltip under the
    # mouse.
    xdotool mousemove --window "$main" 110 464
    sleep 2
    "$grab" "$outdir/food-tree-tooltip.png"
    refocus
    xdotool key ctrl+s
    sleep 1
    kill "$pid"
    wait "$pid" 2>/dev/null
    exit 0
' bash "$program" "$grab" "$outdir" || exit 1

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
