#!/usr/bin/env bash
# --help and -h print the usage (the path, every option, the exit statuses);
# --version the version; an unknown option gets one line on standard error
# and the simulator's launch goes on; usage errors end with status 2.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"

for word in --help -h; do
  status=0
  "$PROGRAM" "$word" >"$WORK/help.out" 2>"$WORK/help.err" || status=$?
  [ "$status" = 0 ] || fail "$word: exit status $status"
  [ ! -s "$WORK/help.err" ] || fail "$word: standard error is not empty"
  for text in "Usage: vondrel-viewer <plug-in path> [options]" -win -full -2nd -dbf -night -linear -notext \
    "-shot <out.png>" "-size <W>x<H>" -check -json --version "Exit status" "  2  a usage error" \
    "  3  -check found an error or a warning" "-ignore CODE[,CODE...]"; do
    expect_in_file "$WORK/help.out" "$text" "$word"
  done
done
# Anywhere on the line, as the last word too.
"$PROGRAM" "$ROOT/samples/Struct" -check --help | grep -q "^Usage:" || fail "--help after a path"

status=0
"$PROGRAM" --version >"$WORK/version.out" 2>&1 || status=$?
[ "$status" = 0 ] || fail "--version: exit status $status"
grep -qE '^vondrel-viewer [0-9]+\.[0-9]+\.[0-9]+$' "$WORK/version.out" || fail "--version: '$(cat "$WORK/version.out")'"

# Usage errors: one line, status 2.
usage_error() {
  local what="$1" status=0
  shift
  "$PROGRAM" "$@" >"$WORK/usage.out" 2>"$WORK/usage.err" || status=$?
  [ "$status" = 2 ] || fail "$what: exit status $status, expected 2"
  [ "$(wc -l <"$WORK/usage.err")" = 1 ] || fail "$what: not one line on standard error"
  note "$what: $(cat "$WORK/usage.err")"
}
usage_error "-check without a path" -check
usage_error "-shot without a file" "$ROOT/samples/Struct" -shot
usage_error "-size of a zero side" "$ROOT/samples/Struct" -shot "$WORK/x.png" -size 0x100
usage_error "-size that is no size" "$ROOT/samples/Struct" -shot "$WORK/x.png" -size big
usage_error "-shot with -check" "$ROOT/samples/Struct" -check -shot "$WORK/x.png"

# An unknown option does not stop a launch by the simulator.
start_viewer unknown "$ROOT/samples/Struct" -win -frobnicate
window="$(wait_window "Vondrel Plugin Viewer")"
# Standard error also carries the debug log here: the option's line comes first, and once.
[ "$(grep -c -- -frobnicate "$WORK/unknown.err")" = 1 ] || fail "unknown option: not one line on standard error"
head -1 "$WORK/unknown.err" | grep -qF "unknown option -frobnicate ignored" || fail "unknown option: not the first line"
request_close "$window"
expect_exit "$VIEWER_PID" 0 "the viewer started with an unknown option"
echo "ok: usage"
