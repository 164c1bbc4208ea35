#!/bin/bash
# screenshots.sh [--walkthrough] [OUTDIR]: builds the Windows build, then
# walks through the gate with a sample class on a virtual display and saves
# a PNG of the gate, the main window with a few students and the About window.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$PWD
[[ ${1:-} == --walkthrough ]] && shift
out=$(realpath -m "${1:-$root/build/windows/screenshots}")
tools/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target ui_tests
prefix=$root/build/windows/wineprefix
source tools/xvfb.sh
wmb_start_display "$prefix"
tools/wine-prefix.sh "$prefix"
mkdir -p "$out"
WMB_SCREENSHOT_DIR=$(WINEPREFIX=$prefix winepath -w "$out") WINEPREFIX=$prefix WINEDEBUG=-all \
  wine build/windows/tests/ui/ui_tests.exe --gtest_filter='Screenshots.*' >/dev/null
echo "Screenshots:"
ls -1 "$out"/*.png
