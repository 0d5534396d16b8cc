#!/usr/bin/env bash
# The window answering an edition other than the default one, driven as a
# user drives it: a real X server (Xvfb) and real key and mouse events
# (xdotool), once under es_MX.UTF-8 and once under es_ES.UTF-8. The keyboard
# reaches the edition's line at the window's foot (Shift+Tab from the rate
# field), Enter opens the choice, the arrow and Enter pick "Encuesta de prueba
# 2019" (a broken edition dropped in the user's folder is not offered); then
# the detection and the report, whose preview is that edition's (its title,
# its 10 pages), the detail of a computed answer (its rows, of 2018), the PDF
# with the edition's name and title, and the centre's answers kept for the
# edition. Every step waits for what it needs, with a time limit.
#
# Screenshots go to BUILD/capturas-edicion; nothing else is left behind, and
# every process started here is ended.
#
#   edicion_x11.sh BUILD_DIR        exit 0 passed, 1 failed, 77 skipped
set -euo pipefail

build=$(cd "${1:?uso: edicion_x11.sh BUILD_DIR}" && pwd)
sonda=$build/tests/sonda_x11
capturas=$build/capturas-edicion

for programa in Xvfb xdotool pdfinfo; do
  if ! command -v "$programa" >/dev/null 2>&1; then
    echo "falta $programa (scripts/install-deps.sh lo instala): prueba omitida"
    exit 77
  fi
done
for programa in "$build/bin/CuestionarioKOVA" "$build/bin/norvexgen" "$sonda"; do
  [ -x "$programa" ] || { echo "falta $programa"; exit 1; }
done

tmp=$(mktemp -d "${TMPDIR:-/tmp}/kova-edicion-XXXXXX")  # private: also the runtime folder
xvfb=
app=
termina() {
  local estado=$?
  if [ -n "$app" ] && kill -0 "$app" 2>/dev/null; then
    kill "$app" 2>/dev/null || true
    wait "$app" 2>/dev/null || true
  fi
  if [ -n "$xvfb" ]; then
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
  fi
  if [ "$estado" -ne 0 ] && [ -s "$tmp/app.log" ]; then
    echo "--- salida de la ventana ---" >&2
    cat "$tmp/app.log" >&2
  fi
  rm -rf "$tmp"
  exit "$estado"
}
trap termina EXIT

rm -rf "$capturas"
mkdir -p "$capturas"
nCaptura=0
idioma=
captura() {
  nCaptura=$((nCaptura + 1))
  "$sonda" captura "$capturas/$(printf %02d "$nCaptura")-$idioma-$1.png" ${2:-} >/dev/null 2>&1 ||
    echo "aviso: no se pudo capturar $1" >&2
}

falla() {
  echo "FALLO ($idioma): $*" >&2
  captura fallo
  exit 1
}

# Waits until a visible window's name matches $1 (at most $2 seconds) and
# prints its id.
espera_ventana() {
  local id
  id=$(timeout "$2" xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n 1) ||
    true
  [ -n "$id" ] || falla "no apareció la ventana «$1» en $2 s"
  echo "$id"
}

enfoca() {
  timeout 10 xdotool windowfocus --sync "$1" 2>/dev/null || falla "no se pudo enfocar la ventana $1"
}

espera_cierre() {
  local limite=$((SECONDS + $2))
  while xdotool search --onlyvisible --name '.*' 2>/dev/null | grep -qx "$1"; do
    [ "$SECONDS" -lt "$limite" ] || falla "la ventana $1 sigue abierta tras $2 s"
    sleep 0.1
  done
}

# Waits until file $1 exists (at most $2 seconds).
espera_archivo() {
  local limite=$((SECONDS + $2))
  until [ -s "$1" ]; do
    [ "$SECONDS" -lt "$limite" ] || falla "no apareció $1 en $2 s"
    sleep 0.2
  done
}

vivo() {
  kill -0 "$app" 2>/dev/null || falla "la ventana terminó antes de tiempo"
}

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$tmp/pantalla" 2>"$tmp/xvfb.log" &
xvfb=$!
for _ in $(seq 200); do
  [ -s "$tmp/pantalla" ] && break
  kill -0 "$xvfb" 2>/dev/null || falla "Xvfb no arrancó: $(cat "$tmp/xvfb.log")"
  sleep 0.05
done
[ -s "$tmp/pantalla" ] || falla "Xvfb no dio su pantalla"
export DISPLAY=":$(head -n 1 "$tmp/pantalla")"
export QT_QPA_PLATFORM=xcb
export NO_AT_BRIDGE=1
export XDG_RUNTIME_DIR=$tmp

"$build/bin/norvexgen" "$tmp/norvex" >/dev/null
cp "$build/bin/CuestionarioKOVA" "$tmp/norvex/"
cp -r "$build/share/cuestionario-kova/ediciones" "$tmp/norvex/"

