#!/usr/bin/env bash
# Records the demos of demos/ by letting the player bots play the game, and checks that each
# recording replays the bot's run frame for frame and that the playthrough's judge passes its
# replay before it replaces the demo it renews; the demo's digest (demos/NAME.digest), which the
# playthrough test compares each replay with, is written from the same replay.
# Run it whenever a level or the game changes (the playthrough test says when):
#
#   scripts/record-demos.sh                    # all five: full-game level1 level2 level3 boss
#   scripts/record-demos.sh level2 boss        # only these
#
# BUILD_DIR (default build) is the build directory; it is configured and built as needed.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
DEMOS=("$@")
if [ ${#DEMOS[@]} -eq 0 ]; then
    DEMOS=(full-game level1 level2 level3 boss)
fi

if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
    cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo}
fi
cmake --build "$BUILD_DIR" -j"${JOBS:-$(nproc)}" --target lirra lirra-demo lirra-judge

# Headless unless a display is given; the sound goes nowhere either way.
export ALSOFT_DRIVERS=null
run() {
    if [ -n "${DISPLAY:-}" ] && [ -z "${LIRRA_HEADLESS:-}" ]; then
        "$@"
    else
        xvfb-run -a -s "-screen 0 640x480x24" "$@"
    fi
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p demos
failed=0
for demo in "${DEMOS[@]}"; do
    echo "== $demo"
    started=$(date +%s)
    if ! run "$BUILD_DIR/lirra-demo" "$demo" "$work/$demo.rec" --trace "$work/$demo.recorded.jsonl" \
        > "$work/$demo.log" 2>&1; then
        grep '^lirra-demo:' "$work/$demo.log" || tail -20 "$work/$demo.log"
        echo "$demo: the bot did not get through; demos/$demo.rec is left as it was"
        failed=1
        continue
    fi
    options=$(head -1 "$work/$demo.rec" | sed -n 's/^# lirra //p')
    eval "run \"$BUILD_DIR/lirra\" $options --input \"$work/$demo.rec\" --trace \"$work/$demo.replayed.jsonl\"" \
        > "$work/$demo.replay.log" 2>&1 || true
    if ! cmp -s "$work/$demo.recorded.jsonl" "$work/$demo.replayed.jsonl"; then
        echo "$demo: the recording does not replay the bot's run; demos/$demo.rec is left as it was"
        failed=1
        continue
    fi
    if ! "$BUILD_DIR/lirra-judge" "$demo" "$work/$demo.replayed.jsonl" "$work/$demo.replay.log" "$work/$demo.digest"; then
        echo "$demo: the recording fails the playthrough's judge; demos/$demo.rec is left as it was"
        failed=1
        continue
    fi
    mv "$work/$demo.rec" "demos/$demo.rec"
    mv "$work/$demo.digest" "demos/$demo.digest"
    frames=$(wc -l < "$work/$demo.recorded.jsonl")
    echo "$demo: demos/$demo.rec and demos/$demo.digest, $frames frames, recorded and checked in $(( $(date +%s) - started )) s"
done
exit $failed
