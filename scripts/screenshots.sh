#!/usr/bin/env bash
# Draws the editor's windows against the software pedal under Xvfb into
# docs/screenshots/ (main window linked, effect window, console, Firmware Upgrade window
# during a run, the focus mark in a dark and a light look, the two main windows at scale
# factor 2), the pictures the README shows. Run it again after changing a window.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs/screenshots}
cmake --preset default >/dev/null
cmake --build build/default -j2 --target varkunda-screenshots
mkdir -p "$out"
# A home of its own, so the editor's settings files and documents folder are fresh.
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
draw() {
  HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$home" LANG=C.UTF-8 \
    QT_QPA_PLATFORM=xcb xvfb-run -a -s '-screen 0 1280x1024x24' \
    build/default/tools/varkunda-screenshots "$1"
}
draw "$out"
# The two main windows again at a scale factor of 2, as on a high-density screen.
mkdir -p "$home/scaled"
QT_SCALE_FACTOR=2 draw "$home/scaled"
cp "$home/scaled/main-window.png" "$out/main-window-scale2.png"
cp "$home/scaled/effect-window.png" "$out/effect-window-scale2.png"
# Small files: no metadata, and optipng where it is installed.
for picture in "$out"/*.png; do
  convert "$picture" -strip "$picture"
  if command -v optipng >/dev/null; then optipng -quiet -o2 "$picture"; fi
done
ls -l "$out"
