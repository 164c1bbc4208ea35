#!/bin/bash
# Sourced: starts a private Xvfb unless a display is already set, and stops
# it (and the given Wine prefix's server) when the calling script exits.
wmb_start_display() {
  local prefix=$1
  WMB_XVFB_PID=
  if [[ -z ${DISPLAY:-} ]]; then
    local n
    for n in $(seq 90 140); do
      [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
      Xvfb ":$n" -screen 0 1920x1200x24 -nolisten tcp >/dev/null 2>&1 &
      WMB_XVFB_PID=$!
      export DISPLAY=":$n"
      break
    done
    local i
    for i in $(seq 1 50); do [[ -e /tmp/.X11-unix/X${DISPLAY#:} ]] && break; sleep 0.1; done
  fi
  WMB_WINEPREFIX=$prefix
  trap wmb_stop_display EXIT
}
wmb_stop_display() {
  if [[ -n ${WMB_WINEPREFIX:-} && -d $WMB_WINEPREFIX ]]; then WINEPREFIX=$WMB_WINEPREFIX wineserver -k 2>/dev/null || true; fi
  if [[ -n ${WMB_XVFB_PID:-} ]]; then kill "$WMB_XVFB_PID" 2>/dev/null || true; fi
}
