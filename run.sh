#!/usr/bin/env bash
# Sets up what is missing, builds, and starts Fitquill.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
fitquill_setup
fitquill_build build
exec build/tools/fitquill/fitquill "${@:---help}"
