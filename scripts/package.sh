#!/usr/bin/env bash
# Builds the Debian package build/cuestionario-kova_<version>_amd64.deb (or in
# $KOVA_BUILD_DIR), compiling only what goes into it. Install it with
#   apt-get install ./build/cuestionario-kova_<version>_amd64.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KOVA_BUILD_DIR:-$root/build}
bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja ${KOVA_CMAKE_ARGS:-} >/dev/null
cmake --build "$build" -j "$(nproc)" \
  --target CuestionarioKOVA cuestionario-kova jetsql mdbgen norvexgen paginas_manual
cd "$build"
cpack -G DEB -B "$build" >/dev/null
# CPack's working copy of the installed tree is not needed once the package exists.
rm -rf "$build/_CPack_Packages"
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
echo "$build/cuestionario-kova_${version}_amd64.deb"
