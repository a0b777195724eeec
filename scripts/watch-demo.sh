#!/usr/bin/env bash
# Plays a demo file in a window: the game replays its keys with the options of its first line.
#
#   scripts/watch-demo.sh demos/full-game.rec [more game options...]
#
# A demo runs on a fixed clock without waiting, so the picture is held to the display's refresh
# (Mesa and NVIDIA drivers) to play it at the speed it was recorded. BUILD_DIR defaults to build.
set -euo pipefail
if [ $# -lt 1 ]; then
    echo "usage: scripts/watch-demo.sh DEMO.rec [game options...]" >&2
    exit 2
fi
demo=$1
shift
game="$(cd "$(dirname "$0")/.." && pwd)/${BUILD_DIR:-build}/lirra"
options=$(head -1 "$demo" | sed -n 's/^# lirra //p')
if [ -z "$options" ]; then
    echo "$demo is not a demo: its first line is not \"# lirra <options>\"" >&2
    exit 2
fi
export vblank_mode=3 __GL_SYNC_TO_VBLANK=1
eval "exec \"\$game\" $options --input \"\$demo\" \"\$@\""
