#!/usr/bin/env bash
# Installs what is missing, builds, and starts the editor linked to the software pedal.
# Extra arguments go to the editor (for example --device serial:/dev/ttyUSB0).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default -j"$(nproc)" --target varkunda-editor varkunda-pedal-sim
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found: run this under a desktop session or as 'xvfb-run -a $0'." >&2
  exit 1
fi
args=("$@")
[ ${#args[@]} -gt 0 ] || args=(--device sim --link)
exec build/default/src/varkunda-editor "${args[@]}"
