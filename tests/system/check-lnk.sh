#!/bin/bash
# Reads a link file with lnkinfo, an independent parser, and checks its local
# path, working folder and description, and that it has no arguments.
# usage: check-lnk.sh DRIVE_DIR
#          the link the shortcut test left on drive M:
#        check-lnk.sh LINK_FILE LOCAL_PATH WORKING_FOLDER DESCRIPTION
set -u
if [ $# -eq 1 ]; then
  set -- "$1/Desk/Сорванта v2.1.lnk" 'M:\P\V\a.exe' 'M:\P\V' "Сорванта"
fi
lnk=$1
if [ ! -f "$lnk" ]; then
  echo "missing link file: $lnk"; ls -R "$(dirname "$lnk")" 2>/dev/null | head -20
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
expect "Local path" "$2"
expect "Working directory" "$3"
expect "Description" "$4"
if printf '%s\n' "$info" | grep -q "Command line arguments"; then
  echo "FAIL: the link has arguments"; status=1
fi
[ $status -eq 0 ] && echo "link file checked"
exit $status
