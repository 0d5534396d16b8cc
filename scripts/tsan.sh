#!/usr/bin/env bash
# Builds the tests where threads meet with ThreadSanitizer, in build-tsan/ (or
# $KOVA_TSAN_DIR), and runs them: the second thread that answers statements
# ahead, the two halves of a kept derived table, the overlapped reading of a
# table, a union's reload and its rules read by the heartbeat, and whole
# questionnaires run with both threads. Any race, deadlock or misuse of a
# lock that ThreadSanitizer reports fails the script.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KOVA_TSAN_DIR:-$root/build-tsan}
jobs=${KOVA_JOBS:-$(nproc)}
start=$(date +%s)
lanzador=()
if command -v ccache >/dev/null; then
  lanzador=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi

cmake -S "$root" -B "$build" -G Ninja -DKOVA_TSAN=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  "${lanzador[@]}" >/dev/null
cmake --build "$build" -j "$jobs" --target test_motor_jet test_sucursales test_cuestionario_bd

export TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1}
export QT_QPA_PLATFORM=offscreen
"$build/tests/test_motor_jet" \
  --gtest_filter='Anticipador*:Mitades*:LecturaSolapada*:InstantaneaUnion*:Instantanea.*:TablaDeErrores.*'
"$build/tests/test_sucursales"
"$build/tests/test_cuestionario_bd" --gtest_filter='CorridaBDTest.DemoDatabase:CorridaBDTest.ReuseOf*'
echo "tsan: $(( $(date +%s) - start )) s, no reports"
