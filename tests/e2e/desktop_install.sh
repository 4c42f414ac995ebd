#!/usr/bin/env bash
# `cmake --install` of the build beside the program puts the program, its
# desktop entry, MIME types, thumbnailer and icons under the prefix (below
# DESTDIR when set); the files pass the desktop tools' checks, the MIME
# database they make recognises X files by name and by content, and the
# thumbnailer's command, run as a file manager runs it, writes a thumbnail.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"

build="$(dirname "$(realpath "$1")")"
[ -f "$build/cmake_install.cmake" ] || fail "no install script in $build"
default_prefix="$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build/CMakeCache.txt")"
[ -n "$default_prefix" ] || fail "no install prefix in $build/CMakeCache.txt"

# install <destdir or empty> [<cmake --install options>]: installs, or fails with the log.
install_into() {
  local destdir="$1"; shift
  DESTDIR="$destdir" cmake --install "$build" "$@" >"$WORK/install.log" 2>&1 ||
    { cat "$WORK/install.log" >&2; fail "cmake --install $* failed"; }
}
expect_file() { [ -f "$1" ] || fail "not installed: ${1#"$WORK"/}"; }

# --- the default prefix below DESTDIR -------------------------------------
stage="$WORK/stage"
install_into "$stage"
prefix="$stage$default_prefix"
share="$prefix/share"
[ -x "$prefix/bin/vondrel-viewer" ] || fail "the program is not installed in $default_prefix/bin"
entry="$share/applications/vondrel-viewer.desktop"
thumbnailer="$share/thumbnailers/vondrel-viewer.thumbnailer"
for file in "$entry" "$share/mime/packages/vondrel-viewer.xml" "$thumbnailer" \
  "$share/icons/hicolor/scalable/apps/vondrel-viewer.svg"; do
  expect_file "$file"
done
# Staged files are left for the packager: no system database is touched or made.
[ ! -e "$share/mime/mime.cache" ] || fail "installing below DESTDIR ran update-mime-database"

# --- icons: every committed PNG size, as rendered from the SVG --------------
sizes=()
for png in "$ROOT"/desktop/icons/vondrel-viewer-*.png; do
  size="${png##*-}"; size="${size%.png}"
  sizes+=("$size")
  installed="$share/icons/hicolor/${size}x$size/apps/vondrel-viewer.png"
  expect_file "$installed"
  [ "$(identify -format '%wx%h' "$installed")" = "${size}x$size" ] || fail "icon $installed is not ${size}x$size"
  rsvg-convert --width "$size" --height "$size" "$ROOT/desktop/icons/vondrel-viewer.svg" --output "$WORK/rendered.png"
  differing="$(compare -metric AE -fuzz 2% "$png" "$WORK/rendered.png" null: 2>&1 || true)"
  [ "$differing" = "0" ] || fail "vondrel-viewer-$size.png is not the SVG rendered ($differing pixels differ): run desktop/icons/render.sh"
done
[ "${#sizes[@]}" -ge 6 ] && printf '%s\n' "${sizes[@]}" | grep -qx 16 && printf '%s\n' "${sizes[@]}" | grep -qx 256 ||
  fail "icon sizes ${sizes[*]} do not span 16 to 256"
xmllint --noout "$share/icons/hicolor/scalable/apps/vondrel-viewer.svg" || fail "the SVG icon is not well-formed"

# --- the desktop entry ----------------------------------------------------
desktop-file-validate "$entry" >"$WORK/validate.log" 2>&1 || { cat "$WORK/validate.log" >&2; fail "desktop-file-validate"; }
[ ! -s "$WORK/validate.log" ] || { cat "$WORK/validate.log" >&2; fail "desktop-file-validate has remarks"; }
expect_in_file "$entry" "StartupWMClass=VDL_CLASS_VONDREL" "the entry's window class"
expect_in_file "$entry" "Icon=vondrel-viewer" "the entry's icon"
expect_in_file "$entry" "MimeType=model/x-directx;text/x-vondrel-plugin;" "the entry's file types"
exec_program="$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")"
[ -x "$prefix/bin/$exec_program" ] || fail "the entry runs '$exec_program', which is not the installed program"

# --- the MIME types: by name and by content ---------------------------------
xmllint --noout "$share/mime/packages/vondrel-viewer.xml" || fail "the MIME package is not well-formed XML"
# The staged data folder stands first among the system's, with no user's own.
xdg=(XDG_DATA_DIRS="$share:/usr/share" XDG_DATA_HOME="$WORK/no-user-data")
env "${xdg[@]}" update-mime-database "$share/mime" >"$WORK/mime.log" 2>&1 || { cat "$WORK/mime.log" >&2; fail "update-mime-database"; }
[ ! -s "$WORK/mime.log" ] || { cat "$WORK/mime.log" >&2; fail "update-mime-database has remarks"; }
expect_file "$share/mime/model/x-directx.xml"
expect_in_file "$share/mime/globs2" "model/x-directx:*.x" "the .x glob"
expect_in_file "$share/mime/magic" "xof " "the X-file magic"
samples="$WORK/typed"
mkdir -p "$samples"
cp "$ROOT/samples/model/"* "$samples/"  # Car.x and its texture
printf 'xof 0302bin 0032\x01\x00\x00\x00' >"$samples/model-without-extension"
mkdir -p "$samples/dataset"
printf 'Name = e2e\n' | tee "$samples/Train.txt" "$samples/Station.txt" "$samples/STATION.TXT" \
  "$samples/dataset/train.txt" "$samples/dataset/surface.TXT" "$samples/my-Train.txt" >"$samples/notes.txt"
