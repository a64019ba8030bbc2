#!/usr/bin/env bash
# Long fuzz runs by hand: builds every libFuzzer target under AddressSanitizer
# and UndefinedBehaviorSanitizer, then runs each for the given minutes with
# inputs up to 1 MB, starting from its seed corpus. New inputs go to a work
# folder, never into the seed corpus; a crash leaves its input beside the log.
#   scripts/fuzz.sh [MINUTES] [NAME-PATTERN]     (defaults: 10 minutes, every target)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
nuv_install_packages "${NUV_TEST_PACKAGES[@]}"

MINUTES=${1:-10}
PATTERN=${2:-}
JOBS=${NUV_JOBS:-2}
BUILD=build/fuzz
case $MINUTES in '' | *[!0-9]*) echo "usage: scripts/fuzz.sh [MINUTES] [NAME-PATTERN]" >&2; exit 2 ;; esac

cmake -S . -B "$BUILD" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DNUV_GUI=OFF -DNUV_BENCH=OFF -DNUV_SANITIZE=ON -DNUV_FUZZ=ON -DNUV_WERROR=ON
targets=()
while read -r fuzzer _; do
  [ -n "$fuzzer" ] || continue
  name=$(basename "$fuzzer")
  [[ -z $PATTERN || $name == *$PATTERN* ]] && targets+=("$name")
done < "$BUILD/fuzzers.list"
[ ${#targets[@]} -gt 0 ] || { echo "nuv: no fuzz target matches '$PATTERN'" >&2; exit 2; }
cmake --build "$BUILD" -j"$JOBS" --target "${targets[@]}"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
echo "== ${#targets[@]} fuzz targets, $MINUTES min each, $JOBS at a time, inputs up to 1 MB"
source scripts/fuzz-runner.sh
# -timeout flags an input that takes seconds: on 1 MB that means quadratic work.
nuv_run_fuzzers "$BUILD" "$JOBS" "$PATTERN" 0 -max_total_time=$((MINUTES * 60)) -max_len=1048576 \
  -timeout=20 -rss_limit_mb=4096
echo "== no fuzz target failed"
