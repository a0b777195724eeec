#!/usr/bin/env bash
# Builds the game and its tests with AddressSanitizer, UndefinedBehaviorSanitizer and
# LeakSanitizer in build-asan (SANITIZE_BUILD_DIR) and runs the whole test suite headless.
# Any sanitizer report aborts the process that made it, so the test that ran it fails.
# Run before every release:  scripts/test-sanitized.sh      (extra arguments go to ctest, e.g. -R Fault)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${SANITIZE_BUILD_DIR:-build-asan}"
jobs="${JOBS:-2}"

bash scripts/install-deps.sh
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLIRRA_SANITIZE=ON
# The game and every test program; the benchmarks and tools play no part in the suite.
targets=(lirra)
for dir in tests/*/; do
  area=$(basename "$dir")
  if [ "$area" != support ] && compgen -G "$dir*.cpp" > /dev/null; then
    targets+=("test_$area")
  fi
done
cmake --build "$build" -j"$jobs" --target "${targets[@]}"

here="$(pwd)"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=0:strict_string_checks=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:suppressions=$here/scripts/ubsan.supp"
export LSAN_OPTIONS="suppressions=$here/scripts/lsan.supp:print_suppressions=0"
export LIBGL_ALWAYS_SOFTWARE=1

start=$(date +%s)
status=0
xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
  ctest --test-dir "$build" --output-on-failure -j"$jobs" --timeout 3000 "$@" || status=$?
echo "Sanitized test run: $(( $(date +%s) - start )) s, status $status"
exit "$status"
