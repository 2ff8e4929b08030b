#!/usr/bin/env bash
# Configures and builds into build/ (or $MERIDAX_BUILD_DIR); MERIDAX_SANITIZE=ON builds with
# the address and undefined-behaviour sanitizers (scripts/test.sh --sanitize sets it).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${MERIDAX_BUILD_DIR:-build}
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=${MERIDAX_BUILD_TYPE:-RelWithDebInfo} \
  ${MERIDAX_SANITIZE:+-DMERIDAX_SANITIZE=$MERIDAX_SANITIZE} >/dev/null
cmake --build "$build_dir" -j"$(nproc)"
