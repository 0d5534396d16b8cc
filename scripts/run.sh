#!/usr/bin/env bash
# Installs what the build needs, builds, lays out the demo Norvex folder in
# build/demo and opens the tool there, installed as it would be (the window
# program inside the Norvex folder).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KOVA_BUILD_DIR:-$root/build}
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh"

demo=$build/demo
if [ ! -x "$build/bin/norvexgen" ]; then
  echo "El generador de datos de muestra aún no existe: la compilación terminó, no hay demo."
  exit 0
fi
if [ ! -f "$demo/DataBase/Norvex.mdb" ]; then
  "$build/bin/norvexgen" "$demo"
fi
if [ ! -x "$build/bin/CuestionarioKOVA" ]; then
  echo "Carpeta Norvex de demostración lista en $demo; la ventana aún no existe."
  exit 0
fi
cp "$build/bin/CuestionarioKOVA" "$demo/"
echo "Usuario administrador de la demo: ADMIN, contraseña: NORVEX"
exec "$demo/CuestionarioKOVA"
