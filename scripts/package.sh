#!/usr/bin/env bash
# Installs what is missing, builds the programs and makes the Debian package in
# build/package/ (its path is the last line printed). The package takes the default
# build's binaries (optimised, with debug information, which CPack strips).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default -j"$(nproc)" --target varkunda-installed-programs
rm -f build/package/*.deb
cpack --config build/default/CPackConfig.cmake -B build/package >/dev/null
ls build/package/*.deb
