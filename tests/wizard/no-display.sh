#!/bin/bash
# Started without a display, the installer can make no window: it ends at once with exit code 3. In a
# Wine server of its own, which a process without a display leaves unfit for the next ones.
# usage: no-display.sh PROGRAM
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/scripts/env.sh"
[ -n "${WINEPREFIX:-}" ] || { ombrel_display; ombrel_prefix; }
restart() { /usr/lib/wine/wineserver64 -k 2>/dev/null; /usr/lib/wine/wineserver64 -w 2>/dev/null; }
restart
timeout 20 env -u DISPLAY /usr/lib/wine/wine64 "$1"
code=$?
restart
[ "$code" -eq 3 ] && exit 0
echo "without a display the installer ended with $code (124: still running after 20 s), not 3" >&2
exit 1
