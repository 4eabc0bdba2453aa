#!/usr/bin/env bash
# run-fuzzers.sh BUILD_DIR SECONDS: replays every stored input of each fuzz target, then
# fuzzes it for SECONDS. Any crash, leak or sanitizer report fails the run.
set -euo pipefail
build=$1
seconds=$2
status=0
for exe in "$build"/fuzz/*_fuzz; do
  [ -x "$exe" ] || continue
  name=$(basename "$exe")
  seeds="fuzz/corpus/$name"
  work=$(mktemp -d)
  [ -d "$seeds" ] && cp -r "$seeds"/. "$work"/
  echo "-- $name: ${seconds}s"
  if ! ASAN_OPTIONS=detect_leaks=1 "$exe" -max_total_time="$seconds" -max_len=65536 \
      -rss_limit_mb=2048 -artifact_prefix="$work/" "$work" >"$work.log" 2>&1; then
    tail -n 40 "$work.log"
    echo "FAILED: $name (artifacts in $work)"
    status=1
  else
    grep -E '^Done|#[0-9]+.*DONE' "$work.log" | tail -n 1 || true
    rm -rf "$work" "$work.log"
  fi
done
exit $status
