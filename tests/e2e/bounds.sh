#!/usr/bin/env bash
# Hostile or huge plug-ins end cleanly: -check and -shot of each end with the
# status they should (1 when nothing can be shown; 3 or 0 when the plug-in is
# shown without what went beyond a limit), a line on standard error naming the
# file, the place and the limit, and no more than 400 MB of memory.
E2E_NO_DISPLAY=1
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"
python3 "$ROOT/tests/e2e/hostile_plugins.py" "$WORK/hostile"
PEAK_LIMIT_KB=$((400 * 1024))

# bounded <plug-in> <-check status> <-shot status> <fixed text on standard error>
bounded() {
  local plugin="$1" check_status="$2" shot_status="$3" text="$4" argument="$WORK/hostile/$1" mode status peak
  compgen -G "$argument/*.txt" >/dev/null || argument="$argument/Model.x"
  for mode in check shot; do
    local options=(-check) expected="$check_status"
    [ "$mode" = shot ] && options=(-shot "$WORK/$plugin.png") expected="$shot_status"
    status=0
    timeout 60 /usr/bin/time -f '%M' -o "$WORK/peak" "$PROGRAM" "$argument" "${options[@]}" \
      >/dev/null 2>"$WORK/$plugin.$mode.err" || status=$?
    [ "$status" = "$expected" ] || { cat "$WORK/$plugin.$mode.err" >&2; fail "$plugin -$mode: exit status $status, expected $expected"; }
    expect_in_file "$WORK/$plugin.$mode.err" "$text" "$plugin -$mode"
    peak="$(tail -1 "$WORK/peak")"
    [ "$peak" -lt "$PEAK_LIMIT_KB" ] || fail "$plugin -$mode: peak memory $((peak / 1024)) MB"
    note "$plugin -$mode: status $status, peak $((peak / 1024)) MB"
  done
}

bounded vertices 1 1 "Model.x: offset 28: vertex count 50000000 is more than a model may have (2097152 in all)"
bounded faces 1 1 "Model.x: offset 80: face count 10000000 is more than a model may have (1048575 in all)"
for format in bmp dds png ppm tga; do
  bounded "texture_$format" 3 0 "vondrel-viewer: texture.$format: image too large (65535x65535, limit 64 MiB)"
done
bounded texture_jpg 3 0 "vondrel-viewer: texture.jpg: Maximum supported image dimension is 65500 pixels"
bounded line 3 0 "vondrel-viewer: Struct.txt: line 1: the file goes on beyond 1048576 bytes; the rest is not read"
bounded platforms 3 0 "vondrel-viewer: Station.txt: line 1671: the file holds more than 10000 items; the rest is not read"
expect_in_file "$WORK/platforms.check.err" "Station.txt: line 1671: 1666 of 1000000 platforms read" "the platforms kept"
echo "ok: bounds"
