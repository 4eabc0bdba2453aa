#!/usr/bin/env bash
# Prints the id of the real program's main window once it is shown at its full size (up to
# 20 s): a window found by name may still be unmapped or 1 x 1 pixels on a slow start, and
# clicks at positions inside it would then miss. Exits 1 when no such window comes.
for _ in $(seq 1 200); do
    for window in $(xdotool search --onlyvisible --name "^Fitquill Desktop$" 2>/dev/null); do
        WIDTH=0 HEIGHT=0
        eval "$(xdotool getwindowgeometry --shell "$window" 2>/dev/null)"
        if [ "$WIDTH" -gt 200 ] && [ "$HEIGHT" -gt 200 ]; then
            echo "$window"
            exit 0
        fi
    done
    sleep 0.1
done
exit 1
