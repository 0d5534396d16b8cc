#!/usr/bin/env bash
# revisa-paquete.sh BUILD: builds the Debian package from a finished
# build into a temporary folder (removed at the end) and checks what a user
# would get: the five programs and nothing else in bin, a compressed manual
# page for each command-line program that names every option its program
# accepts, a valid menu entry with its icon, computed dependencies plus those
# no linker sees, and no maintainer scripts (installing writes nothing but
# the package's files, so removing it leaves nothing behind).
set -euo pipefail
build=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fallas=0
falla() {
  echo "FALLA: $*" >&2
  fallas=$((fallas + 1))
}

for herramienta in dpkg-deb dpkg-shlibdeps desktop-file-validate cpack; do
  command -v "$herramienta" >/dev/null || { echo "falta $herramienta (scripts/install-deps.sh)" >&2; exit 1; }
done

version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
(cd "$build" && cpack -G DEB -B "$tmp" >"$tmp/cpack.log" 2>&1) || { cat "$tmp/cpack.log" >&2; exit 1; }
deb=$tmp/cuestionario-kova_${version}_amd64.deb
[ -f "$deb" ] || { echo "no se creó $(basename "$deb"):" >&2; ls "$tmp" >&2; exit 1; }

# Contents.
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$tmp/contenido"
esperados=(
  /usr/bin/CuestionarioKOVA /usr/bin/cuestionario-kova /usr/bin/jetsql /usr/bin/mdbgen
  /usr/bin/norvexgen
  /usr/share/man/man1/cuestionario-kova.1.gz /usr/share/man/man1/jetsql.1.gz
  /usr/share/man/man1/mdbgen.1.gz /usr/share/man/man1/norvexgen.1.gz
  /usr/share/applications/cuestionario-kova.desktop
  /usr/share/icons/hicolor/scalable/apps/cuestionario-kova.svg
  /usr/share/icons/hicolor/48x48/apps/cuestionario-kova.png
  /usr/share/cuestionario-kova/ediciones/2018/edicion.toml
  /usr/share/cuestionario-kova/ediciones/2018/preguntas.toml
  /usr/share/cuestionario-kova/ediciones/2018/reporte.json
  /usr/share/doc/cuestionario-kova/ediciones.md
)
for f in "${esperados[@]}"; do
  grep -qxF "$f" "$tmp/contenido" || falla "el paquete no trae $f"
done
programas=$(grep '^/usr/bin/.' "$tmp/contenido" | sort | tr '\n' ' ')
[ "$programas" = "/usr/bin/CuestionarioKOVA /usr/bin/cuestionario-kova /usr/bin/jetsql /usr/bin/mdbgen /usr/bin/norvexgen " ] ||
  falla "programas de más o de menos en /usr/bin: $programas"
grep -v '^/usr/' "$tmp/contenido" | grep -qvx '/' && falla "archivos fuera de /usr: $(grep -v '^/usr/' "$tmp/contenido" | grep -vx '/' | tr '\n' ' ')"

# Control data.
dpkg-deb -I "$deb" >"$tmp/info"
depende=$(dpkg-deb -f "$deb" Depends)
[ -n "$depende" ] || falla "Depends vacío"
for p in libqt6widgets6 libqt6gui6 libmdb libsqlite3 libicu libqpdf libtomlplusplus3 qt6-qpa-plugins \
         qt6-translations-l10n fonts-liberation fonts-wine; do
  grep -q "$p" <<<"$depende" || falla "Depends no nombra $p: $depende"
done
[ "$(dpkg-deb -f "$deb" Package)" = cuestionario-kova ] || falla "nombre del paquete"
for guion in preinst postinst prerm postrm; do
  grep -qw "$guion" "$tmp/info" && falla "el paquete trae $guion"
done

# What the files say.
dpkg-deb -x "$deb" "$tmp/raiz"
raiz=$tmp/raiz
entrada=$raiz/usr/share/applications/cuestionario-kova.desktop
desktop-file-validate "$entrada" || falla "entrada de menú no válida"
grep -qx 'Name=Cuestionario KOVA 2018' "$entrada" || falla "nombre de la entrada de menú"
ejecuta=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entrada")
[ -x "$raiz/usr/bin/$ejecuta" ] || falla "Exec=$ejecuta no está en el paquete"
icono=$(sed -n 's/^Icon=//p' "$entrada")
[ -f "$raiz/usr/share/icons/hicolor/scalable/apps/$icono.svg" ] || falla "Icon=$icono no está en el paquete"

# Each manual page names every option its program's usage text gives.
uso() {  # what the program says when called with nothing: its usage text
  timeout 60 "$raiz/usr/bin/$1" </dev/null 2>&1 || true
}
for programa in cuestionario-kova jetsql mdbgen norvexgen; do
  pagina=$raiz/usr/share/man/man1/$programa.1.gz
  [ -f "$pagina" ] || continue
  gzip -t "$pagina" || { falla "$programa.1.gz no es gzip"; continue; }
  texto=$(gzip -dc "$pagina" | sed 's/\\-/-/g')
  grep -q "^\.TH $(tr 'a-z' 'A-Z' <<<"$programa") 1" <<<"$texto" || falla "$programa.1 sin .TH"
  u=$(uso "$programa")
  grep -q "$programa" <<<"$u" || falla "$programa no mostró su uso: $u"
  for opcion in $(grep -o -- '--[a-z][a-z-]*' <<<"$u" | sort -u); do
    grep -q -- "$opcion" <<<"$texto" || falla "$programa.1 no menciona $opcion"
  done
done

# The batch program runs from the package's own copy (stripped, dependencies
# as declared on this machine).
"$raiz/usr/bin/cuestionario-kova" --ayuda >/dev/null || falla "cuestionario-kova --ayuda"
# It finds the editions the package installs beside it, and they pass every
# check (the user's data folder is an empty one of the test's).
ediciones=$(XDG_DATA_HOME=$tmp/datos "$raiz/usr/bin/cuestionario-kova" --ediciones) ||
  falla "cuestionario-kova --ediciones"
grep -q "^2018	Encuesta ANDU 2018	2017-01-01/2017-12-31	$raiz/usr/share/cuestionario-kova/ediciones/2018\$" <<<"$ediciones" ||
  falla "cuestionario-kova --ediciones no lista la edición 2018 del paquete: $ediciones"
for edicion in "$raiz"/usr/share/cuestionario-kova/ediciones/*/; do
  XDG_DATA_HOME=$tmp/datos "$raiz/usr/bin/cuestionario-kova" --validar-edicion "$edicion" >/dev/null ||
    falla "la edición $edicion del paquete no pasa --validar-edicion"
done

if [ "$fallas" -gt 0 ]; then
  echo "$fallas fallas en $(basename "$deb")" >&2
  exit 1
fi
echo "$(basename "$deb"): $(wc -l <"$tmp/contenido") entradas; Depends: $depende"
