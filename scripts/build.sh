#!/usr/bin/env bash
# Configures and builds into build/ (or $MERIDAX_BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${MERIDAX_BUILD_DIR:-build}
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=${MERIDAX_BUILD_TYPE:-RelWithDebInfo} >/dev/null
cmake --build "$build_dir" -j"$(nproc)"
