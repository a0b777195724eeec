#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine, builds the game and runs every test headless
# (a virtual X display with Mesa's software renderer, OpenAL's wave-file output).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
export LIBGL_ALWAYS_SOFTWARE=1
xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" ctest --test-dir "${BUILD_DIR:-build}" --output-on-failure -j2 --timeout 1500
