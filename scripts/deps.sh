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

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
# On a fresh machine apt may be busy (unattended upgrades, another script of
# ours): wait for its locks, up to 15 minutes, rather than fail. apt-get waits
# for the dpkg lock itself, but not for the lock of its package lists.
lock_wait=900
update_lists() {
  local waited=0 errors
  until errors="$($sudo apt-get update -qq 2>&1 >/dev/null)"; do
    if ! grep -q "Could not get lock" <<<"$errors" || [ "$waited" -ge "$lock_wait" ]; then
      echo "$errors" >&2
      return 1
    fi
    sleep 5
    waited=$((waited + 5))
  done
}
update_lists
$sudo apt-get -o DPkg::Lock::Timeout="$lock_wait" install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
