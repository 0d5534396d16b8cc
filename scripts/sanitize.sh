#!/usr/bin/env bash
# Builds the whole project with AddressSanitizer and UndefinedBehaviorSanitizer
# in its own folder (build-sanitize/, or $KOVA_SANITIZE_DIR) and runs every
# test there. Any sanitizer report fails the test that caused it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KOVA_SANITIZE_DIR:-$root/build-sanitize}
jobs=${KOVA_JOBS:-$(nproc)}
start=$(date +%s)

cmake -S "$root" -B "$build" -G Ninja -DKOVA_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$jobs"

# Leaks are reported at exit too; halting on UB makes it a failure, not a warning.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0:strict_string_checks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export QT_QPA_PLATFORM=offscreen
status=0
(cd "$build" && ctest --output-on-failure -j "$jobs" --timeout 900) || status=$?
echo "sanitize: $(( $(date +%s) - start )) s, ctest exit $status"
exit $status