while read -r name expected; do
  type="$(env "${xdg[@]}" gio info -a standard::content-type "$samples/$name" |
    sed -n 's/^ *standard::content-type: //p')"
  [ "$type" = "$expected" ] || fail "$name is typed '$type', expected $expected"
done <<'TYPES'
Car.x model/x-directx
model-without-extension model/x-directx
Train.txt text/x-vondrel-plugin
Station.txt text/x-vondrel-plugin
STATION.TXT text/plain
dataset/train.txt text/plain
dataset/surface.TXT text/plain
my-Train.txt text/plain
notes.txt text/plain
TYPES
# Which program opens what: the viewer is offered for definition files and is
# the default for models, never for plain text. GIO reads the staged entries
# (their database made as a package would) and takes an entry only when its
# program is on the PATH.
update-desktop-database "$share/applications" || fail "update-desktop-database"
apps=("${xdg[@]}" XDG_CONFIG_HOME="$WORK/no-user-config" XDG_CONFIG_DIRS="$WORK/no-config" PATH="$prefix/bin:$PATH")
env "${apps[@]}" gio mime text/x-vondrel-plugin >"$WORK/plugin.apps" 2>&1 || true
grep -q "vondrel-viewer.desktop" "$WORK/plugin.apps" || { cat "$WORK/plugin.apps" >&2; fail "the viewer is not offered for definition files"; }
env "${apps[@]}" gio mime model/x-directx >"$WORK/model.apps" 2>&1 || true
grep -q "^Default application for .model/x-directx.: vondrel-viewer.desktop" "$WORK/model.apps" ||
  { cat "$WORK/model.apps" >&2; fail "the viewer is not the default for X files"; }
env "${apps[@]}" gio mime text/plain >"$WORK/text.apps" 2>&1 || true
grep -q "vondrel-viewer" "$WORK/text.apps" && { cat "$WORK/text.apps" >&2; fail "the viewer is offered for plain text"; }
grep -q "text/plain" "$ROOT/desktop/vondrel-viewer.desktop" && fail "the desktop entry claims plain text"

# --- another prefix -------------------------------------------------------
install_into "$WORK/stage-opt" --prefix /opt/vondrel
[ -x "$WORK/stage-opt/opt/vondrel/bin/vondrel-viewer" ] || fail "--prefix /opt/vondrel: no program in /opt/vondrel/bin"
expect_file "$WORK/stage-opt/opt/vondrel/share/icons/hicolor/48x48/apps/vondrel-viewer.png"

# --- straight onto a system (no DESTDIR): its MIME database is brought up to date
install_into "" --prefix "$WORK/system"
expect_file "$WORK/system/share/mime/model/x-directx.xml"

# --- the thumbnailer, run as a file manager runs it: no display, fields filled in
exec_line="$(sed -n 's/^Exec=//p' "$thumbnailer")"
try_exec="$(sed -n 's/^TryExec=//p' "$thumbnailer")"
expect_in_file "$thumbnailer" "MimeType=model/x-directx;" "the thumbnailer's file types"
[ -x "$prefix/bin/$try_exec" ] || fail "the thumbnailer's TryExec '$try_exec' is not the installed program"
input="$samples/Car.x"
output="$WORK/thumbnail.png"
size=128
command=()
for word in $exec_line; do
  word="${word//%i/$input}"
  word="${word//%u/file://$input}"
  word="${word//%o/$output}"
  word="${word//%s/$size}"
  command+=("${word//%%/%}")
done
note "thumbnailer: ${command[*]}"
status=0
env -u DISPLAY -u WAYLAND_DISPLAY PATH="$prefix/bin:$PATH" timeout 30 "${command[@]}" \
  >"$WORK/thumbnailer.log" 2>&1 || status=$?
[ "$status" = 0 ] || { tail -20 "$WORK/thumbnailer.log" >&2; fail "the thumbnailer's command ended with status $status"; }
[ -s "$output" ] || fail "the thumbnailer wrote no $output"
# The 4:3 picture fits the square with its aspect kept.
[ "$(identify -format '%m %wx%h' "$output")" = "PNG ${size}x$((size * 3 / 4))" ] ||
  fail "the thumbnail is $(identify -format '%m %wx%h' "$output"), expected PNG ${size}x$((size * 3 / 4))"
echo "ok: desktop install"
