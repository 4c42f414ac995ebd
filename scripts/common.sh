# Shared by run.sh and test.sh: installs what is missing and builds.
# shellcheck shell=bash
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# configure_and_build <build dir> <targets...> -- <cmake options...>
configure_and_build() {
  local dir="$1"; shift
  local targets=()
  while [ $# -gt 0 ] && [ "$1" != "--" ]; do targets+=("$1"); shift; done
  [ "${1:-}" = "--" ] && shift
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$ROOT" -B "$dir" -G Ninja "$@" >/dev/null
  fi
  ninja -C "$dir" "${targets[@]}"
}
