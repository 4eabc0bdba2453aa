#!/usr/bin/env bash
# run-fuzzers.sh BUILD_DIR SECONDS [TARGET...]: replays every stored input of each fuzz target
# (or of the named ones), then fuzzes it for SECONDS, one target after the other, and prints the
# executions each target made. Any crash, leak or sanitizer report fails the run; the input
# that caused it is kept in the artifacts folder printed, to be added to fuzz/corpus/<target>
# once fixed.
# The long run, every target for 10 minutes at low priority:
#   nice -n 19 scripts/run-fuzzers.sh build-fuzz 600
set -euo pipefail
build=$1
seconds=$2
shift 2
status=0
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for exe in "$build"/fuzz/*_fuzz; do
    [ -x "$exe" ] && targets+=("$(basename "$exe")")
  done
fi
for name in "${targets[@]}"; do
  exe="$build/fuzz/$name"
  if [ ! -x "$exe" ]; then
    echo "FAILED: no fuzz target $exe"
    status=1
    continue
  fi
  seeds="fuzz/corpus/$name"
  work=$(mktemp -d)
  [ -d "$seeds" ] && cp -r "$seeds"/. "$work"/
  echo "-- $name: ${seconds}s"
  if ! ASAN_OPTIONS=detect_leaks=1 "$exe" -max_total_time="$seconds" -max_len=65536 \
      -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$work/" "$work" \
      >"$work.log" 2>&1; then
    tail -n 40 "$work.log"
    echo "FAILED: $name (artifacts in $work)"
    status=1
  else
    grep -E '^Done|#[0-9]+.*DONE' "$work.log" | tail -n 1 || true
    grep -E '^stat::number_of_executed_units' "$work.log" | sed "s/^/   $name /" || true
    rm -rf "$work" "$work.log"
  fi
done
exit $status
