#!/bin/bash
# wine-prefix.sh PREFIX: creates the Wine prefix once, with the font
# replacements that make Chinese text render. Safe to call concurrently.
set -euo pipefail
prefix=${1:?usage: wine-prefix.sh PREFIX}
mkdir -p "$prefix"
exec 9>"$prefix.lock"
flock 9
[[ -f $prefix/.wmb-ready ]] && exit 0
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
wineboot -i >/dev/null 2>&1
reg=$prefix/fonts.reg
{
  printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
  for f in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" SimSun 宋体 微软雅黑 华文楷体; do
    printf '"%s"="WenQuanYi Micro Hei"\r\n' "$f"
  done
  # A virtual desktop draws window frames and hosts the tray without a window manager.
  printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\r\n"Desktop"="Default"\r\n'
  printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\r\n"Default"="%s"\r\n' "${WMB_WINE_DESKTOP:-1280x800}"
  # WMB_WINE_DPI=144 makes a prefix that runs at 150 %.
  if [[ -n ${WMB_WINE_DPI:-} ]]; then
    printf '\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"LogPixels"=dword:%08x\r\n' "$WMB_WINE_DPI"
  fi
} | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } > "$reg"
wine regedit "$reg" >/dev/null 2>&1
wineserver -w
touch "$prefix/.wmb-ready"
