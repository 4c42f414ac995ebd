#!/usr/bin/env bash
# -gallery draws and checks every plug-in of a folder: the samples and a zip of
# each packed as on Japanese Windows (names in code page 932, no UTF-8 flag).
# Each plug-in's counts are those of -check; Chromium opens the site from disk;
# a second run redoes only what changed; a failing plug-in gets its tile.
E2E_NO_DISPLAY=1
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"

collection="$WORK/collection"
mkdir -p "$collection/zips"
cp -r "$ROOT/samples" "$collection/samples"
for pair in Train:旧形電車 Struct:煉瓦倉庫 Station:ソフト駅 Surface:芝生地表 model:表示モデル; do
  python3 "$ROOT/tests/e2e/windows_zip.py" "$collection/zips/${pair%%:*}.zip" "$ROOT/samples/${pair%%:*}" "${pair#*:}"
done

summary="$("$PROGRAM" -gallery "$collection" "$WORK/site" -j 2 2>"$WORK/gallery.err")" || fail "-gallery failed: $(cat "$WORK/gallery.err")"
note "$summary"
[[ "$summary" == "gallery: 10 plug-ins, 10 shown, 0 with problems, 0 failed, "* ]] || fail "summary: $summary"
[ ! -s "$WORK/gallery.err" ] || fail "standard error is not a terminal, yet holds: $(cat "$WORK/gallery.err")"
python3 "$ROOT/tests/e2e/gallery_check.py" "$PROGRAM" "$WORK/site" 10 "$WORK"
# The README's picture of a gallery is this one.
[ -z "${E2E_UPDATE_GOLDEN:-}" ] || cp "$WORK/index.png" "$ROOT/docs/screenshots/gallery.png"

# The zips' names are decoded from code page 932 and shown as their folders.
grep -q '"plugin": "zips/Station.zip!/ソフト駅"' "$WORK/site/gallery.jsonl" || fail "the station's zip is not named by its folder"

# Nothing changed: nothing is drawn again. A texture saved anew redraws its plug-in only.
summary="$("$PROGRAM" -gallery "$collection" "$WORK/site")"
[[ "$summary" == *"(0 new or changed, 10 unchanged)"* ]] || fail "second run: $summary"
touch -d "+1 minute" "$collection/samples/Struct/brick.png"
summary="$("$PROGRAM" -gallery "$collection" "$WORK/site")"
[[ "$summary" == *"(1 new or changed, 9 unchanged)"* ]] || fail "after a texture changed: $summary"

# A broken archive and a plug-in without its model get tiles with their reasons; the run goes on.
printf 'not a zip' >"$collection/broken.zip"
mkdir -p "$collection/NoModel" && printf 'name\nauthor\n1.0\n' >"$collection/NoModel/Struct.txt"
summary="$("$PROGRAM" -gallery "$collection" "$WORK/site" -j 2)"
[[ "$summary" == "gallery: 12 plug-ins, 10 shown, 0 with problems, 2 failed, "* ]] || fail "with failures: $summary"
grep -q '"plugin": "broken.zip", .*"shown": false, "reason": "not a readable zip archive' "$WORK/site/gallery.jsonl" ||
  fail "the broken archive has no line with its reason"
grep -q 'class="tile failed".*data-path="NoModel"' "$WORK/site/index.html" || fail "the plug-in without a model has no failed tile"

# Broken and hostile plug-ins (every hundredth file of the plug-in fuzz corpus)
# drawn one after another by the same workers: each report as -check gives it.
mkdir -p "$WORK/hostile"
mapfile -t corpus < <(find "$ROOT/fuzz/corpus/check_plugin" -type f | sort | awk 'NR % 100 == 0')
python3 "$ROOT/scripts/corpus_plugin.py" check_plugin "$WORK/hostile" "${corpus[@]}" >/dev/null
count="$(find "$WORK/hostile" -mindepth 1 -maxdepth 1 -type d | wc -l)"
"$PROGRAM" -gallery "$WORK/hostile" "$WORK/hostile-site" -j 2 >/dev/null || fail "-gallery of hostile plug-ins failed"
python3 "$ROOT/tests/e2e/gallery_check.py" "$PROGRAM" "$WORK/hostile-site" "$count" "$WORK" --counts-only

# An archive of several plug-ins: the window, -shot and -check ask which one
# (the window before it looks for a display, which this test has none of).
python3 "$ROOT/tests/e2e/windows_zip.py" "$WORK/several.zip" "$ROOT/samples/Train" 旧形電車 "$ROOT/samples/Struct" 煉瓦倉庫
for mode in "" "-check" "-shot $WORK/several.png"; do
  status=0
  # shellcheck disable=SC2086
  "$PROGRAM" "$WORK/several.zip" $mode >"$WORK/several.out" 2>"$WORK/several.err" || status=$?
  [ "$status" = 2 ] || fail "several plug-ins, $mode: status $status"
  expect_in_file "$WORK/several.err" "the archive holds 2 plug-ins; name one:" "several plug-ins, $mode"
done
"$PROGRAM" "$WORK/several.zip!/煉瓦倉庫" -check >"$WORK/one.out" || fail "a named plug-in of the archive does not load"
expect_in_file "$WORK/one.out" "Struct plug-in" "the named plug-in"
