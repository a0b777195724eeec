#!/usr/bin/env bash
# Takes the pictures of every scene of the game into docs/ (shown in the README): each scene is
# reached with --start and a few keys, or by replaying a demo, and its frame saved as a PNG.
#
#   scripts/screenshots.sh            # 1024x720 pictures; SIZE=WxH for another size
#
# BUILD_DIR (default build) is the build directory; it is configured and built as needed. A
# picture costs a few minutes under a software renderer, so the runs go two at a time.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
SIZE=${SIZE:-1024x720}
OUT=${OUT:-docs}

if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
    cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo}
fi
cmake --build "$BUILD_DIR" -j"${JOBS:-$(nproc)}" --target lirra

export ALSOFT_DRIVERS=null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$OUT"
COMMON=(--size "$SIZE" --fixed-step 0.0166667 --seed 1)

# shoot NAME INPUT-TEXT [game options...]: one run of the game with the keys of INPUT-TEXT.
shoot() {
    local name=$1 keys=$2
    shift 2
    printf '%b' "$keys" > "$work/$name.keys"
    if xvfb-run -a -s "-screen 0 1280x1024x24" "$BUILD_DIR/lirra" "${COMMON[@]}" --input "$work/$name.keys" "$@" \
        > "$work/$name.log" 2>&1; then
        echo "$name: done"
    else
        echo "$name: the run failed"; tail -5 "$work/$name.log"
    fi
}

# Loading takes frames 0-207; the splash's logo is at its brightest three seconds in.
front() {
    shoot front "" --screenshot "100:$OUT/scene-loading.png" --screenshot "390:$OUT/scene-splash.png" --frames 391
}

# Lirra walks to Dired and talks to her; her first line is typed out.
menu() {
    shoot menu "269 key LEFT press\n329 key LEFT release\n329 key E press\n331 key E release\n" \
        --start "Main Menu" --screenshot "519:$OUT/scene-main-menu.png" --frames 520
}

# The first forest under way, its pause menu, and the developer console over it.
level1() {
    shoot level1 "330 key RIGHT press\n420 key RIGHT release\n440 key ESCAPE press\n441 key ESCAPE release\n\
480 key ESCAPE press\n481 key ESCAPE release\n500 key GRAVE_ACCENT press\n501 key GRAVE_ACCENT release\n" \
        --start "Level 1" --screenshot "415:$OUT/scene-level1.png" --screenshot "470:$OUT/scene-pause.png" \
        --screenshot "540:$OUT/scene-console.png" --frames 541
}

level2() {
    shoot level2 "" --start "Level 2" --screenshot "345:$OUT/scene-level2.png" --frames 346
}

level3() {
    shoot level3 "" --start "Level 3" --screenshot "420:$OUT/scene-level3.png" --frames 421
}

boss() {
    shoot boss "" --start "Boss" --screenshot "560:$OUT/scene-boss.png" --frames 561
}

# The editor with a ledge being built: grass on dirt, a few plants, the next tile under the
# pointer. Cells are placed with the pointer, right of the editor's window.
editor() {
    local keys="" frame=300
    press() { keys+="$frame key $1 press\n$((frame + 1)) key $1 release\n"; frame=$((frame + 3)); }
    # The window pixel over cell (x, y) with the editor's camera at rest.
    place() {
        local px=$(( ($1 + 10) * ${SIZE%x*} / 20 )) py=$(( (10 - $2) * ${SIZE#*x} / 20 ))
        keys+="$frame cursor $px $py\n$((frame + 2)) mouse 0 press\n$((frame + 4)) mouse 0 release\n"
        frame=$((frame + 6))
    }
    tile() { while [ "$index" -lt "$1" ]; do press S; index=$((index + 1)); done; }
    local index=0 x
    press E; press Q; press S; index=1
    for x in 2 3 4 5 6 7 8 9; do place "$x" -3; done
    tile 5
    for x in 2 3 4 5 6 7 8 9; do place "$x" -4; place "$x" -5; done
    tile 41; place 3 -2
    tile 45; place 5 -2
    tile 46; place 8 -2
    tile 49
    keys+="$frame cursor $(( 16 * ${SIZE%x*} / 20 )) $(( 12 * ${SIZE#*x} / 20 ))\n"
    shoot editor "$keys" --start "Editor" --screenshot "$((frame + 30)):$OUT/scene-editor.png" --frames $((frame + 31))
}

# Lirra walks home as soon as she may; Dired speaks from the garden.
ending() {
    shoot ending "330 key LEFT press\n" --start "Level End" --screenshot "1450:$OUT/scene-ending.png" --frames 1451
}

# The end of the fight: the boss demo replayed into the white-out, three seconds before the ending
# takes over (its recorder ran 120 frames past the hand-over). The fight is long, so this run is
# smaller: WHITEOUT_SIZE, 512x360 by default.
whiteout() {
    local options frames
    options=$(head -1 demos/boss.rec | sed -n 's/^# lirra //p')
    frames=$(echo "$options" | sed -n 's/.*--frames \([0-9]*\).*/\1/p')
    if [ -z "$frames" ]; then
        echo "whiteout: demos/boss.rec is not a demo"
        return
    fi
    local shot=$((frames - 300))
    if eval "xvfb-run -a -s '-screen 0 1280x1024x24' \"$BUILD_DIR/lirra\" $options --input demos/boss.rec \
        --size ${WHITEOUT_SIZE:-512x360} --screenshot $shot:$OUT/scene-whiteout.png --frames $((shot + 1))" \
        > "$work/whiteout.log" 2>&1; then
        echo "whiteout: done"
    else
        echo "whiteout: the run failed"; tail -5 "$work/whiteout.log"
    fi
}

SCENES=("$@")
if [ ${#SCENES[@]} -eq 0 ]; then
    SCENES=(front menu level1 level2 level3 boss editor ending whiteout)
fi
running=0
for scene in "${SCENES[@]}"; do
    "$scene" &
    running=$((running + 1))
    if [ $running -ge 2 ]; then
        wait -n || true
        running=$((running - 1))
    fi
done
wait
ls -l "$OUT"/scene-*.png
