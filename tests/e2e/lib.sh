# Shared helpers of the end-to-end tests. Source it, then call e2e_init "$@":
#   bash tests/e2e/<test>.sh <program> [<repository root>]
# It uses the display in $DISPLAY, or starts its own Xvfb when there is none
# (or when that display has no font for SDL's message boxes).
# Each test runs a private copy of the program, so debug.txt (written beside
# the program) and the single-instance lock never meet another test's.
# The tests never wait for a fixed time: they wait for what the program shows
# in its debug log ($LOG with -dbf) and its input trace (VDL_TRACE_INPUT=1, one
# "input: " line for each poll that reads a change), or on the screen.
# shellcheck shell=bash
set -euo pipefail

E2E_PIDS=()
E2E_XVFB=""

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

note() { echo "  $*" >&2; }

e2e_cleanup() {
  local pid
  for pid in "${E2E_PIDS[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
  [ -n "$E2E_XVFB" ] && kill "$E2E_XVFB" 2>/dev/null || true
  [ -n "${WORK:-}" ] && [ -z "${E2E_KEEP:-}" ] && rm -rf "$WORK"
  return 0
}

# A font directory for Xvfb: SDL draws its message boxes with a core X font of
# medium weight and normal width, which bare Xvfb lacks (xfonts-base has one).
message_box_font_dir() {
  local dir="/tmp/vdl-e2e-fonts-$(id -u)"
  local font=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
  if [ ! -f "$dir/fonts.dir" ] && [ -f "$font" ]; then
    mkdir -p "$dir"
    ln -sf "$font" "$dir/DejaVuSans.ttf"
    printf '1\nDejaVuSans.ttf -misc-dejavusans-medium-r-normal--0-0-0-0-p-0-iso8859-1\n' >"$dir/fonts.dir"
  fi
  echo "$dir"
}

has_message_box_font() {
  xlsfonts -fn '-*-*-medium-r-normal--*-120-*-*-*-*-*-*' 2>/dev/null | grep -q .
}

# Xvfb picks a free display itself (-displayfd), so tests started at the same
# time never share one. -noreset: by default an X server resets when its last
# client leaves, and refuses connections meanwhile, so a program started just
# after another ended would find no display.
start_xvfb() {
  local number_file="$WORK/display" i
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset -fp "built-ins,$(message_box_font_dir)" \
    3>"$number_file" >/dev/null 2>&1 &
  E2E_XVFB=$!
  for ((i = 0; i < 200; i++)); do [ -s "$number_file" ] && break; sleep 0.05; done
  [ -s "$number_file" ] || fail "Xvfb did not start"
  export DISPLAY=":$(head -1 "$number_file")"
}

