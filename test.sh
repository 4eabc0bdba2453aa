#!/usr/bin/env bash
# Sets up what is missing, builds, and runs every test: the formatting check, the sanitizer
# build, the fuzz runs, and last the normal build with its tests, so that the output ends
# with the test summary.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
fitquill_setup

stage() { echo "== $1 (${SECONDS}s so far)"; }

stage "Formatting check"
git ls-files -z -- '*.cpp' '*.h' | xargs -0 -r clang-format --dry-run -Werror

stage "Sanitizer build and tests (AddressSanitizer, UndefinedBehaviorSanitizer)"
fitquill_build build-asan -DFITQUILL_SANITIZE=ON -DFITQUILL_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure --parallel "$(nproc)"

if ls fuzz/*_fuzz.cpp >/dev/null 2>&1; then
  stage "Fuzz runs (libFuzzer with AddressSanitizer)"
  CC=clang CXX=clang++ fitquill_build build-fuzz -DFITQUILL_FUZZ=ON -DFITQUILL_TESTS=OFF \
    -DFITQUILL_BENCH=OFF -DFITQUILL_DESKTOP=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo
  scripts/run-fuzzers.sh build-fuzz "${FITQUILL_FUZZ_SECONDS:-20}"
fi

stage "Build and tests"
fitquill_build build
ctest --test-dir build --output-on-failure --parallel "$(nproc)"
