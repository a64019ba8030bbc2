#!/usr/bin/env bash
# Builds nuv in Release and runs every benchmark program at full size, one at
# a time, then prints one table of every judged figure: nuv's value, the
# peer's, the ratio (peer / nuv, or copy / nuv), the target and met or NOT
# MET. A failed result check makes the script fail; a missed target does
# not. The logs stay in build/release/bench-logs/.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
nuv_install_packages "${NUV_TEST_PACKAGES[@]}"

JOBS=${NUV_JOBS:-2}
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DNUV_WERROR=ON -DNUV_TESTS=OFF
cmake --build build/release -j"$JOBS"
logs=build/release/bench-logs
rm -rf "$logs" && mkdir -p "$logs"

status=0
while read -r bench; do
  [ -n "$bench" ] || continue
  name=$(basename "$bench")
  echo "== $name"
  if ! "$bench" 2>&1 | tee "$logs/$name.log"; then
    echo "nuv: $name failed a result check (log in $logs/$name.log)" >&2
    status=1
  fi
done < build/release/benches.list

echo
echo "| program | figure | nuv | peer | ratio | target | verdict |"
echo "|---|---|---|---|---|---|---|"
cat "$logs"/*.log | grep -a '^judge |' | sed 's/^judge | /| /; s/$/ |/'
exit "$status"
