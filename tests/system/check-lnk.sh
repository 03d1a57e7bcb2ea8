#!/bin/bash
# Reads the link file the shortcut test left on drive M: with lnkinfo, an
# independent parser, and checks the three settings the element makes and the
# arguments it leaves unset.
# usage: check-lnk.sh DRIVE_DIR
set -u
drive_dir=$1
lnk="$drive_dir/Desk/Сорванта v2.1.lnk"
if [ ! -f "$lnk" ]; then
  echo "missing link file: $lnk"; ls -R "$drive_dir" 2>/dev/null | head -20
  exit 1
fi
info=$(lnkinfo "$lnk") || { echo "lnkinfo failed"; exit 1; }
echo "$info"
status=0
expect() { # label, expected value
  local got
  got=$(printf '%s\n' "$info" | sed -n "s/^[[:space:]]*$1[[:space:]]*: //p" | head -1)
  if [ "$got" != "$2" ]; then echo "FAIL: $1 is '$got', expected '$2'"; status=1; fi
}
expect "Local path" 'M:\P\V\a.exe'
expect "Working directory" 'M:\P\V'
expect "Description" "Сорванта"
if printf '%s\n' "$info" | grep -q "Command line arguments"; then
  echo "FAIL: the link has arguments"; status=1
fi
[ $status -eq 0 ] && echo "link file checked"
exit $status
