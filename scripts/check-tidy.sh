#!/usr/bin/env bash
# Runs clang-tidy (.clang-tidy) over the tree's C++ sources with the build's compile commands;
# fails on any finding. BUILD_DIR names the build (default build), JOBS the parallel runs
# (default 2). Slow: minutes on two cores, so it is not part of CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
JOBS=${JOBS:-2}
RUN_CLANG_TIDY="${RUN_CLANG_TIDY:-run-clang-tidy}"
CLANG_TIDY="${CLANG_TIDY:-clang-tidy}"
for tool in "$RUN_CLANG_TIDY" "$CLANG_TIDY"; do
  if ! command -v "$tool" >/dev/null; then
    echo "check-tidy: $tool not found (bash scripts/install-deps.sh installs it)"
    exit 1
  fi
done
if [ ! -f "$BUILD_DIR/compile_commands.json" ]; then
  echo "check-tidy: no $BUILD_DIR/compile_commands.json (configure first: bash scripts/build.sh)"
  exit 1
fi
# Only our sources; a file given on the command line narrows the run to it.
files=("$PWD/(src|tests|tools|datagen|bench|fuzz)/.*\\.cpp$")
if [ $# -gt 0 ]; then
  files=("$@")
fi
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if PYTHONUNBUFFERED=1 "$RUN_CLANG_TIDY" -clang-tidy-binary "$(command -v "$CLANG_TIDY")" -p "$BUILD_DIR" -j "$JOBS" -quiet \
  "${files[@]}" >"$log" 2>&1; then
  echo "check-tidy: no findings"
  exit 0
fi
grep -E '(warning|error):' "$log" | sort -u || cat "$log"
echo "check-tidy: findings above (.clang-tidy lists the checks)"
exit 1
