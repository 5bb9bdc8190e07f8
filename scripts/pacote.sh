#!/usr/bin/env bash
# Makes the Debian packages rezozur and kesta-server (CPack).
#   bash scripts/pacote.sh            sets the machine up, builds the packaged programs in build/ (the
#                                     folder the other commands use, so after them nothing is rebuilt)
#                                     and leaves the packages in build/pacotes/
#   bash scripts/pacote.sh --da-construcao PASTA SAIDA
#                                     packs what the build folder PASTA already built into SAIDA,
#                                     building nothing (the test of the packages, run inside a build)
# Prints the path of each package made.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"

if [ "${1:-}" = "--da-construcao" ]; then
    pasta="$2"
    saida="$3"
else
    pasta="$raiz/build"
    saida="$pasta/pacotes"
    REZOZUR_ALVOS="rezozur rezozur-cli kesta-server rezozur_rede rezozur_impressora rezozur_pacote_docs" \
        bash "$raiz/scripts/compila.sh" "$pasta"
fi

mkdir -p "$saida"
saida="$(cd "$saida" && pwd)"
rm -f "$saida"/*.deb
(cd "$pasta" && cpack -G DEB -B "$saida" >"$saida/cpack.log" 2>&1) || {
    cat "$saida/cpack.log" >&2
    exit 1
}
rm -rf "$saida/_CPack_Packages"
ls "$saida"/*.deb
