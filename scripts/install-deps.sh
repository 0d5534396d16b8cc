#!/usr/bin/env bash
# Installs every Debian package the project needs to build, run and test.
# Used by README.md and by .ci/run, so a fresh machine and CI are the same.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-translations-l10n
  libgl-dev
  mdbtools mdbtools-dev
  libsqlite3-dev sqlite3
  libicu-dev
  libedit-dev
  zlib1g-dev libssl-dev libexpat1-dev
  libqpdf-dev qpdf
  nlohmann-json3-dev libtomlplusplus-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang-14 libclang-rt-14-dev
  poppler-utils
  fonts-liberation fonts-wine
  xvfb xauth
  xdotool
  qt6-svg-dev
  nodejs
  locales
  dpkg-dev desktop-file-utils
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# npm ships with some Node.js builds; Debian's own package is the fallback.
if ! command -v npm >/dev/null 2>&1; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends npm
fi

# The Spanish locales the window is checked under: es_ES writes decimals with
# a comma, es_MX with a point.
for local_ in es_ES es_MX; do
  if ! locale -a 2>/dev/null | grep -qi "^${local_}\.utf8$"; then
    localedef -i "$local_" -f UTF-8 "$local_.UTF-8"
  fi
done
