#!/usr/bin/env bash
# scripts/deps.sh on a busy machine: the update is tried again while another
# apt holds the lock of the package lists, up to the wait allowed, and not
# after any other failure. apt-get and sleep are stand-ins.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
WORK="$(mktemp -d /tmp/vdl-deps-lock.XXXXXX)"
trap 'rm -rf "$WORK"' EXIT
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/deps.sh"
sudo=""
sleep() { :; }
# The first $LOCKED updates find the lists locked; the next gives $LAST.
apt-get() {
  echo x >>"$WORK/calls"
  if [ "$(wc -l <"$WORK/calls")" -le "$LOCKED" ]; then
    echo "E: Could not get lock /var/lib/apt/lists/lock" >&2
    return 100
  fi
  [ "$LAST" = ok ] || { echo "E: $LAST" >&2; return 100; }
}

# locked, last outcome, wait allowed -> status, updates tried
while read -r LOCKED LAST LOCK_WAIT_SECONDS status calls; do
  : >"$WORK/calls"
  got=0
  update_lists 2>/dev/null || got=$?
  [ "$got $(wc -l <"$WORK/calls")" = "$status $calls" ] ||
    fail "$LOCKED locked, then $LAST, $LOCK_WAIT_SECONDS s allowed: status and updates $got $(wc -l <"$WORK/calls")"
done <<'CASES'
2 ok 900 0 3
1 unsigned-repository 900 1 2
9 ok 10 1 3
CASES
