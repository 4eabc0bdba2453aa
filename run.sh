#!/usr/bin/env bash
# Sets up what is missing, builds, and starts Fitquill Desktop.
# Without a display it says so and writes a screenshot of the main window instead.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
fitquill_setup
# Only what the program needs and the installation ships, not the tests and benchmarks that
# test.sh builds in the same folder.
fitquill_configure build
cmake --build build --target fitquill_program --parallel "$(nproc)"

program=build/desktop/fitquill-desktop
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$program" "$@"
fi

shot=$PWD/build/fitquill-desktop.png
echo "There is no display here (neither DISPLAY nor WAYLAND_DISPLAY is set), so Fitquill Desktop"
echo "cannot open its window. Starting it on a virtual display instead and saving a screenshot"
echo "of the main window."
xvfb-run -a -s '-screen 0 1280x1024x24' "$program" --screenshot "$shot" "$@"
echo "Screenshot of the main window: $shot"
echo "The headless companion tool is build/bin/fitquill (see its --help)."
