#!/bin/bash
# Runs a test program through with-drive.sh with drive D: on a file system of
# its own (64 MB), so that D:'s free space differs from C:'s and a figure
# shown for the wrong drive is caught. Where mounting is refused, D: is a
# plain folder in the build tree and OMBREL_OWN_DRIVE stays unset.
#
# usage: with-own-drive.sh MOUNT_DIR PROGRAM [ARGS...]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
mount_dir=$1
shift

mkdir -p "$mount_dir"
if mountpoint -q "$mount_dir"; then umount "$mount_dir" 2>/dev/null || umount -l "$mount_dir"; fi
if mount -t tmpfs -o size=64m ombrel-own "$mount_dir" 2>/dev/null; then
  trap 'umount "$mount_dir" 2>/dev/null || umount -l "$mount_dir"' EXIT
  export OMBREL_OWN_DRIVE=1
else
  echo "with-own-drive.sh: cannot mount a file system here; M: shares C:'s"
fi

OMBREL_DRIVE_LETTER=d "$here/../system/with-drive.sh" "$mount_dir/drive" "$@"
