#!/usr/bin/env bash
# Installs what is needed, builds the program and starts it. Extra arguments go to the
# program (for example --data-dir DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/locale.sh
export LANG=C.UTF-8 LC_ALL=C.UTF-8
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVENDRAL_TESTS=OFF -DVENDRAL_BENCH=OFF
cmake --build build/release --target vendral
exec build/release/src/app/vendral "$@"
