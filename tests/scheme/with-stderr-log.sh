#!/bin/bash
# Runs a test program with its standard error in a file that the program can
# read (OMBREL_STDERR_LOG): Wine writes the debug output of the programs it
# starts, the loader trace among it, to the standard error it inherited. The
# file is shown afterwards.
#
# usage: with-stderr-log.sh LOG PROGRAM [ARGS...]
set -uo pipefail
log=$1
shift
: > "$log"
OMBREL_STDERR_LOG="$log" "$(dirname "$0")/../../scripts/wine-run" "$@" 2>>"$log"
status=$?
cat "$log" >&2
exit $status
