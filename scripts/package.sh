#!/usr/bin/env bash
# Builds the game and its data in Release with Debian's hardening flags in ./build-package and
# makes the Debian package build-package/package/lirra_<version>_amd64.deb, then lets lintian
# look at it (a lintian error or warning fails the script).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
BUILD_DIR=${BUILD_DIR:-build-package}
# Every hardening feature Debian offers, bindnow included; CMake reads no CPPFLAGS, so the
# preprocessor's (_FORTIFY_SOURCE) go in with the compilers' flags.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
eval "$(dpkg-buildflags --export=sh)"
export CFLAGS="$CPPFLAGS $CFLAGS" CXXFLAGS="$CPPFLAGS $CXXFLAGS"
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release -DLIRRA_BUILD_TESTS=OFF
cmake --build "$BUILD_DIR" -j"$(nproc)" --target lirra
rm -f "$BUILD_DIR"/package/lirra_*.deb
(cd "$BUILD_DIR" && cpack -G DEB)
deb=$(ls "$BUILD_DIR"/package/lirra_*.deb)
lintian --fail-on error,warning "$deb"
echo "Package: $deb"
