#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine, builds the game and its data (not the tests,
# bots and benchmarks) and starts it.
# Extra arguments go to the game, e.g. scripts/play.sh --windowed
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
TARGET=lirra bash scripts/build.sh
exec ./build/lirra "$@"
