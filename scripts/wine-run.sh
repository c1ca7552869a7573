#!/usr/bin/env bash
# Runs a Windows program under Wine for ctest (the cross build's emulator).
#
# The program's output goes through files, never straight into the caller's pipes: a Wine
# process that starts the Wine server or its background services hands them its standard
# handles, and those processes outlive the program. Had they inherited ctest's pipe, ctest would
# wait for an end of output that comes only when the server quits. A program that does not end
# within RSF_WINE_TIMEOUT seconds (default 900) is stopped.
set -u
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
timeout -k 10 "${RSF_WINE_TIMEOUT:-900}" /usr/lib/wine/wine64 "$@" </dev/null >"$out" 2>"$err"
status=$?
cat "$out"
cat "$err" >&2
exit $status
