#!/usr/bin/env bash
# Installs what is missing, builds nuv and runs every test: the whole suite
# with gcc (warnings are errors, the window tests offscreen), every benchmark
# in smoke mode (small inputs, results checked, no timing judged), the core tests
# again under AddressSanitizer and UndefinedBehaviorSanitizer with clang, and
# a short run of every libFuzzer target on its seed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
nuv_install_packages "${NUV_TEST_PACKAGES[@]}"

JOBS=${NUV_JOBS:-2}
FUZZ_SECONDS=${NUV_FUZZ_SECONDS:-20}
export QT_QPA_PLATFORM=offscreen

echo "== build and test (gcc)"
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNUV_WERROR=ON
cmake --build build/test -j"$JOBS"
ctest --test-dir build/test --output-on-failure -j"$JOBS"

echo "== benchmarks in smoke mode (result checks only)"
while read -r bench; do
  [ -n "$bench" ] || continue
  if ! "$bench" --smoke > "$bench.smoke.log" 2>&1; then
    tail -n 40 "$bench.smoke.log"
    echo "nuv: $(basename "$bench") --smoke failed" >&2
    exit 1
  fi
  echo "-- $(basename "$bench"): $(grep -c '^check .* ok$' "$bench.smoke.log" || true) checks ok"
done < build/test/benches.list

echo "== core tests under ASan and UBSan (clang)"
cmake -S . -B build/asan -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DNUV_GUI=OFF -DNUV_BENCH=OFF -DNUV_SANITIZE=ON -DNUV_FUZZ=ON -DNUV_WERROR=ON
cmake --build build/asan -j"$JOBS"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build/asan -L core --output-on-failure -j"$JOBS"

echo "== fuzz targets, ${FUZZ_SECONDS} s each, ${JOBS} at a time"
source scripts/fuzz-runner.sh
nuv_run_fuzzers build/asan "$JOBS" "" 1 -max_total_time="$FUZZ_SECONDS" -timeout=10 -rss_limit_mb=2048

echo "== all tests passed"
