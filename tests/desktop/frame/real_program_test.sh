#!/usr/bin/env bash
# Starts the real fitquill-desktop on a virtual X display, in a private home, settings, runtime
# and Palm Desktop folder with one user ("Ann", remembered as the last one opened).
#   real_program_test.sh screenshot PROGRAM CHECKER OUTDIR
#       takes a picture of the main window (OUTDIR/fitquill-desktop.png, kept) and checks
#       that it is not blank
#   real_program_test.sh second-start PROGRAM
#       a second start while the first runs must end at once with exit code 0
# Exit code 77 (skipped) when xvfb-run is not installed.
set -u
mode=$1
program=$2

source "$(dirname "$0")/../real_program_world.sh"

case "$mode" in
screenshot)
    checker=$3
    picture="$4/fitquill-desktop.png"
    rm -f "$picture"
    printed=$(timeout 60 xvfb-run -a "${screen[@]}" "$program" --screenshot "$picture")
    rc=$?
    echo "fitquill-desktop --screenshot: exit $rc, printed '$printed'"
    [ "$rc" -eq 0 ] || exit 1
    [ "$printed" = "$picture" ] || { echo "it did not print the picture's path"; exit 1; }
    "$checker" "$picture" || exit 1
    echo "picture kept at $picture"
    ;;
second-start)
    # shellcheck disable=SC2016
    timeout 90 xvfb-run -a "${screen[@]}" bash -c '
        program=$1
        socket="$FITQUILL_RUNTIME_DIR/Fitquill Desktop"
        "$program" & first=$!
        for _ in $(seq 1 150); do [ -S "$socket" ] && break; sleep 0.1; done
        if [ ! -S "$socket" ]; then echo "the first start never listened"; kill "$first"; exit 1; fi
        sleep 1
        begin=$(date +%s%N)
        # The second start needs no display: it hands over before it opens a window.
        env -u DISPLAY timeout 20 "$program" 2>"$FITQUILL_RUNTIME_DIR/second.err"
        rc=$?
        took=$(( ($(date +%s%N) - begin) / 1000000 ))
        cat "$FITQUILL_RUNTIME_DIR/second.err"
        alive=0; kill -0 "$first" 2>/dev/null && alive=1
        kill "$first" 2>/dev/null; wait "$first" 2>/dev/null
        echo "second start: exit $rc after $took ms; first still running: $alive"
        [ "$rc" -eq 0 ] && [ "$alive" -eq 1 ] && [ "$took" -lt 5000 ] || exit 1
        ! grep -q "did not answer" "$FITQUILL_RUNTIME_DIR/second.err"
    ' bash "$program"
    ;;
*)
    echo "unknown mode $mode"
    exit 2
    ;;
esac
