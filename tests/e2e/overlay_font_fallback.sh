#!/usr/bin/env bash
# With no installed face that covers Japanese (a font configuration of the
# test's own that lists only DejaVu), the overlay is still drawn in the best
# face fontconfig offers: frame rate, switch lines and info block; one log line
# names the face.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/lib_images.sh"
e2e_init "$@"

cat >"$WORK/fonts.conf" <<CONF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <dir>/usr/share/fonts/truetype/dejavu</dir>
  <cachedir>$WORK/font-cache</cachedir>
</fontconfig>
CONF
export FONTCONFIG_FILE="$WORK/fonts.conf"

log="$WORK/bin/debug.txt"
start_viewer fallback "$ROOT/samples/Struct" -dbf
window="$(wait_window "Vondrel Plugin Viewer")"
sleep 1.5
screenshot "$window" fallback
fps="$(lit_pixels "$SHOTS/fallback.png" "110x22+0+0")"
switches="$(lit_pixels "$SHOTS/fallback.png" "180x34+460+0")"
info="$(lit_pixels "$SHOTS/fallback.png" "260x80+0+400")"
note "frame rate $fps, switches $switches, info $info lit pixels"
[ "$fps" -gt 60 ] || fail "no frame-rate text at the upper left ($fps lit pixels)"
[ "$switches" -gt 150 ] || fail "no switch lines at the upper right ($switches lit pixels)"
[ "$info" -gt 200 ] || fail "no info block at the lower left ($info lit pixels)"

request_close "$window"
expect_exit "$VIEWER_PID" 0 "close"
expect_in_file "$log" "overlay font: no installed face covers Japanese; using DejaVu " "the face used"
[ "$(grep -c "^overlay font: " "$log")" = 1 ] || fail "expected one overlay font line: $(grep "^overlay font: " "$log")"
echo "ok: the overlay without a Japanese face"
