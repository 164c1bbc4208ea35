#!/bin/bash
# Installs what is missing, builds both builds and runs every test:
# native (with AddressSanitizer and UBSan), the fuzzer for a short while, and
# the Windows build under Wine (logic tests and the real windows).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$PWD
tools/setup.sh

werror=${WMB_WERROR:-ON}
fuzz_seconds=${WMB_FUZZ_SECONDS:-30}

echo "== native build (ASan + UBSan)"
cmake --preset native-debug -DWMB_WERROR="$werror" >/dev/null
cmake --build --preset native-debug
echo "== native tests"
ctest --preset native-debug

echo "== fuzzing (${fuzz_seconds} s)"
cmake --preset fuzz -DWMB_WERROR="$werror" >/dev/null
cmake --build --preset fuzz --target register_open_fuzzer
mkdir -p build/fuzz/corpus
build/fuzz/tests/fuzz/register_open_fuzzer -max_total_time="$fuzz_seconds" -max_len=65536 \
  -rss_limit_mb=2048 build/fuzz/corpus tests/fuzz/corpus 2>&1 | tail -n 3

echo "== Windows build (MinGW-w64)"
cmake --preset windows -DWMB_WERROR="$werror" >/dev/null
cmake --build --preset windows
source tools/xvfb.sh
wmb_start_display "$root/build/windows/wineprefix"
tools/wine-prefix.sh "$root/build/windows/wineprefix"
echo "== Windows tests under Wine"
ctest --preset windows

echo "== Windows layout at 150 % (144 DPI) under Wine"
WMB_WINE_DPI=144 WMB_WINE_DESKTOP=1920x1200 tools/wine-prefix.sh "$root/build/windows/wineprefix-144dpi"
tools/wine-run.sh "$root/build/windows/wineprefix-144dpi" build/windows/tests/ui/ui_tests.exe \
  --gtest_filter='*Layout*' --gtest_brief=1
WINEPREFIX=$root/build/windows/wineprefix-144dpi wineserver -k 2>/dev/null || true
