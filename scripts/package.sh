#!/usr/bin/env bash
# Builds the game and its data in Release with Debian's hardening flags in ./build-package and
# makes the Debian package build-package/package/lirra_<version>_amd64.deb, then lets lintian
# look at it (a lintian error fails the script).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
BUILD_DIR=${BUILD_DIR:-build-package}
eval "$(dpkg-buildflags --export=sh)"
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release -DLIRRA_BUILD_TESTS=OFF
cmake --build "$BUILD_DIR" -j"$(nproc)" --target lirra
rm -f "$BUILD_DIR"/package/lirra_*.deb
(cd "$BUILD_DIR" && cpack -G DEB)
deb=$(ls "$BUILD_DIR"/package/lirra_*.deb)
lintian --fail-on error "$deb"
echo "Package: $deb"
