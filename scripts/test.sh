#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. "--asan" uses the
# AddressSanitizer and UndefinedBehaviorSanitizer build instead.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=default
[ "${1:-}" = "--asan" ] && preset=asan
scripts/install-deps.sh
# The compiler cache keys on paths relative to the checkout, so another clone of the
# tree (CI's) reuses what this one compiled.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j"$(nproc)"
ctest --preset "$preset" -j"$(nproc)"
