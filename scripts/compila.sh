#!/usr/bin/env bash
# Configures and builds into the given folder (default build/). Extra arguments go to cmake.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
pasta="${1:-$raiz/build}"
shift || true
bash "$raiz/scripts/instala.sh"
cmake -S "$raiz" -B "$pasta" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$pasta"
