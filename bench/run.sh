#!/bin/sh
# Times a whole questionnaire over a generated Norvex folder, by hand (never
# part of the test run): bench/run.sh [LINES] [WORKDIR]
# Needs build/bin/{norvexgen,cuestionario-kova,bench_cuestionario}.
set -eu
LINEAS=${1:-100000}
DIR=${2:-/tmp/kova-bench}
BIN=$(cd "$(dirname "$0")/.." && pwd)/build/bin
rm -rf "$DIR" && mkdir -p "$DIR/norvex"
"$BIN/norvexgen" --lineas "$LINEAS" "$DIR/norvex" >/dev/null
MDB="$DIR/norvex/DataBase/Norvex.mdb"
echo "== machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
echo "== file: $(stat -c %s "$MDB") bytes, $LINEAS operation lines"

echo "== floor: mdb-export of the tables the run reads"
/usr/bin/time -f "mdb-export\t%e s\t%M KB" sh -c "for t in tEmpresa tEmps tCompUsr tSector tDivisas tCliente tMovtos tProces; do mdb-export '$MDB' \$t >/dev/null; done"

for modo in optimizado sin-optimizar; do
    echo "== whole run ($modo): gate + detection + 195 questions, answers only"
    if [ $modo = sin-optimizar ]; then export KOVA_JET_SIN_OPTIMIZAR=1; else unset KOVA_JET_SIN_OPTIMIZAR || true; fi
    /usr/bin/time -f "cuestionario-kova\t%e s\t%M KB" "$BIN/cuestionario-kova" --carpeta "$DIR/norvex" \
        --usuario ADMIN --contrasena NORVEX --respuestas "$DIR/respuestas-$modo.csv" \
        --consultas "$DIR/consultas.csv" >/dev/null
    [ $modo = optimizado ] || continue
    echo "== whole run ($modo) with the PDF report"
    /usr/bin/time -f "cuestionario-kova --pdf\t%e s\t%M KB" "$BIN/cuestionario-kova" --carpeta "$DIR/norvex" \
        --usuario ADMIN --contrasena NORVEX --pdf "$DIR/informe-$modo.pdf" >/dev/null
done
unset KOVA_JET_SIN_OPTIMIZAR || true
cmp "$DIR/respuestas-optimizado.csv" "$DIR/respuestas-sin-optimizar.csv" && echo "answers identical"

echo "== statement by statement (load, then each answer statement)"
"$BIN/bench_cuestionario" "$MDB" "$DIR/consultas.csv" > "$DIR/por-consulta.tsv"
"$BIN/bench_cuestionario" "$MDB" "$DIR/consultas.csv" --sin-optimizar > "$DIR/por-consulta-sin-optimizar.tsv"
grep -E '^(carga|total|maxima)' "$DIR/por-consulta-sin-optimizar.tsv" | sed 's/^/sin-optimizar /' 
grep -E '^(carga|consultas|total|maxima)' "$DIR/por-consulta.tsv"
echo "== slowest statements"
grep -vE '^(carga|consultas|total|maxima)' "$DIR/por-consulta.tsv" | sort -t"$(printf '\t')" -k2 -rn | head -5
