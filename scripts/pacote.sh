#!/usr/bin/env bash
# Makes the Debian packages rezozur and kesta-server (CPack).
#   bash scripts/pacote.sh            sets up the machine, builds the packaged programs in build-pacote/
#                                     (Release, with Debian's hardening flags) and leaves the packages in
#                                     build-pacote/pacotes/
#   bash scripts/pacote.sh --da-construcao PASTA SAIDA
#                                     packs what an existing build folder already built, into SAIDA
#                                     (the test of the packages does this with the test build)
# Prints the path of each package made.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"

if [ "${1:-}" = "--da-construcao" ]; then
    pasta="$2"
    saida="$3"
else
    pasta="${1:-$raiz/build-pacote}"
    saida="$pasta/pacotes"
    bash "$raiz/scripts/instala.sh"
    # The flags Debian builds its own packages with (hardening: fortify, stack protector, relro, now).
    export CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
    export LDFLAGS="$(dpkg-buildflags --get LDFLAGS)"
    REZOZUR_ALVOS="rezozur rezozur-cli kesta-server rezozur_rede rezozur_impressora rezozur_pacote_docs" \
        bash "$raiz/scripts/compila.sh" "$pasta" -DCMAKE_BUILD_TYPE=Release
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
