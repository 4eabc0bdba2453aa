#!/usr/bin/env bash
# Builds the benchmarks in a Release build (build-bench/), runs the data-path benchmarks (the
# journal and food database files) and the drawing benchmarks, and prints one table: the CPU
# time of one run and, for the file benchmarks, its ratio to a plain write or read of the same
# bytes measured in the same run (x_plain_write, x_plain_read), which compares across machines.
#
#   scripts/bench.sh [benchmark options...]     e.g. --benchmark_filter='Journal(Write|Pack)'
#
# Each benchmark runs FITQUILL_BENCH_REPETITIONS times (default 3); the table shows the median.
# The JSON output of every program stays in build-bench/results/.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh
FITQUILL_PACKAGES+=(python3)
fitquill_setup

dir=build-bench
# FITQUILL_BENCH_PROGRAMS="journal_file_bench ..." runs only those.
read -r -a programs <<<"${FITQUILL_BENCH_PROGRAMS:-journal_file_bench food_db_file_bench \
  chart_drawing_bench day_views_bench journal_pages_bench}"

fitquill_configure "$dir" -DCMAKE_BUILD_TYPE=Release -DFITQUILL_TESTS=OFF
cmake --build "$dir" --target "${programs[@]}" --parallel "$(nproc)"

results=$dir/results
mkdir -p "$results"
rm -f "$results"/*.json "$results"/*.log
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
for program in "${programs[@]}"; do
  echo "Running $program ..." >&2
  if ! QT_QPA_PLATFORM=offscreen "$dir/bench/$program" \
      --benchmark_repetitions="${FITQUILL_BENCH_REPETITIONS:-3}" \
      --benchmark_report_aggregates_only=true \
      --benchmark_out="$results/$program.json" --benchmark_out_format=json "$@" \
      >"$results/$program.log" 2>&1; then
    cat "$results/$program.log"
    echo "FAILED: $program" >&2
    exit 1
  fi
done
echo "Load average before: $load_before, after: $(cut -d' ' -f1-3 /proc/loadavg)" \
  "($(nproc) cores); CPU times count, wall times depend on the load."

python3 - "$results" "${programs[@]}" <<'PYTHON'
import json, sys

folder, programs = sys.argv[1], sys.argv[2:]
rows = []
for program in programs:
    with open(f"{folder}/{program}.json") as file:
        runs = json.load(file)["benchmarks"]
    for run in runs:
        if run.get("aggregate_name", "median") != "median" or run.get("error_occurred"):
            continue
        scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[run.get("time_unit", "ns")]
        ratio = next((f"{run[k]:.1f} {k[2:].replace('_', ' ')}" for k in
                      ("x_plain_write", "x_plain_read") if k in run), "")
        memory = (f"kept {run['kept_per_file_byte']:.2f}, peak {run['peak_per_file_byte']:.2f}"
                  if "kept_per_file_byte" in run else "")
        rows.append((program.removesuffix("_bench"), run.get("run_name", run["name"]),
                     f"{run['cpu_time'] * scale:.2f}", f"{run['real_time'] * scale:.2f}", ratio,
                     memory, run.get("label", "")))

header = ("program", "benchmark", "CPU ms", "wall ms", "CPU ratio", "memory / file", "label")
widths = [max(len(row[i]) for row in rows + [header]) for i in range(len(header))]
line = lambda row: "  ".join(cell.rjust(w) if i in (2, 3) else cell.ljust(w)
                             for i, (cell, w) in enumerate(zip(row, widths))).rstrip()
print(line(header))
print("  ".join("-" * w for w in widths).rstrip())
for row in rows:
    print(line(row))
PYTHON
