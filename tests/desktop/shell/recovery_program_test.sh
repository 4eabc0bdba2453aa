#!/usr/bin/env bash
# The real fitquill-desktop on a virtual X display keeps unsaved changes across a SIGKILL:
# an edit (Edit > Delete > All Days), the recovery copy written a few seconds later, the
# program killed, started again, the restore question answered Yes, Save All: the saved
# journal holds the edit and the copy is gone.
#   recovery_program_test.sh PROGRAM TOOL
# Exit code 77 (skipped) when xvfb-run is not installed.
set -u
program=$1
tool=$2

source "$(dirname "$0")/../real_program_world.sh"

journal="$world/palm/Ann/Fitquill/UserDB.ddb"
"$tool" demo --journal "$journal" --days 10 >/dev/null || exit 1
days() { "$tool" dump --journal "$journal" | grep -c '^Day [0-9]'; }
echo "days before: $(days)"

# shellcheck disable=SC2016
timeout 120 xvfb-run -a "${screen[@]}" bash -c '
    program=$1
    journal=$2
    tool=$3
    copy="$(dirname "$journal")/UserDB.ddb.recovery"
    main_window() {
        for _ in $(seq 1 150); do
            window=$(xdotool search --name "^Fitquill Desktop$" 2>/dev/null | head -n 1)
            [ -n "$window" ] && { echo "$window"; return 0; }
            sleep 0.1
        done
        return 1
    }
    wait_for() { # wait_for TEST... : up to 15 s
        for _ in $(seq 1 150); do "$@" && return 0; sleep 0.1; done
        return 1
    }

    "$program" & first=$!
    window=$(main_window) || { echo "no main window"; kill -9 "$first"; exit 1; }
    sleep 1
    xdotool windowfocus --sync "$window"
    xdotool key --delay 150 alt+e d a
    sleep 0.5
    xdotool key Return # "Are you sure you want to delete all days?" Yes
    if ! wait_for test -f "$copy"; then echo "no recovery copy was written"; kill -9 "$first"; exit 1; fi
    echo "recovery copy written"
    kill -9 "$first"; wait "$first" 2>/dev/null
    left=$("$tool" dump --journal "$journal" | grep -c "^Day [0-9]")
    echo "killed with SIGKILL; the saved journal still holds $left days"
    [ "$left" -eq 10 ] || exit 1

    "$program" & second=$!
    window=$(main_window) || { echo "no main window after the restart"; kill -9 "$second"; exit 1; }
    sleep 1.5
    xdotool key Return # "... Restore the changes you had not saved (...)?" Yes
    sleep 0.5
    xdotool windowfocus --sync "$window"
    xdotool key ctrl+s
    if ! wait_for test ! -f "$copy"; then echo "Save All left the copy"; kill -9 "$second"; exit 1; fi
    kill "$second"; wait "$second" 2>/dev/null
    exit 0
' bash "$program" "$journal" "$tool" || exit 1

after=$(days)
echo "days after the restore and Save All: $after"
# Deleting every day removed the ten; today comes back at once with its default weight (the
# start weight), as it does for every user who has one.
[ "$after" -eq 0 ] && exit 0
[ "$after" -eq 1 ] && "$tool" dump --journal "$journal" | grep -q "^Day 1 of 1: 2024-03-15 "
