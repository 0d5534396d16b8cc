#!/bin/sh
# Times a whole questionnaire over a generated Norvex folder, by hand (never
# part of the test run): bench/run.sh [LINES] [WORKDIR] [CLIENTS] [PEER_LIMIT_S]
# CLIENTS 0 keeps norvexgen's own count; the naive peer is stopped after
# PEER_LIMIT_S seconds (default 1800) and then only its lower bound is known.
# Needs build/bin/{norvexgen,cuestionario-kova,bench_cuestionario,bench_corrida,
# bench_par_sqlite,bench_ventana,jet_sqlite.so}, mdb-export and sqlite3.
set -eu
LINEAS=${1:-100000}
DIR=${2:-/tmp/kova-bench}
CLIENTES=${3:-0}
LIMITE=${4:-1800}
BIN=$(cd "$(dirname "$0")/.." && pwd)/build/bin
rm -rf "$DIR" && mkdir -p "$DIR/norvex"
if [ "$CLIENTES" = 0 ]; then
    "$BIN/norvexgen" --lineas "$LINEAS" "$DIR/norvex" >/dev/null
else
    "$BIN/norvexgen" --lineas "$LINEAS" --clientes "$CLIENTES" "$DIR/norvex" >/dev/null
fi
MDB="$DIR/norvex/DataBase/Norvex.mdb"
TIEMPO=/usr/bin/time
ARGS="--carpeta $DIR/norvex --usuario ADMIN --contrasena NORVEX"
echo "== machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "== file: $(stat -c %s "$MDB") bytes, $LINEAS operation lines, $(mdb-export "$MDB" tCliente | tail -n +2 | wc -l) clients"

echo "== floor: mdb-export of the tables the run reads"
$TIEMPO -f "mdb-export\t%e s\t%M KB" sh -c "for t in tEmpresa tEmps tCompUsr tSector tDivisas tCliente tMovtos tProces; do mdb-export '$MDB' \$t >/dev/null; done"

echo "== whole run: gate + detection + 195 questions, answers only"
# shellcheck disable=SC2086
$TIEMPO -f "cuestionario-kova\t%e s\t%M KB" "$BIN/cuestionario-kova" $ARGS \
    --respuestas "$DIR/respuestas.csv" --consultas "$DIR/consultas.csv" >/dev/null
echo "== whole run with the PDF report"
# shellcheck disable=SC2086
$TIEMPO -f "cuestionario-kova --pdf\t%e s\t%M KB" "$BIN/cuestionario-kova" $ARGS \
    --pdf "$DIR/informe.pdf" >/dev/null
echo "== whole run with the window's heartbeat (every 50 ms at most): longest time without one"
# shellcheck disable=SC2086
"$BIN/bench_corrida" --latidos -- $ARGS --respuestas "$DIR/respuestas-latidos.csv" | grep -E '^(latidos|mayor)'
cmp "$DIR/respuestas.csv" "$DIR/respuestas-latidos.csv" && echo "answers identical with the heartbeat"

echo "== the window's two jobs with the program's set-up: longest time its events wait"
"$BIN/bench_ventana" "$DIR/norvex" 2>/dev/null | grep -E '^(deteccion|reporte)'
"$BIN/bench_ventana" --sin-latido "$DIR/norvex" 2>/dev/null | grep -E '^(deteccion|reporte)' | sed 's/^/without the heartbeat: /'

echo "== naive peer: sqlite3 running the 160 statements one after another on an imported copy"
"$BIN/bench_par_sqlite" "$MDB" "$DIR/consultas.csv" "$BIN/jet_sqlite.so" "$DIR/par" >/dev/null
$TIEMPO -f "sqlite3\t%e s\t%M KB" timeout "$LIMITE" sqlite3 "$DIR/par.db" \
    <"$DIR/par.sql" >"$DIR/par.out" 2>"$DIR/par.err" || echo "sqlite3 stopped after $LIMITE s or failed"
tail -n 1 "$DIR/par.err"
echo "sqlite3 errors: $(grep -c -i error "$DIR/par.err" || true)"

echo "== whole run, optimisation off"
# shellcheck disable=SC2086
$TIEMPO -f "sin optimizar\t%e s\t%M KB" "$BIN/bench_corrida" --sin-optimizar -- $ARGS \
    --respuestas "$DIR/respuestas-sin-optimizar.csv" >/dev/null
cmp "$DIR/respuestas.csv" "$DIR/respuestas-sin-optimizar.csv" && echo "answers identical without the optimisation"

echo "== statement by statement (load, then each answer statement)"
"$BIN/bench_cuestionario" "$MDB" "$DIR/consultas.csv" > "$DIR/por-consulta.tsv"
grep -E '^(carga|consultas|total|maxima)' "$DIR/por-consulta.tsv"
echo "== slowest statements"
grep -vE '^(carga|consultas|total|maxima)' "$DIR/por-consulta.tsv" | sort -t"$(printf '\t')" -k2 -rn | head -5
