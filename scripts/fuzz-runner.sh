# Runs the libFuzzer targets listed in a build folder's fuzzers.list, a few at
# a time, each on its seed corpus. New inputs go to a work folder beside the
# build, never into the seed corpus; a failing target leaves its input and log
# there and a FAILED-name marker. Sourced by test.sh and fuzz.sh.
#   nuv_run_fuzzers BUILD JOBS PATTERN FRESH LIBFUZZER-OPTIONS...
# PATTERN selects targets by a part of their name (empty: all). FRESH=1 starts
# every target from its seed corpus alone; FRESH=0 keeps what earlier runs found.
nuv_run_fuzzers() {
  local build=$1 jobs=$2 pattern=$3 fresh=$4
  shift 4
  local options=("$@") work_root="$build/fuzz-work"
  mkdir -p "$work_root"
  # Markers of an earlier run's failures must not fail this one.
  rm -f "$work_root"/FAILED-*
  local fuzzer corpus name
  while read -r fuzzer corpus; do
    [ -n "$fuzzer" ] || continue
    name=$(basename "$fuzzer")
    [[ -z $pattern || $name == *$pattern* ]] || continue
    nuv_run_one_fuzzer "$fuzzer" "$corpus" "$work_root" "$fresh" "${options[@]}" &
    while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n || true; done
  done < "$build/fuzzers.list"
  wait
  if compgen -G "$work_root/FAILED-*" > /dev/null; then
    echo "nuv: a fuzz target failed" >&2
    return 1
  fi
}

nuv_run_one_fuzzer() {
  local fuzzer=$1 corpus=$2 work_root=$3 fresh=$4
  shift 4
  local name work
  name=$(basename "$fuzzer")
  work="$work_root/$name"
  [ "$fresh" = 1 ] && rm -rf "$work"
  mkdir -p "$work"
  if ! "$fuzzer" "$@" -artifact_prefix="$work_root/$name-" "$work" "$corpus" > "$work.log" 2>&1; then
    tail -n 60 "$work.log"
    echo "nuv: $name failed; the input is in $work_root/" >&2
    touch "$work_root/FAILED-$name"
    return 1
  fi
  echo "-- $name: $(grep -E "^Done [0-9]+ runs" "$work.log" || echo done)"
}
