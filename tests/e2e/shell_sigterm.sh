#!/usr/bin/env bash
# SIGTERM shuts the viewer down normally: the devices are released and the status is 0.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"

make_plugin "$WORK/Foo" Struct.txt
start_viewer viewer "$WORK/Foo" -dbf
wait_window "Vondrel Plugin Viewer" >/dev/null
wait_first_poll
kill -TERM "$VIEWER_PID"
expect_exit "$VIEWER_PID" 0 "SIGTERM"
expect_in_file "$LOG" "FreeInput" "input released"
expect_in_file "$LOG" "FreeDirect3D" "device released"
echo "ok: SIGTERM"
