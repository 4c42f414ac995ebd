#!/usr/bin/env bash
# "-dbf" appends the log to debug.txt beside the program, one block per run;
# an argument that names nothing ends silently with its reason and status 1.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"

log="$WORK/bin/debug.txt"
make_plugin "$WORK/Foo" Struct.txt
for run in 1 2; do
  start_viewer "run$run" "$WORK/Foo" -dbf
  wait_window "Vondrel Plugin Viewer" >/dev/null
  kill -TERM "$VIEWER_PID"
  expect_exit "$VIEWER_PID" 0 "run $run"
done

# Each run: separator, InitDebugStream, date, OS, memory, then the devices.
mapfile -t lines <"$log"
separator='----------------------------------------'
report=0
for ((i = 0; i + 4 < ${#lines[@]}; i++)); do
  [ "${lines[i]}" = "$separator" ] || continue
  [ "${lines[i + 1]}" = "InitDebugStream" ] || continue
  [[ "${lines[i + 2]}" =~ ^[0-9]{4}/[0-9]{2}/[0-9]{2}\ \ [0-9]{2}:[0-9]{2}$ ]] || continue
  [[ "${lines[i + 3]}" =~ ^OS\ =\ ID\ [0-9]+\ ver,[0-9]+\.[0-9]+\ build\ [0-9]+$ ]] || continue
  [[ "${lines[i + 4]}" =~ ^利用可能／搭載メモリ\ =\ [0-9]+/[0-9]+\ MB$ ]] || continue
  report=$((report + 1))
done
[ "$report" = 2 ] || { cat "$log" >&2; fail "each run's separator, InitDebugStream and report lines ($report of 2)"; }
expect_in_file "$log" "InitDirect3D" "device start-up line"
expect_in_file "$log" "InitDirectInput" "input start-up line"
# Before the file is chosen the first line goes to standard error.
expect_in_file "$WORK/run1.err" "多重起動を禁止します." "single-instance line"

start_viewer nothing "$WORK/no-such-plugin" -dbf
expect_exit "$VIEWER_PID" 1 "argument naming nothing"
expect_in_file "$WORK/nothing.err" "no-such-plugin: no Model.x" "reason on standard error"
expect_in_file "$log" "no-such-plugin: no Model.x" "reason in debug.txt"
# Silent: no message box (each one's text also reaches standard error as "caption: text").
grep -q '^Vondrel: ' "$WORK/nothing.err" && fail "a message box was shown"

start_viewer long "$(printf '/tmp/%01100d' 0)" -dbf
expect_exit "$VIEWER_PID" 1 "argument of 1024 bytes or more"
expect_in_file "$WORK/long.err" "1024 bytes or longer" "reason for a long argument"
echo "ok: debug file"
