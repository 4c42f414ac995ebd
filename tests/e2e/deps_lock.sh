#!/usr/bin/env bash
# scripts/deps.sh on a busy machine: while another apt holds the lock of the
# package lists, the update is tried again, up to the wait allowed; any other
# failure of the update ends it at once, with apt's words. apt-get and sleep
# are stand-ins here: nothing is installed and nothing waits.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
ROOT="$(cd "${2:-$(dirname "${BASH_SOURCE[0]}")/../..}" && pwd)"
WORK="$(mktemp -d /tmp/vdl-deps-lock.XXXXXX)"
trap 'rm -rf "$WORK"' EXIT

source "$ROOT/scripts/deps.sh"
sudo=""

# The first $LOCKED updates find the lists locked; then $LAST is the outcome.
apt-get() {
  local calls=$(($(cat "$WORK/calls") + 1))
  echo "$calls" >"$WORK/calls"
  if [ "$calls" -le "$LOCKED" ]; then
    echo "E: Could not get lock /var/lib/apt/lists/lock. It is held by process 1 (apt-get)" >&2
    return 100
  fi
  [ "$LAST" = ok ] && return 0
  echo "E: $LAST" >&2
  return 100
}
sleep() { echo "$1" >>"$WORK/sleeps"; }

# locked, last outcome, wait allowed -> expected status, updates tried, sleeps
while read -r LOCKED LAST LOCK_WAIT_SECONDS status calls sleeps; do
  echo 0 >"$WORK/calls"
  : >"$WORK/sleeps"
  got=0
  update_lists 2>"$WORK/errors" || got=$?
  case="$LOCKED locked, then $LAST, $LOCK_WAIT_SECONDS s allowed"
  [ "$got" = "$status" ] || fail "$case: status $got"
  [ "$(cat "$WORK/calls")" = "$calls" ] || fail "$case: $(cat "$WORK/calls") updates"
  [ "$(wc -l <"$WORK/sleeps")" = "$sleeps" ] || fail "$case: $(wc -l <"$WORK/sleeps") sleeps"
  if [ "$status" != 0 ]; then
    grep -q "^E: " "$WORK/errors" || fail "$case: apt's words are not shown"
  fi
done <<'CASES'
0 ok 900 0 1 0
2 ok 900 0 3 2
1 unsigned-repository 900 1 2 1
9 ok 10 1 3 2
CASES
echo "deps.sh waits for the package lists' lock and stops at any other failure"
