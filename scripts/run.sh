#!/usr/bin/env bash
# Installs what is missing, builds the release configuration and runs the main job.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DMAROVELL_TESTS=OFF
cmake --build build/release -j "$(nproc)"
echo "Built every library. The host program marovell arrives with the ORV renderer."
