# Shared helpers of the end-to-end tests. Source it, then call e2e_init "$@":
#   bash tests/e2e/<test>.sh <program> [<repository root>]
# It uses the display in $DISPLAY, or starts its own Xvfb when there is none
# (or when that display has no font for SDL's message boxes).
# Each test runs a private copy of the program, so debug.txt (written beside
# the program) and the single-instance lock never meet another test's.
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
# time never share one.
start_xvfb() {
  local number_file="$WORK/display" i
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -fp "built-ins,$(message_box_font_dir)" \
    3>"$number_file" >/dev/null 2>&1 &
  E2E_XVFB=$!
  for ((i = 0; i < 200; i++)); do [ -s "$number_file" ] && break; sleep 0.05; done
  [ -s "$number_file" ] || fail "Xvfb did not start"
  export DISPLAY=":$(head -1 "$number_file")"
}

# e2e_init <program> [<root>]: sets PROGRAM (the private copy), ROOT, WORK, SHOTS.
e2e_init() {
  [ $# -ge 1 ] && [ -x "$1" ] || fail "usage: $0 <program> [<repository root>]"
  ROOT="${2:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}"
  WORK="$(mktemp -d /tmp/vdl-e2e.XXXXXX)"
  trap e2e_cleanup EXIT
  mkdir -p "$WORK/bin" "$WORK/runtime" "$WORK/shots"
  chmod 700 "$WORK/runtime"
  cp "$1" "$WORK/bin/vondrel-viewer"
  PROGRAM="$WORK/bin/vondrel-viewer"
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
  fail "no visible window titled '$title' within ${limit}s"
}

# Ids of the mapped top-level windows, one a line.
toplevel_windows() {
  xwininfo -root -children 2>/dev/null | awk '/^ +0x[0-9a-f]+ /{print $1}' | while read -r id; do
    xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' && echo "$id"
  done
  return 0
}

# wait_new_window <file with earlier ids> [seconds]: prints the id of a mapped
# top-level window that was not listed. SDL's message box is found this way
# (`xdotool search` does not see its UTF-8 title).
wait_new_window() {
  local before="$1" limit="${2:-60}" i id
  for ((i = 0; i < limit * 5; i++)); do
    id="$(toplevel_windows | grep -vxF -f "$before" | head -1 || true)"
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    sleep 0.2
  done
  fail "no new window within ${limit}s"
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
