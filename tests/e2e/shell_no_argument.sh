#!/usr/bin/env bash
# Started on its own, the viewer refuses with a message box and status 1.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"

toplevel_windows >"$WORK/before"
start_viewer alone
box="$(wait_message_box "$WORK/before")"
title="$(window_title "$box")"
[ "$title" = "Vondrel" ] || fail "message box title: '$title', expected 'Vondrel'"
screenshot "$box" no_argument_box
dismiss_message_box "$box"
expect_exit "$VIEWER_PID" 1 "no argument"
# The box is also written to standard error as "<caption>: <text>".
expect_in_file "$WORK/alone.err" "Vondrel: 単独で起動しても使えませんのだ" "no-argument message on standard error"
expect_in_file "$WORK/alone.err" "no plug-in path" "reason line"
echo "ok: no argument"
