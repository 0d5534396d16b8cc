#!/usr/bin/env bash
# The window program as a user drives it: a real X server (Xvfb), real key
# and mouse events (xdotool, through XTest), on a demo Norvex folder. The
# keys go through the four steps: Delete, Backspace and typing in the rate
# field, Tab out of it, Enter from field to field and on the focused buttons,
# the detection, a tick, the name's tooltip, the report job and the preview's
# toolbar. A field is read as the user left it with Ctrl+A, Ctrl+C and the
# clipboard. Every step waits for what it needs (a window by its name, ink in
# the list, the clipboard) with a time limit, never a fixed pause.
#
# Screenshots of each step are kept in BUILD/capturas-ventana (CI artifacts);
# nothing else is left behind, and every process started here is ended.
#
#   ventana_x11.sh BUILD_DIR        exit 0 passed, 1 failed, 77 skipped
set -euo pipefail

build=$(cd "${1:?uso: ventana_x11.sh BUILD_DIR}" && pwd)
sonda=$build/tests/sonda_x11
capturas=$build/capturas-ventana

for programa in Xvfb xdotool; do
  if ! command -v "$programa" >/dev/null 2>&1; then
    echo "falta $programa (scripts/install-deps.sh lo instala): prueba omitida"
    exit 77
  fi
done
for programa in "$build/bin/CuestionarioKOVA" "$build/bin/norvexgen" "$sonda"; do
  [ -x "$programa" ] || { echo "falta $programa"; exit 1; }
done

tmp=$(mktemp -d "${TMPDIR:-/tmp}/kova-x11-XXXXXX")
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
captura() {
  nCaptura=$((nCaptura + 1))
  "$sonda" captura "$capturas/$(printf %02d "$nCaptura")-$1.png" >/dev/null 2>&1 ||
    echo "aviso: no se pudo capturar $1" >&2
}

