# Shared by test.sh (short runs) and fuzz.sh (long runs): runs one libFuzzer
# target and reads its figures. Needs ROOT (common.sh).
# shellcheck shell=bash

# fuzz_target <binary> <seconds> <work corpus dir> <log file>: fuzzes from the
# work corpus (and the target's dictionary), adding what it finds to it.
# Crashes, leaks, time-outs and running out of memory stop it with status 1
# and leave the input beside the log (<log>.artifact-*).
fuzz_target() {
  local fuzzer="$1" seconds="$2" work="$3" log="$4" name dictionary=()
  name="$(fuzz_name "$fuzzer")"
  [ -f "$ROOT/fuzz/$name.dict" ] && dictionary=(-dict="$ROOT/fuzz/$name.dict")
  "$fuzzer" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 -timeout=10 "${dictionary[@]}" \
    -print_final_stats=1 -artifact_prefix="$log.artifact-" "$work" >"$log" 2>&1
}

fuzz_name() { local name; name="$(basename "$1")"; echo "${name#fuzz_}"; }

# fuzz_figures <log>: "executions N, coverage C, features F" from a libFuzzer log.
fuzz_figures() {
  local log="$1" runs cov ft
  runs="$(grep -Eo 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -Eo '[0-9]+$' | tail -1)"
  cov="$(grep -Eo 'cov: [0-9]+' "$log" | tail -1 | grep -Eo '[0-9]+')"
  ft="$(grep -Eo 'ft: [0-9]+' "$log" | tail -1 | grep -Eo '[0-9]+')"
  echo "executions ${runs:-?}, coverage ${cov:-?}, features ${ft:-?}"
}

# corpus_size <dir>: "N files, B bytes".
corpus_size() {
  echo "$(find "$1" -type f | wc -l) files, $(find "$1" -type f -printf '%s\n' | awk '{s += $1} END {print s + 0}') bytes"
}

# for_each_fuzzer <build dir> <command>: runs "<command> <binary>" for every
# fuzz target of the build, two at a time (the machine's cores); fails when
# any run failed.
for_each_fuzzer() {
  local dir="$1" command="$2" fuzzer failed=0 running=0
  for fuzzer in "$dir"/fuzz_*; do
    [ -x "$fuzzer" ] || continue
    if [ "$running" -ge 2 ]; then wait -n || failed=1; running=$((running - 1)); fi
    "$command" "$fuzzer" &
    running=$((running + 1))
  done
  while [ "$running" -gt 0 ]; do wait -n || failed=1; running=$((running - 1)); done
  [ "$failed" -eq 0 ]
}