# e2e_init <program> [<root>]: sets PROGRAM (the private copy), ROOT, WORK,
# SHOTS and LOG (the copy's debug.txt), and turns the input trace on.
e2e_init() {
  [ $# -ge 1 ] && [ -x "$1" ] || fail "usage: $0 <program> [<repository root>]"
  ROOT="${2:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}"
  WORK="$(mktemp -d /tmp/vdl-e2e.XXXXXX)"
  trap e2e_cleanup EXIT
  mkdir -p "$WORK/bin" "$WORK/runtime" "$WORK/shots"
  chmod 700 "$WORK/runtime"
  cp "$1" "$WORK/bin/vondrel-viewer"
  PROGRAM="$WORK/bin/vondrel-viewer"
  LOG="$WORK/bin/debug.txt"
  export VDL_TRACE_INPUT=1
  SHOTS="${E2E_SHOTS:-$WORK/shots}"
  mkdir -p "$SHOTS"
  export XDG_RUNTIME_DIR="$WORK/runtime"
  export LIBGL_ALWAYS_SOFTWARE=1
  # Tests of what runs without a display start none (E2E_NO_DISPLAY=1).
  if [ -n "${E2E_NO_DISPLAY:-}" ]; then
    unset DISPLAY WAYLAND_DISPLAY
    return 0
  fi
  # A display without a font for message boxes is replaced by one of our own.
  if [ -z "${DISPLAY:-}" ] || ! has_message_box_font; then start_xvfb; fi
}

# make_plugin <directory> <definition file>...: a plug-in directory with Model.x
# (a small valid X file) and the named definition files.
make_plugin() {
  local dir="$1"; shift
  mkdir -p "$dir"
  cat >"$dir/Model.x" <<'XFILE'
xof 0302txt 0032
Mesh {
 3;
 0.0;0.0;0.0;,
 1.0;0.0;0.0;,
 0.0;1.0;0.0;;
 1;
 3;0,1,2;;
}
XFILE
  local name
  for name in "$@"; do printf 'Name = e2e\nAuthor = e2e\n' >"$dir/$name"; done
}

# start_viewer <name> <args>...: runs the program in the background; its
# standard error goes to $WORK/<name>.err and its pid is left in VIEWER_PID.
start_viewer() {
  local name="$1"; shift
  "$PROGRAM" "$@" 2>"$WORK/$name.err" &
  VIEWER_PID=$!
  E2E_PIDS+=("$VIEWER_PID")
}

# expect_exit <pid> <status> <what> [seconds]: waits for the process to end
# and fails unless it ends in time with that exit status.
expect_exit() {
  local pid="$1" expected="$2" what="$3" limit="${4:-60}" i status=0
  for ((i = 0; i < limit * 20; i++)); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  kill -0 "$pid" 2>/dev/null && fail "$what: the program did not end within ${limit}s"
  wait "$pid" || status=$?
  [ "$status" = "$expected" ] || fail "$what: exit status $status, expected $expected"
}

# wait_window <exact title> [seconds]: prints the id of the visible window.
wait_window() {
  local title="$1" limit="${2:-90}" i id
  for ((i = 0; i < limit * 10; i++)); do
    id="$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -1 || true)"
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    sleep 0.1
  done
  show_program_output
  fail "no visible window titled '$title' within ${limit}s"
}

# show_program_output: the standard error of the programs started so far,
# which still run and how the others ended, and the debug log's last lines.
show_program_output() {
  local file pid status
  for file in "$WORK"/*.err; do [ -f "$file" ] && { echo "--- $file:" >&2; tail -20 "$file" >&2; }; done
  for pid in "${E2E_PIDS[@]}"; do
    if kill -0 "$pid" 2>/dev/null; then
      echo "--- pid $pid still runs" >&2
    else
      status=0
      wait "$pid" 2>/dev/null || status=$?
      [ "$status" -ne 127 ] && echo "--- pid $pid ended with status $status" >&2
    fi
  done
  [ -f "${LOG:-}" ] && { echo "--- $LOG:" >&2; tail -20 "$LOG" >&2; }
  return 0
}

# Ids of the mapped top-level windows, one a line.
toplevel_windows() {
  xwininfo -root -children 2>/dev/null | awk '/^ +0x[0-9a-f]+ /{print $1}' | while read -r id; do
    xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' && echo "$id"
  done
  return 0
}

# wait_new_window <file with earlier ids> [seconds]: prints the id of a mapped
# top-level window that was not listed.
wait_new_window() {
  local before="$1" limit="${2:-60}" i id
  for ((i = 0; i < limit * 5; i++)); do
    id="$(toplevel_windows | grep -vxF -f "$before" | head -1 || true)"
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    sleep 0.2
  done
  fail "no new window within ${limit}s"
}

# wait_message_box <file with earlier ids> [seconds]: prints the id of a mapped
# top-level dialog window that was not listed: SDL's message box, found this way
# since `xdotool search` does not see its UTF-8 title. The viewer's own window,
# which may be mapped before the box, is a normal window.
wait_message_box() {
  local before="$1" limit="${2:-60}" i id
  for ((i = 0; i < limit * 5; i++)); do
    for id in $(toplevel_windows | grep -vxF -f "$before" || true); do
      xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q _NET_WM_WINDOW_TYPE_DIALOG && { echo "$id"; return 0; }
    done
    sleep 0.2
  done
  fail "no message box within ${limit}s"
}

# The title of a window as its _NET_WM_NAME (UTF-8) says, else WM_NAME.
window_title() {
  local name
  name="$(xprop -id "$1" _NET_WM_NAME 2>/dev/null | sed -n 's/^_NET_WM_NAME([^)]*) = "\(.*\)"$/\1/p')"
  [ -n "$name" ] || name="$(xprop -id "$1" WM_NAME 2>/dev/null | sed -n 's/^WM_NAME([^)]*) = "\(.*\)"$/\1/p')"
  echo "$name"
}

# dismiss_message_box <id>: presses Return in it until it goes away; a box
# that has just been mapped may not listen for keys yet.
dismiss_message_box() {
  local i
  for ((i = 0; i < 100; i++)); do
    xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable' || return 0
    xdotool key --window "$1" Return 2>/dev/null || true
    sleep 0.3
  done
  fail "message box $1 does not go away"
}

# client_geometry <id>: prints "x y width height" of the window's client area on the screen.
client_geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
    /^ +Width:/{w=$NF} /^ +Height:/{h=$NF} END{print x, y, w, h}'
}

# screen_size: prints "width height" of the root window.
screen_size() {
  xwininfo -root | awk '/^ +Width:/{w=$NF} /^ +Height:/{h=$NF} END{print w, h}'
}

# screenshot <id> <name>: saves $SHOTS/<name>.png; a window that has only
# just been mapped is tried again for a while.
screenshot() {
  local i
  for ((i = 0; i < 20; i++)); do
    if import -window "$1" "$SHOTS/$2.png" 2>"$WORK/import.err" && [ -s "$SHOTS/$2.png" ]; then
      note "screenshot: $SHOTS/$2.png"
      return 0
    fi
    sleep 0.3
  done
  cat "$WORK/import.err" >&2
  fail "screenshot of window $1 failed"
}

# request_close <id>: asks the window to close as a window manager's close
# button does (WM_DELETE_WINDOW); a few lines of Xlib, built on first use.
request_close() {
  local tool="$WORK/send_close"
  if [ ! -x "$tool" ]; then
    cc -x c -o "$tool" - -lX11 <<'C' || fail "cannot build the close-request helper"
#include <X11/Xlib.h>
#include <stdlib.h>
int main(int argc, char** argv) {
  Display* display = XOpenDisplay(NULL);
  if (!display || argc < 2) return 1;
  XEvent event = {0};
  event.xclient.type = ClientMessage;
  event.xclient.window = (Window)strtoul(argv[1], NULL, 0);
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = (long)XInternAtom(display, "WM_DELETE_WINDOW", False);
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
  XCloseDisplay(display);
  return 0;
}
C
  fi
  "$tool" "$1" || fail "close request to window $1 failed"
}

# expect_in_file <file> <fixed text> <what>
expect_in_file() {
  grep -qF -- "$2" "$1" || { echo "--- $1:" >&2; cat "$1" >&2; fail "$3: '$2' missing"; }
}

# poll_until <seconds> <command>...: runs the command until it succeeds;
# status 1 when it has not within the time.
poll_until() {
  local limit="$1" i
  shift
  for ((i = 0; i < limit * 20; i++)); do
    "$@" && return 0
    sleep 0.05
  done
  return 1
}

# wait_until <seconds> <what> <command>...: as poll_until, failing the test on time-out.
wait_until() {
  local limit="$1" what="$2"
  shift 2
  poll_until "$limit" "$@" || fail "$what: not within ${limit}s"
}

# The input-trace lines of $LOG so far, one a line.
trace_lines() { grep '^input: ' "$LOG" 2>/dev/null || true; }

# trace_mark: the number of trace lines so far; the waits below look past it.
trace_mark() { trace_lines | wc -l; }

# traced_after <mark> <fixed text>: a trace line after the mark holds the text.
traced_after() { trace_lines | tail -n +"$(($1 + 1))" | grep -qF -- "$2"; }

# key_edges_after <mark> <code:state>: how many polls after the mark list that
# key edge ("15:2": TAB went down, "15:1": TAB went up).
key_edges_after() {
  trace_lines | tail -n +"$(($1 + 1))" | grep -cE "keys=\[([^]]* )?$2[] ]" || true
}

# fail_with_trace <message>: fails, showing the trace so far.
fail_with_trace() {
  echo "--- trace:" >&2
  trace_lines >&2
  fail "$1"
}

# wait_traced <mark> <fixed text> <what> [seconds]: waits for a trace line after the mark holding the text.
wait_traced() {
  poll_until "${4:-60}" traced_after "$1" "$2" || fail_with_trace "$3: '$2' not traced within ${4:-60}s"
}

# has_key_edges <mark> <code:state> <count>: at least that many polls after the mark list the key edge.
has_key_edges() { [ "$(key_edges_after "$1" "$2")" -ge "$3" ]; }

# wait_key_edges <mark> <code:state> <count> <what>: waits until that many polls after the mark list the key edge.
wait_key_edges() {
  poll_until 60 has_key_edges "$1" "$2" "$3" || fail_with_trace "$4: $3 polls with '$2' not traced within 60s"
}

# tap <keysym> <DirectInput code>: a quick press and release (a few
# milliseconds, mostly between two polls), waiting for the poll that reads the release.
tap() {
  local mark
  mark="$(trace_mark)"
  xdotool key "$1"
  wait_key_edges "$mark" "$2:1" 1 "$1 tapped (code $2)"
}

# settle: waits until the frames of every poll so far, and of the poll after,
# are drawn. A tap of F12 (code 88, unused) is read after all that was sent
# before it; its release is read in the poll after, which begins once the
# pressing poll's frame is drawn; a second tap is read later still.
settle() {
  tap F12 88
  tap F12 88
}

# is_active: the program's last word on the focus is that it has it.
is_active() { [ "$(grep -E '^<(アクティブ|非アクティブ)>$' "$LOG" 2>/dev/null | tail -1)" = "<アクティブ>" ]; }

# wait_ready <window>: gives the window the keyboard focus and waits until the
# program has taken it (its log says so), a frame has polled the input, and
# what the frames drew has reached the screen.
wait_ready() {
  xdotool windowfocus --sync "$1"
  wait_until 60 "the program taking the keyboard focus" is_active
  wait_first_poll
  settle
}

# wait_first_poll: waits until a frame has polled the input (the first poll always leaves a trace line).
wait_first_poll() { wait_until 60 "a frame polling the input" traced_after 0 "input: "; }

# move_pointer <x> <y>: moves the pointer to client point (x, y) of $WINDOW and
# waits until a poll has read it there and a later one has read it back at the
# centre, where the frame routines put it every frame. A move that lands just
# before such a put-back is never read; it is sent again.
CENTRE="320,240"
move_pointer() {
  local x="$1" y="$2" attempt mark line
  for ((attempt = 0; attempt < 5; attempt++)); do
    mark="$(trace_mark)"
    xdotool mousemove --window "$WINDOW" "$x" "$y"
    poll_until 10 traced_after "$mark" "cursor=($x,$y)" || continue
    line="$(trace_lines | tail -n +"$((mark + 1))" | grep -nF "cursor=($x,$y)" | head -1 | cut -d: -f1)"
    wait_traced "$((mark + line))" "cursor=($CENTRE)" "the pointer put back at the centre after ($x,$y)"
    return 0
  done
  fail "no poll read the pointer at ($x,$y)"
}
