#!/usr/bin/env bash
# Configures and builds the project into build/ (or $KOVA_BUILD_DIR).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KOVA_BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -G Ninja ${KOVA_CMAKE_ARGS:-} >/dev/null
cmake --build "$build" -j "$(nproc)"
