#!/usr/bin/env bash
# Installs what is missing, builds nuv and starts it on the bundled sample
# document. Extra arguments are handed to nuv instead of the sample.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
nuv_install_packages "${NUV_RUN_PACKAGES[@]}"

cmake -S . -B build/run -DCMAKE_BUILD_TYPE=Release -DNUV_TESTS=OFF -DNUV_BENCH=OFF
cmake --build build/run -j"${NUV_JOBS:-2}"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "nuv: no display found; running offscreen (set DISPLAY to see the window)" >&2
  export QT_QPA_PLATFORM=offscreen
fi
if [ $# -eq 0 ]; then
  set -- "build/run/share/sample.txt"
fi
exec build/run/src/app/nuv "$@"
