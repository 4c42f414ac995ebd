#!/usr/bin/env bash
# -check loads a plug-in as the viewer does, with no display and no lock, and
# reports its definition file, model, textures and every finding with its code,
# severity, file and line, as text or as one JSON document that the schema in
# docs/ describes; the exit status tells whether there were errors or warnings
# (3), nothing to show (1) or a usage error (2).
E2E_NO_DISPLAY=1
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"

# run_check <name> <expected status> <argument> [options]: the report goes to
# $WORK/<name>.out, standard error to $WORK/<name>.err. Every JSON report is
# validated against the schema.
run_check() {
  local name="$1" expected="$2" status=0
  shift 2
  "$PROGRAM" "$@" >"$WORK/$name.out" 2>"$WORK/$name.err" || status=$?
  [ "$status" = "$expected" ] || { cat "$WORK/$name.out" "$WORK/$name.err" >&2; fail "$name: exit status $status, expected $expected"; }
  case " $* " in
    *" -json "*) [ ! -s "$WORK/$name.out" ] || /usr/bin/python3 "$ROOT/tests/e2e/check_report_schema.py" "$WORK/$name.out" ||
      fail "$name: the report does not validate against docs/check-report.schema.json" ;;
  esac
}

# json_expect <file> <python expression over the document d>: fails unless true.
json_expect() {
  python3 -c 'import json, sys
d = json.load(open(sys.argv[1], encoding="utf-8"))
sys.exit(0 if eval(sys.argv[2]) else 1)' "$1" "$2" || fail "$1: not true: $2"
}

# The samples have no errors and no warnings: status 0, every section, and the JSON keys the README lists.
for sample in Train Struct Station Surface; do
  run_check "$sample" 0 "$ROOT/samples/$sample" -check
  for text in "$sample plug-in" "Definition file $sample.txt" "Model Model.x (text, 32-bit floats)" "Textures"; do
    expect_in_file "$WORK/$sample.out" "$text" "$sample report"
  done
  grep -q -e "^No problems found.$" -e "^Problems ([0-9]*): 0 errors, 0 warnings" "$WORK/$sample.out" ||
    fail "$sample: errors or warnings in the report"
  [ ! -s "$WORK/$sample.err" ] || fail "$sample: standard error is not empty"
  run_check "$sample.json" 0 "$ROOT/samples/$sample" -check -json
  json_expect "$WORK/$sample.json.out" "d['kind'] == '$sample' and d['name'] and d['author']"
  json_expect "$WORK/$sample.json.out" "d['model']['vertices'] > 0 and d['model']['faces'] > 0 and d['model']['materials']"
  json_expect "$WORK/$sample.json.out" "all(t['found'] and t['path'] and t['name'] for t in d['textures'])"
  json_expect "$WORK/$sample.json.out" "d['counts']['error'] == d['counts']['warning'] == 0 and d['schemaVersion'] == 1"
  json_expect "$WORK/$sample.json.out" "d['fields'][0]['name'] == 'name' and d['fields'][0]['line'] == 1"
done
# The station's fourth platform is too short to count, which is worth knowing but changes nothing.
json_expect "$WORK/Station.json.out" "[p['code'] for p in d['problems'] if p['severity'] == 'info'][0] == 'PLATFORM_NOT_COUNTED'"
json_expect "$WORK/Station.json.out" "any(m['alphaMeaning'] == 'lit window at night' for m in d['model']['materials'])"
run_check model 0 "$ROOT/samples/model/Car.x" -check -json
json_expect "$WORK/model.out" "d['kind'] == 'model' and d['definitionFile'] is None and d['model']['loaded']"

