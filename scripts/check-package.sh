#!/usr/bin/env bash
# Builds the Debian package (scripts/package.sh) and checks it as a user would meet it:
# the files it holds, the libraries it depends on, lintian (errors fail), the desktop
# entry and AppStream metainfo, and the unpacked editor and software pedal starting.
set -euo pipefail
cd "$(dirname "$0")/.."

log=$(mktemp)
work=$(mktemp -d)
trap 'rm -rf "$work" "$log"' EXIT

if ! scripts/package.sh >"$log" 2>&1; then
  cat "$log" >&2
  echo "package: 0 passed, 1 failed"
  exit 1
fi
deb=$(tail -n 1 "$log")

passed=0
failed=0
check() {  # check NAME COMMAND...: runs the command, reports and counts the result
  local name=$1
  shift
  local output
  if output=$("$@" 2>&1); then
    echo "ok - $name"
    passed=$((passed + 1))
  else
    echo "FAILED - $name"
    [ -z "$output" ] || sed 's/^/    /' <<<"$output"
    failed=$((failed + 1))
  fi
}

app=com.kavro.VarkundaEditor
expected_files=(
  ./usr/bin/varkunda-editor
  ./usr/bin/varkunda-pedal-sim
  ./usr/share/applications/$app.desktop
  ./usr/share/icons/hicolor/scalable/apps/$app.svg
  ./usr/share/metainfo/$app.metainfo.xml
  ./usr/lib/udev/rules.d/70-varkunda-ftdi.rules
  ./usr/share/doc/varkunda-editor/copyright
  ./usr/share/doc/varkunda-editor/changelog.gz
  ./usr/share/man/man1/varkunda-editor.1.gz
  ./usr/share/man/man1/varkunda-pedal-sim.1.gz
)
holds_files() {
  local listing missing=0
  listing=$(dpkg-deb -c "$deb" | awk '{print $6}')
  for file in "${expected_files[@]}"; do
    grep -qxF "$file" <<<"$listing" || { echo "missing: $file"; missing=1; }
  done
  return "$missing"
}

# dpkg-shlibdeps found the Qt libraries the programs link against.
depends_on_runtime() {
  local depends
  depends=$(dpkg-deb -f "$deb" Depends)
  for package in libqt6widgets6 libqt6network6 libqt6serialport6 libudev1 fonts-dejavu-core; do
    grep -q "\b$package\b" <<<"$depends" || { echo "Depends lacks $package: $depends"; return 1; }
  done
}

udev_rule_grants_access() {
  local rules
  rules=$(grep -v '^[[:space:]]*#' "$work/root/usr/lib/udev/rules.d/70-varkunda-ftdi.rules")
  grep -q 'ATTRS{idVendor}=="0403".*TAG+="uaccess"' <<<"$rules" &&
    ! grep -Eq 'unbind|RUN|DRIVER' <<<"$rules"
}

# The editor runs until it is stopped: timeout's 124 means it was still running.
editor_starts() {
  local status=0
  env -i PATH="$PATH" HOME="$work/home" VARKUNDA_DOCUMENTS="$work/documents" \
    QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/runtime" \
    timeout 3 "$work/root/usr/bin/varkunda-editor" --device sim || status=$?
  [ "$status" = 124 ] || { echo "the editor ended with status $status within 3 s"; return 1; }
}

pedal_sim_serves() {
  local first
  first=$(timeout 2 "$work/root/usr/bin/varkunda-pedal-sim" | head -n 1 || true)
  [[ "$first" == /dev/pts/* ]] || { echo "first line: '$first'"; return 1; }
}

mkdir -p "$work/root" "$work/home" "$work/documents" "$work/runtime"
chmod 700 "$work/runtime"
check "package holds the programs, desktop entry, icon, metainfo, udev rule, documents and manual pages" holds_files
check "package depends on the runtime libraries" depends_on_runtime
check "lintian finds no error" lintian --fail-on error "$deb"
check "package unpacks" dpkg-deb -x "$deb" "$work/root"
check "desktop entry is valid" desktop-file-validate "$work/root/usr/share/applications/$app.desktop"
check "AppStream metainfo is valid" \
  appstreamcli validate --no-net --strict "$work/root/usr/share/metainfo/$app.metainfo.xml"
check "udev rule tags FTDI bridges for the logged-in user and leaves the driver bound" \
  udev_rule_grants_access
check "unpacked editor starts offscreen on the software pedal" editor_starts
check "unpacked software pedal serves a pseudo-terminal" pedal_sim_serves

echo "package: $passed passed, $failed failed"
[ "$failed" = 0 ]
