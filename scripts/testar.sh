#!/usr/bin/env bash
# Sets everything up, builds, and runs every test; ends with CTest's summary.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
pasta="$raiz/build"
bash "$raiz/scripts/compila.sh" "$pasta" -DREZOZUR_WERROR=ON
export QT_QPA_PLATFORM=offscreen
cd "$pasta"
ctest --output-on-failure --timeout 600 -j2
