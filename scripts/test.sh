#!/usr/bin/env bash
# Builds everything and runs every test, in phases:
#   dependencies, includes      the packages; includes follow the layer order
#   build                       the Release build
#   unit and render tests       CTest labels unit and render
#   end to end                  CTest label e2e: the program under Xvfb, driven by xdotool
#   soak                        CTest label soak: a short soak of the window
#   sanitizer build             AddressSanitizer, UndefinedBehaviorSanitizer, libFuzzer
#   unit tests under sanitizers CTest label unit in that build
#   fuzzing                     CTest label fuzz: each target FUZZ_SECONDS (default 10)
#   program under sanitizers    CTest label sanitize: scripts/sanitize_program.sh
# A failed phase does not stop the others; the phases that need it are
# skipped. The last line sums up: "N passed, N failed, N skipped".
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
export FUZZ_SECONDS="${FUZZ_SECONDS:-10}"

# Caches of the program and its libraries (Mesa's shader cache, Fontconfig's)
# are private and empty for each run, so that no earlier run changes what the
# tests see.
RUN_DIR="$(mktemp -d /tmp/vdl-test-run.XXXXXX)"
trap 'rm -rf "$RUN_DIR"' EXIT
export XDG_CACHE_HOME="$RUN_DIR/cache"
mkdir -p "$XDG_CACHE_HOME"
unset MESA_SHADER_CACHE_DIR MESA_GLSL_CACHE_DIR

phases=()          # in the order they ran
declare -A outcome # phase name -> passed, failed or skipped

# phase <name> <needed phase>... -- <command...>: runs the command unless a
# needed phase did not pass.
phase() {
  local name="$1" missing=""
  shift
  while [ "$1" != "--" ]; do
    [ "${outcome[$1]:-}" = passed ] || missing="${missing:-$1}"
    shift
  done
  shift
  phases+=("$name")
  echo
  if [ -n "$missing" ]; then
    echo "=== $name: skipped, since '$missing' did not pass"
    outcome[$name]=skipped
  elif echo "=== $name ($(date +%T))" && "$@"; then
    outcome[$name]=passed
  else
    outcome[$name]=failed
  fi
}

# count <outcome>: how many phases ended so.
count() {
  local name n=0
  for name in "${phases[@]}"; do [ "${outcome[$name]}" = "$1" ] && n=$((n + 1)); done
  echo "$n"
}

in_build() { (cd "$1" && shift && ctest --output-on-failure "$@"); }

phase dependencies -- "$ROOT/scripts/deps.sh"
phase includes -- python3 "$ROOT/scripts/check_includes.py" "$ROOT"
phase build dependencies -- configure_and_build "$ROOT/build" -- -DCMAKE_BUILD_TYPE=Release
phase "unit and render tests" build -- in_build "$ROOT/build" -j2 -L 'unit|render' --timeout 300
phase "end to end" build -- in_build "$ROOT/build" -L e2e
phase soak build -- in_build "$ROOT/build" -V -L soak
phase "sanitizer build" dependencies -- build_sanitized unit_tests fuzzers vondrel-viewer dynamic_tls_probe
source "$ROOT/scripts/sanitizer_options.sh"
phase "unit tests under sanitizers" "sanitizer build" -- in_build "$ROOT/build-asan" -j2 -L unit --timeout 600
phase fuzzing "sanitizer build" -- in_build "$ROOT/build-asan" -V -j2 -L fuzz
phase "program under sanitizers" "sanitizer build" -- in_build "$ROOT/build-asan" -V -L sanitize

echo
summary="$(count passed) passed, $(count failed) failed, $(count skipped) skipped"
failed_phases=""
for name in "${phases[@]}"; do [ "${outcome[$name]}" = failed ] && failed_phases+="${failed_phases:+, }$name"; done
if [ -n "$failed_phases" ]; then
  echo "$summary; failed: $failed_phases"
  exit 1
fi
echo "$summary"
