#!/usr/bin/env bash
# Random input for the real fitquill-desktop on a virtual X display: from a fixed seed, a fixed
# number of random clicks, keys (the program's shortcuts among them), typed text and Escape
# presses, sent to whichever window of the program is in front (a dialog when one is up). The
# run ends by itself. It fails when the program dies (a crash, an internal error), when a
# sanitizer reports anything, or when a user's files cannot be read whole afterwards.
#   random_input_program_test.sh PROGRAM TOOL
# FITQUILL_RANDOM_SEED (default 1) and FITQUILL_RANDOM_ACTIONS (default 250) choose the run; a
# reported failure replays with the same two values. The actions are listed in actions.log of
# the kept folder named on failure.
# Exit code 77 (skipped) when xvfb-run is not installed.
set -u
program=$(realpath "$1")
tool=$(realpath "$2")
seed=${FITQUILL_RANDOM_SEED:-1}
actions=${FITQUILL_RANDOM_ACTIONS:-250}

source "$(dirname "$0")/real_program_world.sh"

# Pages with something on them: a demonstration journal for Ann.
"$tool" demo --user Ann --days 40 --seed 3 >/dev/null || { echo "no demo journal"; exit 1; }
# Nothing outside the program is started: the user guide and links open nowhere.
mkdir -p "$world/bin" "$world/work"
for viewer in xdg-open gio kde-open gnome-open sensible-browser www-browser; do
    printf '#!/bin/sh\nexit 0\n' >"$world/bin/$viewer"
    chmod +x "$world/bin/$viewer"
done
export PATH="$world/bin:$PATH"
# Sanitizer reports go to files that the end of the test looks for.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}log_path=$world/sanitizer"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:+$UBSAN_OPTIONS:}log_path=$world/sanitizer"
cd "$world/work" || exit 1

# shellcheck disable=SC2016
timeout $((actions * 3 + 180)) xvfb-run -a "${screen[@]}" bash -c '
    set -u
    program=$1 seed=$2 actions=$3 log=$4
    keys=(Tab shift+Tab Return space BackSpace Delete Up Down Left Right Home End Page_Down
          Page_Up F2 F5 F6 ctrl+a ctrl+c ctrl+x ctrl+v ctrl+z ctrl+s ctrl+n ctrl+o ctrl+p
          alt+f alt+e alt+v alt+o Escape Escape)
    words=(150.5 72 Apple 0 -1 9999999 "Walked to work" "x y" 1.2.3 "  " 120 07 ab%d)
    # The main window once it is shown at its full size (a slow start under the sanitizers
    # maps it at 1 x 1 pixels first).
    main_window() {
        for _ in $(seq 1 300); do
            for candidate in $(xdotool search --onlyvisible --pid "$app" --name "^Fitquill Desktop$" 2>/dev/null); do
                WIDTH=0 HEIGHT=0
                eval "$(xdotool getwindowgeometry --shell "$candidate" 2>/dev/null)"
                if [ "$WIDTH" -gt 200 ] && [ "$HEIGHT" -gt 200 ]; then
                    echo "$candidate"
                    return 0
                fi
            done
            sleep 0.1
        done
        return 1
    }
    start() {
        "$program" 2>>"$log.stderr" & app=$!
        window=$(main_window) || { echo "no main window"; kill "$app"; exit 1; }
        sleep 1
    }
    # The window that takes the input: the newest titled window of the program (a dialog in
    # front of the main window), else the main window.
    target() {
        local newest=$window
        for candidate in $(xdotool search --onlyvisible --pid "$app" --name "." 2>/dev/null); do
            [ "$candidate" -gt "$newest" ] && newest=$candidate
        done
        echo "$newest"
    }
    RANDOM=$seed
    start
    for ((i = 1; i <= actions; i++)); do
        if ! kill -0 "$app" 2>/dev/null; then
            wait "$app"; status=$?
            echo "action $i: the program ended with status $status" >>"$log"
            # Exit from the File menu is a choice among the random keys; anything else is not.
            if [ "$status" -ne 0 ] || grep -q "^fitquill-desktop: " "$log.stderr"; then
                echo "the program died at action $i (status $status)"
                exit 1
            fi
            start
        fi
        into=$(target)
        xdotool windowfocus "$into" 2>/dev/null
        eval "$(xdotool getwindowgeometry --shell "$into" 2>/dev/null)" || continue
        choice=$((RANDOM % 100))
        if [ "$choice" -lt 40 ]; then
            x=$((RANDOM % WIDTH)) y=$((RANDOM % HEIGHT))
            clicks=$((RANDOM % 10 == 0 ? 2 : 1))
            echo "$i click $x,$y x$clicks in $into" >>"$log"
            xdotool mousemove $((X + x)) $((Y + y)) click --repeat "$clicks" 1 2>/dev/null
        elif [ "$choice" -lt 75 ]; then
            key=${keys[RANDOM % ${#keys[@]}]}
            echo "$i key $key in $into" >>"$log"
            xdotool key "$key" 2>/dev/null
        elif [ "$choice" -lt 90 ]; then
            word=${words[RANDOM % ${#words[@]}]}
            echo "$i type \"$word\" in $into" >>"$log"
            xdotool type --delay 20 "$word" 2>/dev/null
        else
            echo "$i Escape in $into" >>"$log"
            xdotool key Escape 2>/dev/null
        fi
        sleep 0.15
    done
    if ! kill -0 "$app" 2>/dev/null; then
        wait "$app"; status=$?
        [ "$status" -eq 0 ] || { echo "the program died at the end (status $status)"; exit 1; }
    else
        kill "$app"; wait "$app" 2>/dev/null
    fi
    if grep -q "^fitquill-desktop: " "$log.stderr"; then
        echo "internal error:"; cat "$log.stderr"; exit 1
    fi
    exit 0
' bash "$program" "$seed" "$actions" "$world/actions.log"
status=$?

keep() {
    local kept
    kept=$(mktemp -d "${TMPDIR:-/tmp}/fq-random-XXXXXX")
    cp -r "$world/." "$kept/"
    echo "seed $seed, $actions actions; the run is kept in $kept (actions.log)"
}
if [ "$status" -ne 0 ]; then
    tail -5 "$world/actions.log" 2>/dev/null
    cat "$world"/sanitizer* 2>/dev/null | head -60
    keep
    exit 1
fi
if ls "$world"/sanitizer* >/dev/null 2>&1; then
    echo "sanitizer report:"; cat "$world"/sanitizer* | head -80
    keep
    exit 1
fi
# Every user's files read whole.
while IFS= read -r journal; do
    "$tool" dump --journal "$journal" >/dev/null ||
        { echo "cannot read $journal"; keep; exit 1; }
done < <(find "$world" -name UserDB.ddb)
echo "seed $seed: $actions random actions, no crash, no sanitizer report, files read whole"
exit 0
