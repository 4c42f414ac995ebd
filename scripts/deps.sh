#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those that are missing.
# `deps.sh peers` also installs the programs bench/peers.sh measures against.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  libsdl2-dev libx11-dev libxss-dev libepoxy-dev libgl1-mesa-dri libegl1 libegl-dev
  libpng-dev zlib1g-dev libzip-dev libjpeg62-turbo-dev libstb-dev libmeshoptimizer-dev
  libfreetype-dev libfontconfig-dev fonts-ipafont-gothic fonts-dejavu-core
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xdotool imagemagick x11-utils time
  desktop-file-utils shared-mime-info libxml2-utils libglib2.0-bin librsvg2-bin
  chromium
  python3-jsonschema
)
if [ "${1:-}" = peers ]; then
  packages+=(assimp-utils f3d)
fi

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
# On a fresh machine apt may be busy (unattended upgrades, another script of
# ours): its locks are waited for, up to this long, rather than failed on.
LOCK_WAIT_SECONDS=900

# apt-get update, again every 5 seconds while another apt holds the lock of
# the package lists: apt-get waits for dpkg's lock itself
# (DPkg::Lock::Timeout), but not for this one.
update_lists() {
  local waited=0 errors
  until errors="$($sudo apt-get update -qq 2>&1 >/dev/null)"; do
    if ! grep -q "Could not get lock" <<<"$errors" || [ "$waited" -ge "$LOCK_WAIT_SECONDS" ]; then
      echo "$errors" >&2
      return 1
    fi
    sleep 5
    waited=$((waited + 5))
  done
}

install_missing() {
  local p missing=()
  for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}" >&2
  export DEBIAN_FRONTEND=noninteractive
  update_lists
  $sudo apt-get -o DPkg::Lock::Timeout="$LOCK_WAIT_SECONDS" install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Sourced (by its test), the script only defines its functions.
if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  install_missing
fi
