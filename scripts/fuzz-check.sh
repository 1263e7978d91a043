#!/usr/bin/env bash
# Installs what is missing, builds the libFuzzer configuration whole with clang 14 (warnings as
# errors) and runs each fuzz target once over its seed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --fuzz
cmake -S . -B build/fuzz -G Ninja -DMAROVELL_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++-14 \
      -DCMAKE_C_COMPILER=clang-14 -DMAROVELL_WERROR=ON
cmake --build build/fuzz -j "$(nproc)"
ctest --test-dir build/fuzz -L fuzz -j "$(nproc)" --output-on-failure
