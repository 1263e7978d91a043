#!/usr/bin/env bash
# Installs what is missing, builds the release configuration and runs the main job: the host
# program opens the sample editor without a display, with a few GUI variables stored as a plug-in
# host would hand them back, and draws it into a PNG image; then it renders the sample ORV source.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DMAROVELL_TESTS=OFF
cmake --build build/release -j "$(nproc)"
mkdir -p out
build/release/host/marovell editor samples/editor --set params.mix=0.7 --set params.tone=0.4 \
    --set "patch.name=Warm Echo" --png out/editor.png
echo "Drew the sample editor samples/editor to $PWD/out/editor.png"
build/release/host/marovell render-orv samples/showcase.orv --size 512x512 --scale 2 -o out/showcase.png
echo "Rendered samples/showcase.orv to $PWD/out/showcase.png"