for idioma in es_MX.UTF-8 es_ES.UTF-8; do
  if ! locale -a 2>/dev/null | grep -qix "${idioma/UTF-8/utf8}"; then
    echo "aviso: falta el idioma $idioma (scripts/install-deps.sh lo genera): se omite" >&2
    continue
  fi
  # A home and a data folder of the run's own: the PDF goes to its documents,
  # the centre's answers to its data folder, where also lies an edition that
  # does not pass the checks.
  casa=$tmp/casa-$idioma
  datos=$casa/.local/share
  mkdir -p "$casa/Documents" "$datos/CuestionarioKOVA/ediciones/rota"
  printf 'clave = "rota"\n' >"$datos/CuestionarioKOVA/ediciones/rota/edicion.toml"
  (cd "$tmp/norvex" && HOME=$casa XDG_DATA_HOME=$datos LANG=$idioma LC_ALL=$idioma \
    exec ./CuestionarioKOVA) >"$tmp/app.log" 2>&1 &
  app=$!

  principal=$(espera_ventana '^Cuestionario KOVA 2018$' 30)
  indicaciones=$(espera_ventana '^CuestionarioKOVA$' 30)
  xdotool key Return
  espera_cierre "$indicaciones" 10
  enfoca "$principal"
  # The foot line names the default edition; it is the keyboard round's last
  # stop, so Shift+Tab from the rate field reaches it.
  "$sonda" tinta "$principal" 62 684 440 14 60 10000 || falla "no se ve la línea de la edición"
  xdotool key shift+Tab
  captura linea-de-la-edicion "$principal"
  xdotool key Return
  dialogo=$(espera_ventana '^Edición del cuestionario$' 60)
  captura eleccion "$dialogo"
  enfoca "$dialogo"
  xdotool key Down Return
  espera_cierre "$dialogo" 10
  vivo
  enfoca "$principal"
  captura edicion-elegida "$principal"

  # Steps 1 to 4 by keyboard, then the report with the mouse; a whole rate,
  # which reads the same in every locale.
  xdotool key Tab ctrl+a
  xdotool type --delay 40 "19"
  xdotool key Tab
  xdotool type --delay 40 "admin"
  xdotool key Return
  xdotool type --delay 40 "norvex"
  xdotool key Return Return
  "$sonda" tinta "$principal" 182 515 405 20 40 180000 || falla "la detección no llenó la lista"
  xdotool key Tab space
  xdotool mousemove --window "$principal" 564 690 click 1
  confirmacion=$(espera_ventana '^CuestionarioKOVA$' 30)
  xdotool key Return
  espera_cierre "$confirmacion" 10

  # The preview is the chosen edition's report.
  vista=$(espera_ventana '^Vista previa - Encuesta de prueba 2019$' 600)
  vivo
  xdotool windowsize --sync "$vista" 1000 1000
  xdotool windowmove --sync "$vista" 0 0
  enfoca "$vista"
  xdotool key Next
  "$sonda" tinta "$vista" 130 600 500 30 200 20000 || falla "no se ve la página 2"
  captura vista-previa "$vista"

  # A click on question 2's answer opens the rows behind it.
  xdotool mousemove --window "$vista" 300 617 click 1
  detalle=$(espera_ventana '^Detalle de la pregunta 2$' 60)
  captura detalle "$detalle"
  enfoca "$detalle"
  xdotool key Escape
  espera_cierre "$detalle" 10
  enfoca "$vista"

  # The PDF (Ctrl+E): the edition's file name and title, all its pages; a
  # box says where it went.
  xdotool key ctrl+e
  opciones=$(espera_ventana '^Exportar a PDF$' 30)
  captura exportar-pdf "$opciones"
  enfoca "$opciones"
  xdotool key Return
  pdf=$casa/Documents/CuestionarioKOVA-prueba-2019.pdf
  espera_archivo "$pdf" 60
  espera_cierre "$opciones" 30
  hecho=$(espera_ventana '^CuestionarioKOVA$' 60)
  enfoca "$hecho"
  xdotool key Return
  espera_cierre "$hecho" 10
  limite=$((SECONDS + 30))
  until info=$(pdfinfo "$pdf" 2>/dev/null); do
    [ "$SECONDS" -lt "$limite" ] || falla "el PDF no se lee"
    sleep 0.2
  done
  grep -q '^Title: *Cuestionario KOVA de prueba 2019$' <<<"$info" || falla "título del PDF: $info"
  grep -q '^Pages: *10$' <<<"$info" || falla "páginas del PDF: $info"
  enfoca "$vista"

  # The centre's answers (Ctrl+R): this edition's questions, kept for this
  # edition.
  xdotool key ctrl+r
  forma=$(espera_ventana '^Respuestas del CC' 30)
  enfoca "$forma"
  captura respuestas-del-cc "$forma"
  xdotool mousemove --window "$forma" 300 82 click 1
  xdotool type --delay 40 "1,500,000"
  xdotool key Return
  guardadas=$(ls "$datos"/CuestionarioKOVA/respuestas-cc/prueba-2019/1-*.json 2>/dev/null || true)
  limite=$((SECONDS + 20))
  until [ -n "$guardadas" ] && grep -q '"1": "1500000"' "$guardadas"; do
    [ "$SECONDS" -lt "$limite" ] || falla "no se guardaron las respuestas del CC de la edición"
    sleep 0.2
    guardadas=$(ls "$datos"/CuestionarioKOVA/respuestas-cc/prueba-2019/1-*.json 2>/dev/null || true)
  done
  grep -q '"edicion": "prueba-2019"' "$guardadas" || falla "el archivo no nombra su edición"
  if xdotool search --onlyvisible --name '^Respuestas del CC' >/dev/null 2>&1; then
    enfoca "$forma"
    xdotool key Escape
  fi
  enfoca "$vista"
  xdotool key Escape
  espera_cierre "$vista" 20
  vivo
  captura reporte-generado "$principal"

  kill "$app"
  wait "$app" 2>/dev/null || true
  app=
done
