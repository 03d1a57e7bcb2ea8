#!/bin/bash
# Runs a test program through with-drive.sh with drive M: on a fresh 1 MB
# file system, so that writes run out of room. Needs the right to mount; where
# that is refused the run is reported as skipped (exit 77).
#
# usage: with-small-drive.sh MOUNT_DIR PROGRAM [ARGS...]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
mount_dir=$1
shift

mkdir -p "$mount_dir"
if mountpoint -q "$mount_dir"; then umount "$mount_dir" 2>/dev/null || umount -l "$mount_dir"; fi
if ! mount -t tmpfs -o size=1m ombrel-small "$mount_dir" 2>/dev/null; then
  echo "with-small-drive.sh: cannot mount a small file system here; skipped"
  exit 77
fi
trap 'umount "$mount_dir" 2>/dev/null || umount -l "$mount_dir"' EXIT

OMBREL_SMALL_DRIVE=1 "$here/with-drive.sh" "$mount_dir/drive" "$@"
