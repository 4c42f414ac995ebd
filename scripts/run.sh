#!/usr/bin/env bash
# Runs the viewer on a plug-in: scripts/run.sh <plug-in path> [options]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
"$ROOT/scripts/deps.sh"
configure_and_build "$ROOT/build" vondrel-viewer -- -DCMAKE_BUILD_TYPE=Release >&2
exec "$ROOT/build/vondrel-viewer" "$@"
