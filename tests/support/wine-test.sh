#!/bin/bash
# Runs a Windows test program under Wine with the drives the tests need: D: a 64 MB file system of its
# own (free space unlike C:'s), M: a 1 MB one (writes run out of room), N: one of few file entries
# (writes run out of them: 58, an installation and a dozen more), Q: never there. Where mounting
# is refused, D: and M: are plain folders and OMBREL_MOUNTED stays unset (tests that need the sizes
# skip). OMBREL_DPI sets the screen's resolution. Wine's debug output (a loader trace) goes to
# OMBREL_STDERR_LOG, shown afterwards. OMBREL_WINDOW_MANAGER: a window manager manages the windows.
#
# usage: wine-test.sh PROGRAM [ARGS...]
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/scripts/env.sh"
ombrel_display
[ -n "${WINEPREFIX:-}" ] || ombrel_prefix
# Names the installer or its system libraries look for, planted beside copies of it by the tests:
# native first, so a planted copy would win. Not version.dll: Wine's own user32 imports it from the
# program's folder before the program runs (on Windows user32's imports come from the system folder).
# shcore is planted, though Wine's shell32 imports it the same way: the test names that load as Wine's.
export OMBREL_PLANTED_NAMES="uxtheme comctl32 dwmapi profapi cryptbase winmm msimg32 oleacc propsys windowscodecs
  userenv clbcatq ntmarta apphelp setupapi shcore"
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;$(echo $OMBREL_PLANTED_NAMES | tr ' ' ',')=n,b"

run=$(mktemp -d "${TMPDIR:-/tmp}/ombrel-drives.XXXXXX")
export OMBREL_STDERR_LOG=$run/stderr.log OMBREL_MOUNTED=1 OMBREL_DRIVE_D=$run/d/drive
cleanup() {
  rm -f "$WINEPREFIX/dosdevices/d:" "$WINEPREFIX/dosdevices/m:" "$WINEPREFIX/dosdevices/n:"
  /usr/lib/wine/wineserver64 -k 2>/dev/null
  for d in d m n; do mountpoint -q "$run/$d" && { umount "$run/$d" 2>/dev/null || umount -l "$run/$d"; }; done
  rm -rf "$run"
  ombrel_cleanup
}
trap cleanup EXIT
for d in d:64m m:1m n:16m,nr_inodes=58; do
  l=${d%:*}
  mkdir -p "$run/$l"
  mount -t tmpfs -o "size=${d#*:}" "ombrel-$l" "$run/$l" 2>/dev/null || unset OMBREL_MOUNTED
  mkdir -p "$run/$l/drive" && ln -sfn "$run/$l/drive" "$WINEPREFIX/dosdevices/$l:"
done
rm -f "$WINEPREFIX/dosdevices/q:"
# Wine learns of drive letters when its server starts.
/usr/lib/wine/wineserver64 -k 2>/dev/null
/usr/lib/wine/wineserver64 -w 2>/dev/null

[ -n "${OMBREL_DPI:-}" ] && /usr/lib/wine/wine64 reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
  /d "$OMBREL_DPI" /f >/dev/null 2>&1

if [ -n "${OMBREL_WINDOW_MANAGER:-}" ]; then
  openbox --sm-disable >/dev/null 2>&1 & wm=$!
  for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.1; done
  ombrel_managed Y
fi
/usr/lib/wine/wine64 "$@" 2>>"$OMBREL_STDERR_LOG"
status=$?
[ -n "${OMBREL_WINDOW_MANAGER:-}" ] && { ombrel_managed N; kill "$wm"; }
cat "$OMBREL_STDERR_LOG" >&2
exit $status
