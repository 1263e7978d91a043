#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need; returns at once when all are present.
# With --bench it also installs the peers the benchmarks compare against, with --fuzz clang's libFuzzer.
set -euo pipefail

packages=(cmake ninja-build pkg-config g++ libgtest-dev libgmock-dev libbenchmark-dev
          zlib1g-dev libpng-dev libcairo2-dev libgtk-3-dev fonts-dejavu-core xvfb xauth xdotool)
for arg in "$@"; do
  case "$arg" in
    --bench) packages+=(tcl-dev liblua5.4-dev libagg-dev librsvg2-dev) ;;
    --fuzz) packages+=(clang-14 libclang-rt-14-dev) ;;
    *) echo "usage: $0 [--bench] [--fuzz]" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
