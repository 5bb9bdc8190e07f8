#!/usr/bin/env bash
# Sets everything up, builds, and runs every test; ends with CTest's summary. Each fuzz target runs
# for 20 seconds first (its own clang build in build-fuzz/, only the fuzz targets), so a harness that
# stops building or a parser that starts crashing fails the run.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
pasta="$raiz/build"
bash "$raiz/scripts/compila.sh" "$pasta" -DREZOZUR_WERROR=ON
fuzz_falhou=0
bash "$raiz/fuzz/run" 20 || fuzz_falhou=1
export QT_QPA_PLATFORM=offscreen
cd "$pasta"
ctest --output-on-failure --timeout 600 -j2
[ "$fuzz_falhou" -eq 0 ]
