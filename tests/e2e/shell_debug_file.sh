#!/usr/bin/env bash
# "-dbf" appends the log to debug.txt beside the program, one block per run,
# or, where the program's folder cannot be written, in the user's state folder,
# named in one line; standard error carries only what is wrong unless -log
# asks for the log there; an argument that names nothing ends silently with
# its reason and status 1.
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
# A quiet terminal: standard error carries the plug-in's problems, one line
# each, and no line of the log.
for run in 1 2; do
  [ "$(grep -c '^vondrel-viewer: Struct.txt: line 1: ' "$WORK/run$run.err")" = 2 ] &&
    [ "$(wc -l <"$WORK/run$run.err")" = 2 ] || { cat "$WORK/run$run.err" >&2; fail "run $run: not the problems alone on standard error"; }
done

# -log: the log on standard error; with -dbf, the line before the file is chosen.
start_viewer logged "$WORK/Foo" -dbf -log
wait_window "Vondrel Plugin Viewer" >/dev/null
kill -TERM "$VIEWER_PID"
expect_exit "$VIEWER_PID" 0 "-dbf -log"
expect_in_file "$WORK/logged.err" "多重起動を禁止します." "single-instance line"
[ "$(grep -c '^InitDebugStream$' "$log")" = 3 ] || fail "-dbf -log: the run's log is not in debug.txt"
mv "$log" "$WORK/debug.kept"
start_viewer stderr "$WORK/Foo" -log
wait_window "Vondrel Plugin Viewer" >/dev/null
kill -TERM "$VIEWER_PID"
expect_exit "$VIEWER_PID" 0 "-log"
for text in "多重起動を禁止します." "InitDebugStream" "InitDirect3D" "load(Model.x) ... ok."; do
  expect_in_file "$WORK/stderr.err" "$text" "-log: the log on standard error"
done
[ ! -e "$log" ] || fail "-log without -dbf made debug.txt"
mv "$WORK/debug.kept" "$log"

# -dbf where the program's folder cannot be written (a directory named
# debug.txt stands in the way even of root): the user's state folder, named
# in one line on standard error.
installed="$WORK/installed/bin"
mkdir -p "$installed/debug.txt" "$WORK/home"
cp "$PROGRAM" "$installed/vondrel-viewer"
while read -r setting expected; do
  rm -rf "$WORK/state" "$WORK/home/.local"
  env -u XDG_STATE_HOME $setting HOME="$WORK/home" "$installed/vondrel-viewer" "$ROOT/samples/Struct" -check -dbf >/dev/null \
    2>"$WORK/state.err" || fail "-dbf in an unwritable folder ($setting): the report failed"
  [ "$(cat "$WORK/state.err")" = "vondrel-viewer: debug.txt: $installed/ cannot be written; the log goes to $expected" ] ||
    { cat "$WORK/state.err" >&2; fail "-dbf in an unwritable folder ($setting): not the one line naming $expected"; }
  expect_in_file "$expected" "InitDebugStream" "the log in the state folder ($setting)"
  expect_in_file "$expected" "debug.txt: $installed/ cannot be written" "the state folder's log says why"
done <<SETTINGS
XDG_STATE_HOME=$WORK/state $WORK/state/vondrel-viewer/debug.txt
XDG_STATE_HOME=relative/state $WORK/home/.local/state/vondrel-viewer/debug.txt
UNSET=1 $WORK/home/.local/state/vondrel-viewer/debug.txt
SETTINGS
# Neither folder can be written: the log goes to standard error, and the line says so.
touch "$WORK/state-file"
env XDG_STATE_HOME="$WORK/state-file" "$installed/vondrel-viewer" "$ROOT/samples/Struct" -check -dbf >/dev/null 2>"$WORK/nowhere.err" ||
  fail "-dbf with nowhere to write: the report failed"
head -1 "$WORK/nowhere.err" | grep -qF "debug.txt: $installed/ cannot be written, nor can the user's state directory be; the log goes to standard error" ||
  { cat "$WORK/nowhere.err" >&2; fail "-dbf with nowhere to write: no line that says so"; }
expect_in_file "$WORK/nowhere.err" "InitDebugStream" "the log on standard error when no file can be written"

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
