#!/usr/bin/env bash
# Fuzzes the level reader and writer with libFuzzer for a while (default 60 seconds), starting from
# the seed corpus in fuzz/corpus/level and the game's own level files. Needs Debian's clang and
# libclang-rt-14-dev (scripts/install-deps.sh installs them). Builds in its own directory,
# FUZZ_BUILD_DIR (build-fuzz-level by default); new inputs it finds stay there, crashes too.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
build="${FUZZ_BUILD_DIR:-build-fuzz-level}"
mkdir -p "$build/found" "$build/game-levels"

clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -Isrc fuzz/level_fuzzer.cpp src/levels/LevelFileFormat.cpp -o "$build/level_fuzzer"

seeds=(fuzz/corpus/level)
if compgen -G "data/*.env" > /dev/null; then
  cp data/*.env "$build/game-levels/"
  seeds+=("$build/game-levels")
fi

"$build/level_fuzzer" -max_total_time="$seconds" -max_len=16384 -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$build/" -dict=fuzz/level.dict -print_final_stats=1 "$build/found" "${seeds[@]}"