# A plug-in with a problem of every kind the definition file and the model can have.
mkdir -p "$WORK/Bad"
{
  printf '%0300d\n' 0
  printf 'e2e\n0\n3\n(0,0,0),(10,0,0)\n(0,0,0) ,(5,0,0)\n'
} >"$WORK/Bad/Station.txt"
cat >"$WORK/Bad/Model.x" <<'XFILE'
xof 0302txt 0032
Mesh {
 4;
 0.0;0.0;0.0;,
 1.0;0.0;0.0;,
 0.0;1.0;0.0;,
 1.0;1.0;0.0;;
 2;
 3;0,1,2;,
 3;1,3,2;;
 MeshMaterialList {
  1;
  1;
  0;;
  Material {
   1.0;1.0;1.0;0.5;;
   5.0;
   0.0;0.0;0.0;;
   0.0;0.0;0.0;;
   TextureFilename { "missing.bmp"; }
  }
 }
}
XFILE
run_check bad 3 "$WORK/Bad/Station.txt" -check
for text in "Station.txt:1: a word longer than 255 bytes was cut to its first 255 [DEFINITION_WORD_CUT]" \
  "Station.txt:3: scale figure 0 is not usable; drawScale 1.0 instead [SCALE_FIGURE_UNUSABLE]" \
  "Station.txt:6: 1 of 3 platforms read [PLATFORMS_MISSING]" "1 material indexes for 2 faces; the last one is repeated" \
  "missing.bmp: file not found [TEXTURE_NOT_FOUND]" "lit window at night" "missing.bmp  0          missing" \
  "(in Mesh/MeshMaterialList) [MATERIAL_INDEXES_SHORT]" "Model.x: the model has no normals: it is lit flat [NO_NORMALS]"; do
  expect_in_file "$WORK/bad.out" "$text" "problems in the text report"
done
grep -q '^  Model.x:[0-9][0-9]*: 1 material indexes' "$WORK/bad.out" || fail "the model's note has no line"
# Grouped by severity, errors first.
[ "$(grep -E '^(Errors|Warnings|Info|Hints) \(' "$WORK/bad.out" | cut -d' ' -f1 | tr '\n' ' ')" = "Errors Warnings Info " ] ||
  fail "the findings are not grouped by severity, errors first"
# Each error and warning is also one line on standard error, naming the file and the place.
wrong="$(sed -n 's/^Problems ([0-9]*): \([0-9]*\) errors*, \([0-9]*\) warnings*,.*/\1 + \2/p' "$WORK/bad.out")"
[ -n "$wrong" ] && [ "$(wc -l <"$WORK/bad.err")" = "$((wrong))" ] || fail "not one line on standard error per error or warning"
for text in "vondrel-viewer: Station.txt: line 1: a word longer than 255 bytes" \
  "vondrel-viewer: Station.txt: line 6: 1 of 3 platforms read" "vondrel-viewer: missing.bmp: file not found"; do
  expect_in_file "$WORK/bad.err" "$text" "problems on standard error"
done
grep -q '^vondrel-viewer: Model.x: line [0-9][0-9]*: 1 material indexes' "$WORK/bad.err" || fail "the model's line on standard error"
run_check bad.json 3 "$WORK/Bad" -check -json
json_expect "$WORK/bad.json.out" "[(p['file'], p['line']) for p in d['problems']][:3] == [('Station.txt', 1), ('Station.txt', 3), ('Station.txt', 6)]"
json_expect "$WORK/bad.json.out" "any(p['file'] == 'Model.x' and p['line'] and 'material indexes' in p['message'] for p in d['problems'])"
json_expect "$WORK/bad.json.out" "d['textures'] == [t for t in d['textures'] if t['name'] == 'missing.bmp' and not t['found'] and t['path'] is None]"
json_expect "$WORK/bad.json.out" "d['scaleFigure'] == 0 and d['drawScale'] == 1"
json_expect "$WORK/bad.json.out" "d['counts'] == {'error': 3, 'warning': 2, 'info': 1, 'hint': 0}"
json_expect "$WORK/bad.json.out" "[p for p in d['problems'] if p['code'] == 'MATERIAL_INDEXES_SHORT'][0]['objectPath'] == 'Mesh/MeshMaterialList'"

