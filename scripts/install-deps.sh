#!/usr/bin/env bash
# Installs every Debian package needed to build, run and test the program.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

PACKAGES=(
  build-essential cmake ninja-build ccache pkg-config git locales
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools qt6-charts-dev libqt6opengl6-dev
  qt6-translations-l10n qt6-l10n-tools libgl-dev
  libsqlcipher-dev libsodium-dev libkainjow-mustache-dev libxlsxwriter-dev zlib1g-dev
  libpq-dev postgresql
  clang libclang-rt-14-dev
  fonts-dejavu-core poppler-utils xvfb xauth clang-format
  # Nimbus Sans, the reports' typeface: the same page breaks and column widths on every machine.
  fonts-urw-base35
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
