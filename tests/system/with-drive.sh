#!/bin/bash
# Runs a test program under Wine with drive M: (or the letter in
# OMBREL_DRIVE_LETTER) mapped to a fresh folder, so that drive roots, free
# space and link files are tested on a real drive whose Unix side the checks
# can read. Wine learns of a new drive letter only when
# its server starts, hence the restart (the tests using it run serially).
#
# usage: with-drive.sh DRIVE_DIR PROGRAM [ARGS...]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
drive_dir=$1
shift

. "$root/scripts/env.sh"
ombrel_display
[ -n "${WINEPREFIX:-}" ] || ombrel_prefix
export WINEDEBUG=-all LC_ALL=ru_RU.UTF-8 WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
wineserver=/usr/lib/wine/wineserver64

letter=${OMBREL_DRIVE_LETTER:-m}
letter=${letter,,}
link="$WINEPREFIX/dosdevices/$letter:"
# A link left by a run that was killed is replaced; a real drive is not.
if [ -e "$link" ] && [ ! -L "$link" ]; then
  echo "with-drive.sh: $link already exists in this prefix" >&2
  exit 1
fi
# Q: stands for a drive that does not exist. OMBREL_DRIVE_DIR tells the
# program where the drive lives, so that it can make the drive go away.
if [ -e "$WINEPREFIX/dosdevices/q:" ]; then
  echo "with-drive.sh: drive Q: must not exist in this prefix" >&2
  exit 1
fi

rm -rf "$drive_dir"
mkdir -p "$drive_dir"
ln -sfn "$drive_dir" "$link"
trap 'rm -f "$link"; "$wineserver" -k 2>/dev/null; ombrel_cleanup' EXIT
"$wineserver" -k 2>/dev/null
"$wineserver" -w 2>/dev/null

OMBREL_TEST_DRIVE=${letter^^} OMBREL_DRIVE_DIR="$drive_dir" OMBREL_ABSENT_DRIVE=Q /usr/lib/wine/wine64 "$@"
