#!/usr/bin/env bash
# Runs one Windows program of the build under Wine (ctest's cross-compiling emulator).
# Usage: tools/wine-run.sh program.exe [arguments...]
set -u
. "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
qv_ensure_prefix || exit 1
qv_start_xvfb || exit 1
trap qv_stop_xvfb EXIT
exe="$1"; shift
# Run from the program's folder so relative data paths resolve as they do for a user.
cd "$(dirname "$exe")" || exit 1
# Wine's helper processes (services, explorer) inherit the program's output; they must not hold
# the caller's pipe open, so the output goes through a file.
out=$(mktemp)
wine "$(basename "$exe")" "$@" >"$out" 2>&1
rc=$?
cat "$out"
rm -f "$out"
exit $rc
