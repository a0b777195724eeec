#!/usr/bin/env bash
# Keeps the layers of docs/ARCHITECTURE.md: every #include "folder/File.h" in src/ must reach the
# including file's own layer or one below it. Prints each include that breaks the rule and exits 1.
# An optional argument checks another source tree (the CTest case checks src/).
set -euo pipefail
cd "$(dirname "$0")/.."
SOURCE_DIR=${1:-src}

# The layers, lowest first. Folders on one line form one layer and may include each other; a file
# may include its own layer and every layer below it. "." is src/ itself (main.cpp).
LAYERS='
base
math
platform
audio
resources
scene
graphics
physics
actors levels frontend tools
automation
app
.
'

# Folders of one layer that still may not include each other: the including folder, the included
# one. The console and the editor stand over the world they edit.
APART='
actors tools
levels tools
'

# The includes that reach up on purpose, one per line: including file, included file, why.
EXCEPTIONS='
resources/ResourceLoaderGraphics.cpp graphics/Mesh.h the loader makes the meshes it owns
resources/ResourceLoaderGraphics.cpp graphics/Texture.h the loader makes the textures it owns
resources/ResourceLoader.cpp graphics/Mesh.h the loader owns its meshes and ends them
resources/ResourceLoader.cpp graphics/Texture.h the loader owns its textures and ends them
'

mapfile -t sources < <(find "$SOURCE_DIR" -name '*.h' -o -name '*.cpp' | sort)
awk -v root="$SOURCE_DIR" -v layers="$LAYERS" -v apart="$APART" -v exceptions="$EXCEPTIONS" '
  function folder_of(path,    parts) {
    return split(path, parts, "/") > 1 ? parts[1] : "."
  }
  BEGIN {
    count = split(layers, lines, "\n")
    level = 0
    for (i = 1; i <= count; ++i) {
      if (split(lines[i], names, " ") == 0) {
        continue
      }
      ++level
      for (n in names) {
        layer_of[names[n]] = level
      }
    }
    count = split(apart, lines, "\n")
    for (i = 1; i <= count; ++i) {
      if (split(lines[i], words, " ") == 2) {
        kept_apart[words[1] " " words[2]] = 1
      }
    }
    count = split(exceptions, lines, "\n")
    for (i = 1; i <= count; ++i) {
      if (split(lines[i], words, " ") >= 2) {
        allowed[words[1] " " words[2]] = 1
      }
    }
    failures = 0
  }
  FNR == 1 {
    file = substr(FILENAME, length(root) + 2)
    from = folder_of(file)
    if (!(from in layer_of)) {
      printf "%s: the folder %s is in no layer of scripts/check-includes.sh\n", file, from
      ++failures
    }
  }
  /^[ \t]*#[ \t]*include[ \t]*"/ {
    if (!(from in layer_of)) {
      next
    }
    split($0, quoted, "\"")
    target = quoted[2]
    to = index(target, "/") > 0 ? folder_of(target) : from
    if (to == from || (file " " target) in allowed) {
      next
    }
    if (!(to in layer_of) || layer_of[to] > layer_of[from] || (from " " to) in kept_apart) {
      printf "%s:%d: %s may not include %s\n", file, FNR, from == "." ? "src/" : from "/", target
      ++failures
    }
  }
  END {
    if (failures > 0) {
      printf "check-includes: %d include(s) break the layers of docs/ARCHITECTURE.md\n", failures
      exit 1
    }
    print "check-includes: every include keeps to its layer"
  }' "${sources[@]}"
