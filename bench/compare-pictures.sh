#!/usr/bin/env bash
# Takes the same screenshots of every scene with two builds of the game and prints how far each
# pair differs (largest and mean channel difference, share of differing pixels), to show that a
# cheaper way of drawing leaves the picture as it was.
#
#   bench/compare-pictures.sh BEFORE_LIRRA BEFORE_DATA AFTER_LIRRA AFTER_DATA OUT_DIR [WxH]
#
# Run it on a display (xvfb-run). The picture-diff tool is taken from AFTER_LIRRA's directory.
set -euo pipefail
if [ $# -lt 5 ]; then
  sed -n '2,8p' "$0"
  exit 2
fi
before=$1 beforeData=$2 after=$3 afterData=$4 out=$5 size=${6:-256x180}
repo=$(cd "$(dirname "$0")/.." && pwd)
diff=$(dirname "$after")/lirra-picture-diff
mkdir -p "$out"

# name | frames to shoot | options
runs=(
  "intro|215 400 700|--frames 701"
  "level1|300 700 1200 1800|--start Level\ 1 --input $repo/demos/level1.rec --frames 1801"
  "level2|300 1000 2000 3000|--start Level\ 2 --input $repo/demos/level2.rec --frames 3001"
  "level3|300 1000 1800 2400|--start Level\ 3 --input $repo/demos/level3.rec --frames 2401"
  "boss|300 600 900|--start Boss --frames 901"
  "ending|300 600 900|--start Level\ End --frames 901"
)

shoot() {  # binary data name frames options...
  local binary=$1 data=$2 name=$3 frames=$4
  shift 4
  local shots=()
  for f in $frames; do
    shots+=(--screenshot "$f:$out/$name-$f.png")
  done
  eval "\"$binary\" --data \"$data\" --size $size --fixed-step 0.0166667 --seed 1 $* ${shots[*]}" > "$out/$name.log" 2>&1
}

for run in "${runs[@]}"; do
  IFS='|' read -r name frames options <<< "$run"
  shoot "$before" "$beforeData" "before-$name" "$frames" "$options"
  shoot "$after" "$afterData" "after-$name" "$frames" "$options"
  for f in $frames; do
    printf '%-8s frame %5s: ' "$name" "$f"
    "$diff" "$out/before-$name-$f.png" "$out/after-$name-$f.png" || true
  done
done
