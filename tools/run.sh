#!/bin/bash
# Builds the program, prepares its run folder beside the .exe (the two empty
# record files and the photo folder; no config.ini, so the first start asks
# for the class) and starts it under Wine on the user's display. Without a
# display it walks through the gate on a virtual one and saves screenshots.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$PWD
tools/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target weimiaobu make_register
prefix=$root/build/windows/wineprefix
run=$root/build/windows/run
mkdir -p "$run"
cp build/windows/src/app/weimiaobu.exe "$run/"
user_display=${DISPLAY:-}
source tools/xvfb.sh
[[ -n $user_display ]] || wmb_start_display "$prefix"
tools/wine-prefix.sh "$prefix"
( cd "$run" && WINEPREFIX=$prefix WINEDEBUG=-all wine "$root/build/windows/tools/make_register.exe" . )
echo "Run folder: $run"
if [[ -n $user_display ]]; then
  WINEPREFIX=$prefix WINEDEBUG=-all exec wine "$run/weimiaobu.exe"
fi
tools/screenshots.sh --walkthrough "$root/build/windows/screenshots"
