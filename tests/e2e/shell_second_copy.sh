#!/usr/bin/env bash
# A second copy refuses to start while one runs; the first goes on unaffected.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"

make_plugin "$WORK/Foo" Struct.txt
start_viewer first "$WORK/Foo"
first=$VIEWER_PID
window="$(wait_window "Vondrel Plugin Viewer")"

toplevel_windows >"$WORK/before"
start_viewer second "$WORK/Foo"
second=$VIEWER_PID
box="$(wait_message_box "$WORK/before")"
screenshot "$box" second_copy_box
dismiss_message_box "$box"
expect_exit "$second" 1 "second copy"
expect_in_file "$WORK/second.err" "このプログラムは既に起動しています." "second-copy message"

kill -0 "$first" 2>/dev/null || fail "the first copy ended"
[ "$(wait_window "Vondrel Plugin Viewer")" = "$window" ] || fail "the first copy's window changed"
kill -TERM "$first"
expect_exit "$first" 0 "first copy after SIGTERM"
echo "ok: second copy"
