#!/bin/sh
# Times the evidence export of a whole questionnaire over a generated Norvex
# folder, by hand (never part of the test run):
# bench/evidencia.sh [LINES] [WORKDIR] [CLIENTS]
# Needs build/bin/{norvexgen,cuestionario-kova} and python3.
set -eu
LINEAS=${1:-100000}
DIR=${2:-/tmp/kova-bench-evidencia}
CLIENTES=${3:-0}
BIN=$(cd "$(dirname "$0")/.." && pwd)/build/bin
rm -rf "$DIR" && mkdir -p "$DIR/norvex"
if [ "$CLIENTES" = 0 ]; then
    "$BIN/norvexgen" --lineas "$LINEAS" "$DIR/norvex" >/dev/null
else
    "$BIN/norvexgen" --lineas "$LINEAS" --clientes "$CLIENTES" "$DIR/norvex" >/dev/null
fi
TIEMPO=/usr/bin/time
ARGS="--carpeta $DIR/norvex --usuario ADMIN --contrasena NORVEX"
echo "== machine: $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "== file: $(stat -c %s "$DIR/norvex/DataBase/Norvex.mdb") bytes, $LINEAS operation lines"
echo "== whole run, answers only"
# shellcheck disable=SC2086
$TIEMPO -f "answers\t%e s\t%M KB" "$BIN/cuestionario-kova" $ARGS --respuestas "$DIR/r1.csv"
echo "== whole run with the evidence of the 160 computed answers"
# shellcheck disable=SC2086
$TIEMPO -f "answers+evidence\t%e s\t%M KB" "$BIN/cuestionario-kova" $ARGS \
    --respuestas "$DIR/r2.csv" --evidencia "$DIR/evidencia"
cmp "$DIR/r1.csv" "$DIR/r2.csv" && echo "answers identical with the evidence"
FILAS=$(python3 -c 'import csv,sys; print(sum(int(r["filas"]) for r in csv.DictReader(open(sys.argv[1], newline=""))))' "$DIR/evidencia/indice.csv")
echo "files: $(ls "$DIR/evidencia" | wc -l), evidence rows: $FILAS, size: $(du -sh "$DIR/evidencia" | cut -f1)"
