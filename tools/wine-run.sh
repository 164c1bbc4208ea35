#!/bin/bash
# wine-run.sh PREFIX PROGRAM [ARGS...]: runs a Windows program under Wine in
# PREFIX, setting the prefix up once (Chinese font replacements included).
# Without a DISPLAY it runs inside a private Xvfb.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
prefix=${1:?usage: wine-run.sh PREFIX PROGRAM [ARGS...]}; shift
export WINEPREFIX=$prefix WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
if [[ -z ${DISPLAY:-} ]]; then
  exec xvfb-run -a -s "-screen 0 1920x1200x24" "$0" "$prefix" "$@"
fi
"$here/wine-prefix.sh" "$prefix"
exec wine "$@"
