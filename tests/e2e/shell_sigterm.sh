#!/usr/bin/env bash
# SIGTERM shuts the viewer down normally: the devices are released and the status is 0.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"

make_plugin "$WORK/Foo" Struct.txt
start_viewer viewer "$WORK/Foo" -dbf
wait_window "Vondrel Plugin Viewer" >/dev/null
sleep 0.5
kill -TERM "$VIEWER_PID"
expect_exit "$VIEWER_PID" 0 "SIGTERM"
log="$WORK/bin/debug.txt"
expect_in_file "$log" "FreeInput" "input released"
expect_in_file "$log" "FreeDirect3D" "device released"
echo "ok: SIGTERM"
