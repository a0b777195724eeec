#!/usr/bin/env bash
# Configures and builds Lirra (the game, its data and its tests) in ./build; TARGET=lirra builds
# only the game and its data.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} "$@"
cmake --build "$BUILD_DIR" -j"$(nproc)" ${TARGET:+--target "$TARGET"}
