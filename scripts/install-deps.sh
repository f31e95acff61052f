#!/usr/bin/env bash
# Installs the Debian packages needed to build, test and run the demo.
# Idempotent: does nothing when everything is already there.
set -euo pipefail

PKGS=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6sql6-mysql libqt6opengl6-dev
  qt6-charts-dev qt6-svg-dev qt6-translations-l10n qt6-l10n-tools
  libgl-dev
  mariadb-server mariadb-client libmariadb-dev
  libcurl4-openssl-dev libxlsxwriter-dev
  fonts-dejavu-core xvfb xauth poppler-utils python3
)

missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
# A packaged server may start itself on install; ours runs privately.
if command -v systemctl >/dev/null 2>&1; then systemctl stop mariadb >/dev/null 2>&1 || true; fi
exit 0
