#!/usr/bin/env bash
# Sets everything up, builds, starts the reference server with the demo project on loopback, then the
# client pointed at it. The server stops when the client closes.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
pasta="${REZOZUR_PASTA_BUILD:-$raiz/build}"
# Only what running needs: the tests and benchmarks are built by the test command.
REZOZUR_ALVOS="rezozur kesta-server rezozur-cli" bash "$raiz/scripts/compila.sh" "$pasta"
bin="$pasta/bin"

servidor_pid=""
encerra() { [ -n "$servidor_pid" ] && kill "$servidor_pid" 2>/dev/null || true; }
trap encerra EXIT

if [ -x "$bin/kesta-server" ]; then
    dados="${XDG_DATA_HOME:-$HOME/.local/share}/rezozur"
    mkdir -p "$dados"
    portas="$(mktemp)"
    semente=()
    [ -f "$dados/demo.sqlite" ] || semente=(--semear demo)
    "$bin/kesta-server" --banco "$dados/demo.sqlite" "${semente[@]}" \
        --porta-kesta 0 --porta-biro 0 --porta-teste 0 >"$portas" &
    servidor_pid=$!
    for _ in $(seq 50); do grep -q kesta= "$portas" && break; sleep 0.1; done
    linha="$(head -n1 "$portas")"
    export REZOZUR_SERVIDOR=127.0.0.1
    export REZOZUR_PORTA_KESTA="$(sed -n 's/.*kesta=\([0-9]*\).*/\1/p' <<<"$linha")"
    export REZOZUR_PORTA_BIRO="$(sed -n 's/.*biro=\([0-9]*\).*/\1/p' <<<"$linha")"
    export REZOZUR_PORTA_TESTE="$(sed -n 's/.*teste=\([0-9]*\).*/\1/p' <<<"$linha")"
    echo "servidor de referência: $linha (usuário demo, senha demo)"
fi

if [ -x "$bin/rezozur" ]; then
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
        xvfb-run -a "$bin/rezozur"
    else
        "$bin/rezozur"
    fi
else
    echo "o programa ainda não tem janela; ferramenta de linha de comando: $bin/rezozur-cli"
fi
