# Shared by the benchmarks against f3d: installs the peers (scripts/deps.sh
# peers), builds the program when it is missing, and gives f3d an Xvfb of its
# own, since it needs an X display for its picture (it crashes without one).
# Source it with ROOT, PROGRAM and the WORK prefix set:
#   F3D_WORK_PREFIX=vdl-shot-bench source bench/lib_f3d.sh
# It sets WORK (a temporary folder, removed at exit) and F3D_DISPLAY.
# shellcheck shell=bash

"$ROOT/scripts/deps.sh" peers
if [ ! -x "$PROGRAM" ]; then
  cmake -S "$ROOT" -B "$ROOT/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVDL_BENCH=OFF >/dev/null
  cmake --build "$ROOT/build" -j2 --target vondrel-viewer >/dev/null
fi

WORK="$(mktemp -d "/tmp/${F3D_WORK_PREFIX}.XXXXXX")"
XVFB_PID=""
cleanup() {
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$WORK/display" >/dev/null 2>&1 &
XVFB_PID=$!
for ((i = 0; i < 100; i++)); do [ -s "$WORK/display" ] && break; sleep 0.05; done
F3D_DISPLAY=":$(head -1 "$WORK/display")"
