#!/bin/bash
# Runs a test program as on a desktop: a window manager manages Wine's windows,
# so that activation and the keyboard focus take the road they take there.
# On a display that has a window manager already, that one is used.
#
# usage: with-window-manager.sh PROGRAM [ARGS...]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
driver_key='HKCU\Software\Wine\X11 Driver'

if ! xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
  openbox --sm-disable >/dev/null 2>&1 &
  wm=$!
  for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.1; done
  # Each Wine process reads the setting when it starts.
  /usr/lib/wine/wine64 reg add "$driver_key" /v Managed /d Y /f >/dev/null 2>&1
  trap '/usr/lib/wine/wine64 reg add "$driver_key" /v Managed /d N /f >/dev/null 2>&1; kill $wm' EXIT
fi
"$here/../../scripts/wine-run" "$@"
