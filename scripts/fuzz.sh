#!/usr/bin/env bash
# fuzz.sh SECONDS: builds the libFuzzer harnesses (clang, ASan, UBSan) in
# build-fuzz/ (or $KOVA_FUZZ_DIR) and runs each for SECONDS seconds, seeded
# with the statements the tool runs and with real and written Access files.
# Prints the executions per harness; exits 1 if any harness found a crash,
# a hang or a sanitizer report (the input is left in build-fuzz/hallazgos/).
set -euo pipefail
segundos=${1:?uso: fuzz.sh SEGUNDOS}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KOVA_FUZZ_DIR:-$root/build-fuzz}
fixtures=$root/tests/fixtures/mdb

CC=clang-14 CXX=clang++-14 cmake -S "$root" -B "$build" -G Ninja -DKOVA_FUZZ=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "${KOVA_JOBS:-$(nproc)}" \
  --target fuzz_sql_jet fuzz_archivo_access fuzz_cifrado_agil semillas_sql semillas_mdb mdbgen \
  norvexgen

# Seeds: written afresh each run, kept beside the corpus the fuzzer grows.
semillas=$build/semillas
rm -rf "$semillas" && mkdir -p "$semillas/sql" "$semillas/mdb" "$semillas/cifrado" \
  "$build/corpus/sql" "$build/corpus/mdb" "$build/corpus/cifrado" "$build/hallazgos"
export ASAN_OPTIONS=detect_leaks=1
"$build/fuzz/semillas_sql" "$semillas/sql" >/dev/null
"$build/fuzz/semillas_mdb" "$semillas/mdb" "$semillas/cifrado"
"$build/bin/norvexgen" --lineas 40 "$semillas/norvex" >/dev/null
cp "$semillas/norvex/DataBase/Norvex.mdb" "$semillas/mdb/norvex.mdb"
for j in "$root"/tests/fuzz/semillas/*.json; do
  "$build/bin/mdbgen" "$j" "$semillas/mdb/$(basename "$j" .json).mdb"
done

export KOVA_FUZZ_BD=$semillas/norvex/DataBase/Norvex.mdb
export KOVA_FUZZ_CONTRASENA=quilon
export KOVA_FUZZ_CONTRASENAS=quilon,password
estado=0
corre() {
  local nombre=$1; shift
  local log=$build/$nombre.log
  set +e
  "$build/fuzz/$nombre" -max_total_time="$segundos" -timeout=30 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$build/hallazgos/$nombre-" "$@" >"$log" 2>&1
  local rc=$?
  set -e
  local n
  n=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo 0)
  if [ $rc -eq 0 ]; then
    echo "$nombre: $n executions, no findings"
  else
    echo "$nombre: $n executions, FINDING (exit $rc, see $log and $build/hallazgos/)"
    estado=1
  fi
}
corre fuzz_sql_jet "$build/corpus/sql" "$semillas/sql" -dict="$root/tests/fuzz/jet.dict"
corre fuzz_archivo_access "$build/corpus/mdb" "$semillas/mdb" "$fixtures" -max_len=4194304
corre fuzz_cifrado_agil "$build/corpus/cifrado" "$semillas/cifrado" \
  -dict="$root/tests/fuzz/cifrado.dict" -max_len=8192
exit $estado
