#!/usr/bin/env bash
# The whole fault sweep: every file of the game's data missing, cut in half and replaced by
# random bytes (each in a copy of the data directory, the game then started, taken through the
# splash and the main menu and through Dired's portal into level 1, and started into the level
# that reads the file), broken shaders, no audio device, the window and focus faults, a two
# second stall, and the editor's save onto a read-only directory and a full disk.
# The suite's own run (scripts/test.sh) tries every file one way and a sample the other two.
#   scripts/fault-sweep.sh            # BUILD_DIR=build, JOBS=2
# Prints one line per fault and the figures; exits non-zero if any fault was not survived.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${BUILD_DIR:-build}"
jobs="${JOBS:-2}"
logs="${SWEEP_LOG_DIR:-$build/fault-sweep}"

cmake --build "$build" -j"$jobs" --target lirra test_faults test_tools
mkdir -p "$logs"
rm -f "$logs"/shard-*.log
export LIBGL_ALWAYS_SOFTWARE=1 LIRRA_FAULT_SWEEP=full

start=$(date +%s)
pids=()
for ((shard = 0; shard < jobs; ++shard)); do
  GTEST_TOTAL_SHARDS=$jobs GTEST_SHARD_INDEX=$shard \
    xvfb-run -n $((250 + shard)) -s "-screen 0 1280x1024x24" "$build/tests/test_faults" > "$logs/shard-$shard.log" 2>&1 &
  pids+=($!)
done
status=0
for pid in "${pids[@]}"; do
  wait "$pid" || status=1
done
xvfb-run -n 249 -s "-screen 0 1280x1024x24" "$build/tests/test_tools" --gtest_filter='EditorSaveSafety*' \
  > "$logs/editor-save.log" 2>&1 || status=1

grep -h '^Fault ' "$logs"/shard-*.log | sort > "$logs/faults.txt"
tried=$(grep -c '' "$logs/faults.txt" || true)
survived=$(grep -c ': survived$' "$logs/faults.txt" || true)
editor=$(grep -c '^\[       OK \] EditorSaveSafety' "$logs/editor-save.log" || true)
editorTried=$(grep -c '^\[ RUN      \] EditorSaveSafety' "$logs/editor-save.log" || true)
cat "$logs/faults.txt"
grep -h 'not survived' "$logs"/shard-*.log || true
echo "Editor save faults tried: $editorTried, survived: $editor"
echo "Faults tried: $((tried + editorTried)), survived: $((survived + editor)) in $(( $(date +%s) - start )) s"
[ "$tried" -gt 0 ] && [ "$tried" -eq "$survived" ] && [ "$editor" -eq "$editorTried" ] || status=1
exit "$status"
