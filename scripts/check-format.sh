#!/usr/bin/env bash
# Fails, naming the files, when a C++ source of the tree is not in the style of .clang-format.
# With --fix it formats them instead.
set -euo pipefail
cd "$(dirname "$0")/.."
CLANG_FORMAT="${CLANG_FORMAT:-clang-format}"
if ! command -v "$CLANG_FORMAT" >/dev/null; then
  echo "check-format: $CLANG_FORMAT not found (bash scripts/install-deps.sh installs it)"
  exit 1
fi
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files -- '*.cpp' '*.h')
else
  mapfile -t files < <(find src tests tools bench fuzz datagen -name '*.cpp' -o -name '*.h' | sort)
fi
if [ "${1:-}" = "--fix" ]; then
  "$CLANG_FORMAT" -i "${files[@]}"
  exit 0
fi
unformatted=()
for f in "${files[@]}"; do
  if ! "$CLANG_FORMAT" --dry-run --Werror "$f" >/dev/null 2>&1; then
    unformatted+=("$f")
  fi
done
if [ ${#unformatted[@]} -ne 0 ]; then
  echo "check-format: ${#unformatted[@]} file(s) not formatted (bash scripts/check-format.sh --fix):"
  printf '  %s\n' "${unformatted[@]}"
  exit 1
fi
echo "check-format: ${#files[@]} files formatted"
