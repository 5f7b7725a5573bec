#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer + UBSan) and runs each for a bounded
# time, starting from its seed corpus in fuzz/corpus. Fails on any crash, sanitizer report or
# broken property. Usage: bash scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]
# (default 30 seconds each, every target). New inputs found go to build/fuzz/corpus/<target>,
# which is kept between runs, so longer runs build on earlier ones.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
shift || true
export LANG=C.UTF-8 LC_ALL=C.UTF-8 QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVENDRAL_FUZZ=ON -DVENDRAL_TESTS=OFF -DVENDRAL_BENCH=OFF >/dev/null
targets=("$@")
if [ "${#targets[@]}" -eq 0 ]; then
  for dir in fuzz/corpus/*/; do targets+=("$(basename "$dir")"); done
fi
cmake --build build/fuzz -j2 --target "${targets[@]/#/fuzz_}"
status=0
for t in "${targets[@]}"; do
  mkdir -p "build/fuzz/corpus/$t" "build/fuzz/crashes/$t"
  log="build/fuzz/$t.log"
  echo "== fuzz_$t for ${seconds}s"
  if (cd build/fuzz && "./fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -max_len=65536 -artifact_prefix="crashes/$t/" "corpus/$t" "../../fuzz/corpus/$t") >"$log" 2>&1; then
    grep -E '^(#[0-9]+ +DONE|Done [0-9]+ runs)' "$log" | tail -n 1
  else
    echo "fuzz_$t FAILED; inputs in build/fuzz/crashes/$t/" >&2
    tail -n 60 "$log" >&2
    status=1
  fi
done
exit "$status"
