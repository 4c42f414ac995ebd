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
  for text in "Usage: vondrel-viewer <plug-in path> [options]" -win -full -2nd -dbf -night -linear -notext -log \
    -watch "vondrel-viewer/debug.txt" \
    "-shot <out.png>" "-size <W>x<H>" -check -json --version "Exit status" "  2  a usage error" \
    "  3  -check found an error or a warning" "-ignore CODE[,CODE...]" "-gallery <folder> <out-dir>" "-j N" \
    "archive.zip!/Folder"; do
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
usage_error "-gallery without an output directory" -gallery "$ROOT/samples"
usage_error "-gallery with no number of workers" -gallery "$ROOT/samples" "$WORK/site" -j

# An unknown option does not stop a launch by the simulator.
start_viewer unknown "$ROOT/samples/Struct" -win -frobnicate
window="$(wait_window "Vondrel Plugin Viewer")"
# Standard error carries what is wrong and no debug log: the option's line alone.
request_close "$window"
expect_exit "$VIEWER_PID" 0 "the viewer started with an unknown option"
[ "$(cat "$WORK/unknown.err")" = "vondrel-viewer: unknown option -frobnicate ignored (--help lists the options)" ] ||
  { cat "$WORK/unknown.err" >&2; fail "unknown option: not its one line alone on standard error"; }

# Options that do nothing in a mode say so in one line, and the mode goes on.
while IFS='|' read -r what expected words; do
  status=0
  # shellcheck disable=SC2086
  env -u DISPLAY -u WAYLAND_DISPLAY "$PROGRAM" "$ROOT/samples/Struct" $words >/dev/null 2>"$WORK/idle.err" || status=$?
  [ "$status" = 0 ] || fail "$what: exit status $status"
  [ "$(cat "$WORK/idle.err")" = "vondrel-viewer: $expected" ] || { cat "$WORK/idle.err" >&2; fail "$what: not its one line"; }
done <<WORDS
-watch with -check|-watch has no effect with -check|-check -watch
-watch with -check -json|-watch has no effect with -check|-watch -check -json
-watch with -shot|-watch has no effect with -shot|-shot $WORK/idle.png -watch -notext
-json without -check|-json has no effect without -check|-shot $WORK/idle.png -json
-size without -shot|-size has no effect without -shot|-check -size 10x10
WORDS
echo "ok: usage"