# -ignore leaves codes out; with no error or warning left the status is 0. An unknown code is a usage error.
run_check ignored 3 "$WORK/Bad" -check -json -ignore TEXTURE_NOT_FOUND,DEFINITION_WORD_CUT
json_expect "$WORK/ignored.out" "d['counts']['error'] == 2 and not any(p['code'] == 'TEXTURE_NOT_FOUND' for p in d['problems'])"
run_check all-ignored 0 "$WORK/Bad" -check -ignore TEXTURE_NOT_FOUND,DEFINITION_WORD_CUT,SCALE_FIGURE_UNUSABLE,PLATFORMS_MISSING \
  -ignore MATERIAL_INDEXES_SHORT,MODEL_INVISIBLE_BY_DAY
[ ! -s "$WORK/all-ignored.err" ] || fail "-ignore: standard error is not empty"
run_check unknown-code 2 "$WORK/Bad" -check -ignore TEXTURE_NOT_FOUND,NO_SUCH_CODE
expect_in_file "$WORK/unknown-code.err" '"NO_SUCH_CODE" is no code of -check' "the unknown code named"
run_check lower-case 2 "$WORK/Bad" -check -ignore texture_not_found
run_check ignore-alone 2 "$WORK/Bad" -check -ignore

# docs/checks.md is the table of codes as the program writes it.
"$PROGRAM" -checks-doc >"$WORK/checks.md" || fail "-checks-doc"
cmp -s "$WORK/checks.md" "$ROOT/docs/checks.md" || fail "docs/checks.md differs from the table: run vondrel-viewer -checks-doc > docs/checks.md"

# A text model that closes its root frame once too often loads with a note of
# severity info: status 0 and nothing on standard error. (The model has no
# material list: its default material, of alpha 0, is hidden by day.)
mkdir -p "$WORK/Braces"
printf 'xof 0302txt 0032\nFrame root {\n Mesh {\n  3;0.0;0.0;0.0;,1.0;0.0;0.0;,0.0;1.0;0.0;;\n  1;3;0,1,2;;\n }\n}\n}\n' \
  >"$WORK/Braces/braces.x"
run_check braces 0 "$WORK/Braces/braces.x" -check -ignore MODEL_INVISIBLE_BY_DAY
expect_in_file "$WORK/braces.out" "0 errors, 0 warnings" "a surplus brace is no problem"
expect_in_file "$WORK/braces.out" "braces.x:8: 1 closing '}' more than the file opened" "the surplus brace's note"
[ ! -s "$WORK/braces.err" ] || fail "a surplus brace: standard error is not empty"
run_check braces.json 0 "$WORK/Braces/braces.x" -check -json -ignore MODEL_INVISIBLE_BY_DAY
json_expect "$WORK/braces.json.out" "[(n['file'].endswith('/braces.x'), n['line'], n['severity']) for n in d['problems'] if n['code'] == 'SURPLUS_CLOSING_BRACES'] == [(True, 8, 'info')]"
json_expect "$WORK/braces.json.out" "d['model']['loaded'] and d['model']['faces'] == 1"
# A load that fails after such a note gives the fault as its reason, not the note.
printf 'xof 0302txt 0032\nFrame root {\n}\n}\n' >"$WORK/Braces/empty.x"
run_check braces-empty 1 "$WORK/Braces/empty.x" -check
[ "$(cat "$WORK/braces-empty.err")" = "vondrel-viewer: $WORK/Braces/empty.x: the model cannot be loaded ($WORK/Braces/empty.x: the file holds no mesh with vertices)" ] ||
  { cat "$WORK/braces-empty.err" >&2; fail "a failed load after a note: not the fault as the reason"; }

# A texture named where it lay on the author's machine is found by its
# trailing elements beside the model, and the report says so.
mkdir -p "$WORK/Foreign/Tex"
cp "$ROOT/samples/model/paint.tga" "$WORK/Foreign/Tex/Paint.TGA"
sed 's/"paint.tga"/"C:\\\\Users\\\\someone\\\\Desktop\\\\Game\\\\tex\\\\paint.tga"/' "$ROOT/samples/model/Car.x" \
  >"$WORK/Foreign/Car.x"
