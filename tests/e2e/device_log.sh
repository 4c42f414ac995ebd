#!/usr/bin/env bash
# The graphics device on a real display: the window shows the frame rate at the
# upper left, and "-dbf" logs the adapter, the modes, the window mode, the
# depth format, the device type and the capability report.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/lib_images.sh"
e2e_init "$@"

start_viewer device "$ROOT/samples/Struct" -dbf
window="$(wait_window "Vondrel Plugin Viewer")"
wait_ready "$window"
screenshot "$window" device
fps="$(lit_pixels "$SHOTS/device.png" "110x22+0+0")"
[ "$fps" -gt 60 ] || fail "no frame-rate text at the upper left ($fps lit pixels)"
request_close "$window"
expect_exit "$VIEWER_PID" 0 "close"

for line in "アダプタ数 = " "アダプタID = D3DADAPTER_DEFAULT" "アダプタ名 = " "アダプタのモード数 = " "現在のモード = " \
  "ウインドウ化 = CFG(1)" "選択されたモード = 640 x 480 " "(D3DFMT_D24S8)" "デバイスタイプ = " "最大プリミティブ = " \
  "最大ライト = " "フォグ{" "	頂点 = " "	ピクセル = " "	範囲 = " "テクスチャー{" "	利用可能メモリ = " "	最大サイズ = " \
  "	最大ステージ = " "	アルファブレンド = " "	ミップマップ = " "	バンプマップ = " "FreeDirect3D"; do
  expect_in_file "$LOG" "$line" "device log"
done
echo "ok: frame rate shown, device set-up logged"
