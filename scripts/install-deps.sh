#!/usr/bin/env bash
# Installs the Debian packages the editor needs to build, test and run, when missing,
# and any further packages named as arguments.
set -euo pipefail
packages=(
  build-essential cmake ccache pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libqt6serialport6-dev
  libgl-dev libudev-dev libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth imagemagick fonts-dejavu-core
  stm32flash
  file lintian appstream desktop-file-utils help2man
)
packages+=("$@")
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if ((${#missing[@]})); then
  sudo=""; [ "$(id -u)" = 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