grep -q 'Game\\\\tex' "$WORK/Foreign/Car.x" || fail "the foreign texture path was not written"
run_check foreign 3 "$WORK/Foreign/Car.x" -check
grep -q "trailing path  .*/Foreign/Tex/Paint.TGA  TGA" "$WORK/foreign.out" || { cat "$WORK/foreign.out" >&2; fail "the texture found by its trailing path"; }
run_check foreign.json 3 "$WORK/Foreign/Car.x" -check -json
json_expect "$WORK/foreign.json.out" "[(t['foundBy'], t['path'].endswith('/Foreign/Tex/Paint.TGA'), t['loaded']) for t in d['textures']] == [('trailing path', True, True)]"

# Shift-JIS names are shown as UTF-8.
make_plugin "$WORK/Sjis" Struct.txt
printf '\x83\x65\x83\x58\x83\x67\n\x8d\xec\x8e\xd2\n1.0\n' >"$WORK/Sjis/Struct.txt"
# (The small model has no material list: its default material, of alpha 0, is hidden by day.)
run_check sjis 0 "$WORK/Sjis" -check -ignore MODEL_INVISIBLE_BY_DAY
expect_in_file "$WORK/sjis.out" 'Struct plug-in "テスト" by 作者' "code page 932 decoded"

# Nothing to show: status 1 and one line, the reason with the reader's note.
run_check nothing 1 "$WORK/nothing-here" -check
[ "$(wc -l <"$WORK/nothing.err")" = 1 ] && [ ! -s "$WORK/nothing.out" ] || fail "nothing to show: not one line alone"
printf 'xof 0302txt 0032\nMesh {\n 1;\n' >"$WORK/cut.x"
run_check cut 1 "$WORK/cut.x" -check
expect_in_file "$WORK/cut.err" "the model cannot be loaded (" "the reason"
expect_in_file "$WORK/cut.err" "cut.x: line 3: vertex count 1 is larger" "the reader's note"
# With -json the report is written all the same, saying that the model is not loaded.
run_check nothing.json 1 "$WORK/nothing-here" -check -json
json_expect "$WORK/nothing.json.out" "d['kind'] is None and not d['model']['loaded'] and d['problems'][0]['code'] == 'NOTHING_TO_SHOW'"
[ "$(wc -l <"$WORK/nothing.json.err")" = 1 ] || fail "nothing to show with -json: not one line on standard error"
run_check cut.json 1 "$WORK/cut.x" -check -json
json_expect "$WORK/cut.json.out" "d['kind'] == 'model' and [p['code'] for p in d['problems']] == ['NOTHING_TO_SHOW', 'MODEL_UNREADABLE']"
json_expect "$WORK/cut.json.out" "d['problems'][1]['line'] == 3 and d['problems'][1]['objectPath'] == 'Mesh'"

# A name on disk that is not UTF-8 comes with its bytes, so that a program can open the file.
mkdir -p "$WORK/$(printf 'N\x95\x5C')"
cp "$WORK/cut.x" "$WORK/$(printf 'N\x95\x5C')/m.x"
run_check bytes.json 1 "$WORK/$(printf 'N\x95\x5C')/m.x" -check -json
json_expect "$WORK/bytes.json.out" "d['directory'].endswith('N表/') and d['directoryBytes'].endswith('/N%95%5C/')"
json_expect "$WORK/bytes.json.out" "__import__('os').path.isdir(__import__('urllib.parse').parse.unquote_to_bytes(d['directoryBytes']))"

# Usage errors.
run_check alone 2 -check
run_check both 2 "$ROOT/samples/Struct" -check -shot "$WORK/x.png"

# No lock: the single-instance lock held by another process changes nothing.
flock "$XDG_RUNTIME_DIR/vdl mutex.lock" "$PROGRAM" "$ROOT/samples/Train" -check >/dev/null ||
  fail "-check beside a holder of the lock"
# A check report opens none of the libraries for windows, pictures and text,
# nor libzip outside an archive: they would take longer to load than the
# report on a small plug-in.
LD_DEBUG=files "$PROGRAM" "$ROOT/samples/Station" -check >/dev/null 2>"$WORK/libraries.err" ||
  fail "-check with the loader's trace"
for library in libSDL2 libfreetype libfontconfig libXss libX11 libzip; do
  grep -q "file=$library" "$WORK/libraries.err" && fail "-check loaded $library"
done
echo "ok: -check"
