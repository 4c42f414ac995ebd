# Shared by run.sh and test.sh: installs what is missing and builds.
# shellcheck shell=bash
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# configure_and_build <build dir> <targets...> -- <cmake options...>
configure_and_build() {
  local dir="$1"; shift
  local targets=()
  while [ $# -gt 0 ] && [ "$1" != "--" ]; do targets+=("$1"); shift; done
  [ "${1:-}" = "--" ] && shift
  # Configured again when the options or compilers differ from the last time.
  local settings="${CC:-} ${CXX:-} $*"
  if [ ! -f "$dir/build.ninja" ] || [ "$(cat "$dir/vdl-configured-with" 2>/dev/null)" != "$settings" ]; then
    cmake -S "$ROOT" -B "$dir" -G Ninja "$@" >/dev/null || return 1
    echo "$settings" >"$dir/vdl-configured-with"
  fi
  ninja -C "$dir" "${targets[@]}"
}

# build_sanitized <targets...>: build-asan, under AddressSanitizer,
# UndefinedBehaviorSanitizer and libFuzzer's coverage. Line tables are all the
# sanitizers' reports need, and they build and link sooner than full debug
# information.
build_sanitized() {
  local flags="-O2 -gline-tables-only -DNDEBUG"
  CC=clang CXX=clang++ configure_and_build "$ROOT/build-asan" "$@" -- \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVDL_SANITIZE=ON -DVDL_FUZZ=ON -DVDL_BENCH=OFF \
    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=$flags" "-DCMAKE_C_FLAGS_RELWITHDEBINFO=$flags"
}
