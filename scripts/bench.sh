#!/usr/bin/env bash
# Builds nuv in Release and runs every benchmark program at full size, one at
# a time, then prints one table of every judged figure: nuv's value, the
# peer's, the ratio (peer / nuv, or copy / nuv), the target and met or NOT
# MET. A failed result check makes the script fail; a missed target does
# not. The logs stay in build/release/bench-logs/.
#
#   scripts/bench.sh              every benchmark
#   scripts/bench.sh GROUP...     only the programs under bench/GROUP (app,
#                                 editor, exchange, fountain, macro, outline,
#                                 regex, search), for a machine where the
#                                 whole run takes too long at once
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
nuv_install_packages "${NUV_TEST_PACKAGES[@]}"

JOBS=${NUV_JOBS:-2}
export QT_QPA_PLATFORM=offscreen

# Warnings are not errors here: GCC 12 at -O3 reports false -Wrestrict
# warnings inside libstdc++'s string code. The warning checks are the
# RelWithDebInfo builds of scripts/test.sh.
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DNUV_WERROR=OFF -DNUV_TESTS=OFF "${launcher[@]}"
cmake --build build/release -j"$JOBS"

groups=("$@")
for g in "${groups[@]}"; do
  [ -d "bench/$g" ] || { echo "nuv: no benchmark group $g (the folders under bench/)" >&2; exit 2; }
done
wanted() {
  [ ${#groups[@]} -eq 0 ] && return 0
  local g
  for g in "${groups[@]}"; do [[ "$1" == */bench/"$g"/* ]] && return 0; done
  return 1
}

logs=build/release/bench-logs
mkdir -p "$logs"
ran=()
status=0
while read -r bench; do
  [ -n "$bench" ] || continue
  wanted "$bench" || continue
  name=$(basename "$bench")
  ran+=("$logs/$name.log")
  echo "== $name"
  if ! "$bench" 2>&1 | tee "$logs/$name.log"; then
    echo "nuv: $name failed a result check (log in $logs/$name.log)" >&2
    status=1
  fi
done < build/release/benches.list
[ ${#ran[@]} -gt 0 ] || { echo "nuv: no benchmark ran" >&2; exit 2; }

echo
echo "| program | figure | nuv | peer | ratio | target | verdict |"
echo "|---|---|---|---|---|---|---|"
cat "${ran[@]}" | grep -a '^judge |' | sed 's/^judge | /| /; s/$/ |/'
exit "$status"
