#!/usr/bin/env bash
# Configures and builds into the given folder (default build/). Extra arguments go to cmake.
# REZOZUR_ALVOS, when set, names the only targets to build (the run command needs just the program
# and the server).
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
pasta="${1:-$raiz/build}"
shift || true
bash "$raiz/scripts/instala.sh"
cmake -S "$raiz" -B "$pasta" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
alvos=()
for a in ${REZOZUR_ALVOS:-}; do alvos+=(--target "$a"); done
cmake --build "$pasta" "${alvos[@]}"
