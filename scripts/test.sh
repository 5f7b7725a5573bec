#!/usr/bin/env bash
# Installs what is needed, builds the program and its tests with AddressSanitizer and UBSan,
# runs every test (units and scenario files), then runs each fuzz target briefly
# (FUZZ_SECONDS each, default 30).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/locale.sh
export LANG=C.UTF-8 LC_ALL=C.UTF-8 QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVENDRAL_SANITIZE=ON
cmake --build build/test -j2
# A test that hangs fails after ten minutes instead of holding up the run.
ctest --test-dir build/test --output-on-failure -j2 --timeout 600
bash scripts/fuzz.sh "${FUZZ_SECONDS:-30}"