falla() {
  echo "FALLO: $*" >&2
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

# Gives window $1 the keyboard, as a window manager does when the box over
# it closes (Xvfb runs none).
enfoca() {
  timeout 10 xdotool windowfocus --sync "$1" 2>/dev/null || falla "no se pudo enfocar la ventana $1"
}

# Waits until window $1 is gone (at most $2 seconds).
espera_cierre() {
  local limite=$((SECONDS + $2))
  while xdotool getwindowname "$1" >/dev/null 2>&1 &&
    xdotool search --onlyvisible --name '.*' 2>/dev/null | grep -qx "$1"; do
    [ "$SECONDS" -lt "$limite" ] || falla "la ventana $1 sigue abierta tras $2 s"
    sleep 0.1
  done
}

# Reads the focused field with Ctrl+A, Ctrl+C until it holds $1 (at most 10
# seconds); End leaves the caret at the end, nothing selected.
espera_campo() {
  local limite=$((SECONDS + 10)) valor=
  while :; do
    xdotool key ctrl+a ctrl+c
    valor=$("$sonda" portapapeles 2>/dev/null || true)
    xdotool key End
    [ "$valor" = "$1" ] && return 0
    [ "$SECONDS" -lt "$limite" ] || falla "$2: el campo tiene «$valor», se esperaba «$1»"
    sleep 0.1
  done
}

vivo() {
  kill -0 "$app" 2>/dev/null || falla "la ventana terminó antes de tiempo"
}

# A display of its own, whose number Xvfb writes once it is ready.
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
export LC_ALL=C.UTF-8
export XDG_RUNTIME_DIR=$tmp
export NO_AT_BRIDGE=1

# The tool installed as it is meant to be: inside the Norvex folder.
"$build/bin/norvexgen" "$tmp/norvex" >/dev/null
cp "$build/bin/CuestionarioKOVA" "$tmp/norvex/"
cp -r "$build/share/cuestionario-kova/ediciones" "$tmp/norvex/"  # the program takes its editions
(cd "$tmp/norvex" && exec ./CuestionarioKOVA) >"$tmp/app.log" 2>&1 &
app=$!

principal=$(espera_ventana '^Cuestionario KOVA 2018$' 30)
indicaciones=$(espera_ventana '^CuestionarioKOVA$' 30)
captura indicaciones
xdotool key Return
espera_cierre "$indicaciones" 10
vivo
enfoca "$principal"

# Step 1: the rate field has the focus with its initial text.
espera_campo "18.91" "al cerrar las indicaciones"
# Delete twice at the start, a letter that is dropped, two digits, then
# Backspace at the end.
xdotool key Home Delete Delete
xdotool type --delay 40 "x19"
xdotool key End BackSpace
espera_campo "19.9" "tipo de cambio editado con Supr, letras y Retroceso"
captura tipo-de-cambio

# Tab leaves the rate field: the letters land in the user field, upper case.
xdotool key Tab
xdotool type --delay 40 "admin"
espera_campo "ADMIN" "usuario tras Tab desde el tipo de cambio"
# Enter to the password, Enter to "Detectar PEPs", Enter presses it.
xdotool key Return
xdotool type --delay 40 "norvex"
xdotool key Return
captura boton-detectar-enfocado
xdotool key Return

# The names fill the list's name column (below its title row).
"$sonda" tinta "$principal" 182 515 405 95 40 180000 ||
  falla "la detección no llenó la lista"
vivo
captura deteccion

# Tab from the button into the list, Space ticks the first row.
xdotool key Tab space
# Hovering a name shows its key and alerts.
antes=$(xdotool search --onlyvisible --pid "$app" 2>/dev/null | wc -l)
xdotool mousemove --window "$principal" 300 524
limite=$((SECONDS + 10))
while [ "$(xdotool search --onlyvisible --pid "$app" 2>/dev/null | wc -l)" -le "$antes" ]; do
  [ "$SECONDS" -lt "$limite" ] || falla "no apareció la ayuda del nombre"
  sleep 0.1
done
captura marca-y-ayuda-del-nombre
xdotool mousemove 5 5

# Tab moves from cell to cell inside the list; the report button is clicked.
xdotool mousemove --window "$principal" 564 690 click 1
confirmacion=$(espera_ventana '^CuestionarioKOVA$' 30)
captura confirmacion
xdotool key Return
espera_cierre "$confirmacion" 10

vista=$(espera_ventana '^Vista previa - ' 600)
vivo
captura vista-previa

# The toolbar: next page and find by their keys, print by its button (the
# first), each dialog cancelled.
enfoca "$vista"
xdotool key Next
captura pagina-siguiente
xdotool key ctrl+f
buscar=$(espera_ventana '^Buscar$' 20)
captura buscar
xdotool key Escape
espera_cierre "$buscar" 10
enfoca "$vista"

xdotool mousemove --window "$vista" 16 16 click 1
imprimir=$(espera_ventana '^(Imprimir|Print)' 30)
captura imprimir
xdotool key Escape
espera_cierre "$imprimir" 10
vivo
enfoca "$vista"

# The toolbar's PDF button opens its options (cancelled), the next one, a text
# button, the centre's answers (closed unchanged), the last ends the preview;
# their places follow from the icons' size and that text.
xdotool mousemove --window "$vista" 444 16 click 1
opciones=$(espera_ventana '^Exportar a PDF$' 30)
captura exportar-pdf
xdotool key Escape
espera_cierre "$opciones" 10
enfoca "$vista"
xdotool mousemove --window "$vista" 484 16 click 1
forma=$(espera_ventana '^Respuestas del CC' 30)
captura respuestas-del-cc
enfoca "$forma"
xdotool key Escape
espera_cierre "$forma" 10
enfoca "$vista"
xdotool mousemove --window "$vista" 588 16 click 1
espera_cierre "$vista" 20
vivo
enfoca "$principal"
captura reporte-generado
