#!/usr/bin/env bash
# The packages as a user gets them: made from the test build by scripts/pacote.sh, unpacked with
# dpkg-deb -x into a scratch root, and run from there. The unpacked rezozur-cli downloads a project
# from the unpacked kesta-server and reads it back; every file the build lays out in its program folder
# must be in the package's; the package's program folder is left as it came; the desktop entry,
# AppStream file and file type are valid; lintian finds no error (its warnings are printed).
set -euo pipefail
raiz="$1"
build="$2"
tmp="$(mktemp -d)"
servidor=""
encerra() {
    if [ -n "$servidor" ]; then kill "$servidor" 2>/dev/null || true; wait "$servidor" 2>/dev/null || true; fi
    rm -rf "$tmp"
}
trap encerra EXIT
falhas=0
falha() { echo "FALHA: $*" >&2; falhas=$((falhas + 1)); }

mapfile -t debs < <(bash "$raiz/scripts/pacote.sh" --da-construcao "$build" "$tmp/pacotes")
programa="" servidor_deb=""
for d in "${debs[@]}"; do
    case "$(dpkg-deb -f "$d" Package)" in
        rezozur) programa="$d" ;;
        kesta-server) servidor_deb="$d" ;;
    esac
done
[ -n "$programa" ] && [ -n "$servidor_deb" ] || { echo "pacotes feitos: ${debs[*]}" >&2; exit 1; }
versao="$(dpkg-deb -f "$programa" Version)"
echo "pacotes: ${debs[*]##*/} (versão $versao)"

# What the binaries need (computed) and what is loaded by name.
confere_campo() { # deb field required-entries...
    local valor
    valor="$(dpkg-deb -f "$1" "$2")"
    for p in "${@:3}"; do
        grep -Eq "(^|, )$p( |,|$)" <<<"$valor" || falha "$(basename "$1") $2 sem $p: $valor"
    done
}
confere_campo "$programa" Depends libzip4 qt6-translations-l10n libqt6widgets6 libqt6network6 libqt6printsupport6
confere_campo "$programa" Recommends hunspell-pt-br
confere_campo "$servidor_deb" Depends libqt6sql6-sqlite libqt6network6 adduser

r="$tmp/raiz"
for d in "${debs[@]}"; do dpkg-deb -x "$d" "$r"; done
pasta="$r/usr/lib/rezozur"

# Every run-time file of the build's program folder: lookup files, help page, settings, modules, executables.
(cd "$build/bin" && find SYSTEM -type f; ls kesta.html rezozur.ini librezozur_*.so rezozur rezozur-cli) >"$tmp/esperados"
[ "$(grep -c '^SYSTEM/tabelas/' "$tmp/esperados")" -ge 30 ] || falha "a construção tem poucas tabelas de consulta"
while read -r f; do
    [ -f "$pasta/$f" ] || falha "falta no pacote: /usr/lib/rezozur/$f"
done <"$tmp/esperados"
for f in usr/bin/kesta-server lib/systemd/system/kesta-server.service etc/default/kesta-server \
    usr/share/man/man1/rezozur.1.gz usr/share/man/man1/rezozur-cli.1.gz usr/share/man/man1/kesta-server.1.gz \
    usr/share/applications/rezozur.desktop usr/share/mime/packages/rezozur-projeto.xml \
    usr/share/doc/rezozur/copyright usr/share/doc/kesta-server/copyright; do
    [ -f "$r/$f" ] || falha "falta no pacote: /$f"
done
# The icons the desktop entry and the file type name, at every usual size and scalable.
icone_programa="$(sed -n 's/^Icon=//p' "$r/usr/share/applications/rezozur.desktop")"
icone_tipo="$(sed -n 's/.*<icon name="\([^"]*\)".*/\1/p' "$r/usr/share/mime/packages/rezozur-projeto.xml")"
for tamanho in 16x16 22x22 24x24 32x32 48x48 64x64 128x128 256x256 scalable; do
    extensao=png
    [ "$tamanho" = scalable ] && extensao=svg
    for icone in "apps/$icone_programa" "mimetypes/$icone_tipo"; do
        [ -f "$r/usr/share/icons/hicolor/$tamanho/$icone.$extensao" ] || falha "falta o ícone $tamanho/$icone.$extensao"
    done
done
for p in rezozur rezozur-cli; do
    [ "$(readlink "$r/usr/bin/$p")" = "../lib/rezozur/$p" ] || falha "/usr/bin/$p não leva a /usr/lib/rezozur/$p"
done

# Run from the unpacked root, the per-user folders in the scratch folder.
export HOME="$tmp/casa" XDG_CONFIG_HOME="$tmp/casa/.config" XDG_DATA_HOME="$tmp/casa/.local/share"
mkdir -p "$HOME"
(cd "$pasta" && find . -printf '%p %s %T@\n' | sort) >"$tmp/pasta-antes"
esperado="$(printf 'REZOZUR Eva-Rudo 1.3.1\npacote %s' "$versao")"
for p in rezozur rezozur-cli; do
    saida="$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$r/usr/bin/$p" --version)" || falha "$p --version saiu com erro"
    [ "$saida" = "$esperado" ] || falha "$p --version: '$saida', esperado '$esperado'"
done

"$r/usr/bin/kesta-server" --banco "$tmp/kesta.sqlite" --semear demo --porta-kesta 0 --porta-biro 0 \
    --porta-teste 0 >"$tmp/portas" 2>"$tmp/servidor.err" &
servidor=$!
for _ in $(seq 100); do grep -q kesta= "$tmp/portas" && break; sleep 0.1; done
linha="$(head -n1 "$tmp/portas")"
[ -n "$linha" ] || { cat "$tmp/servidor.err" >&2; echo "o kesta-server do pacote não escutou" >&2; exit 1; }
export REZOZUR_SERVIDOR=127.0.0.1
export REZOZUR_PORTA_KESTA="$(sed -n 's/.*kesta=\([0-9]*\).*/\1/p' <<<"$linha")"
export REZOZUR_PORTA_BIRO="$(sed -n 's/.*biro=\([0-9]*\).*/\1/p' <<<"$linha")"
export REZOZUR_PORTA_TESTE="$(sed -n 's/.*teste=\([0-9]*\).*/\1/p' <<<"$linha")"

# The download goes through the HTTP client module, which the program finds beside its real path.
echo demo | "$r/usr/bin/rezozur-cli" baixar --usuario demo --senha - --projeto 1 --saida "$tmp/p.prj" >"$tmp/baixar" 2>&1 \
    || { cat "$tmp/baixar" >&2; falha "rezozur-cli baixar"; }
info="$("$r/usr/bin/rezozur-cli" info "$tmp/p.prj" 2>&1)" || falha "rezozur-cli info: $info"
grep -qx 'produto: REZOZUR Eva-Rudo 1.3.1' <<<"$info" || falha "info sem o produto: $info"
grep -qx 'código do projeto: 1' <<<"$info" || falha "info sem o código do projeto: $info"
grep -Eq '^tbMembro .*N=[1-9]' <<<"$info" || falha "info sem os membros baixados: $info"
kill "$servidor"
wait "$servidor" || true
servidor=""

(cd "$pasta" && find . -printf '%p %s %T@\n' | sort) >"$tmp/pasta-depois"
diff "$tmp/pasta-antes" "$tmp/pasta-depois" || falha "a pasta do programa mudou enquanto ele rodava"

desktop-file-validate "$r/usr/share/applications/rezozur.desktop" || falha "desktop-file-validate"
# The AppStream file, with the desktop entry it launches.
appstreamcli validate-tree --no-net "$r" || falha "appstreamcli validate-tree"
cp -r "$r/usr/share/mime" "$tmp/mime"
update-mime-database "$tmp/mime" 2>&1 | grep -v 'not in the search path' | grep -i 'warn\|error' \
    && falha "update-mime-database"
grep -q 'application/x-rezozur-projeto:\*\.prj' "$tmp/mime/globs2" || falha "o tipo de arquivo não reconhece *.prj"

# Errors fail lintian's run; warnings are only shown.
resultado=0
lintian --tag-display-limit 0 "${debs[@]}" >"$tmp/lintian" 2>&1 || resultado=$?
cat "$tmp/lintian"
[ "$resultado" -eq 0 ] || falha "lintian (saída $resultado)"

echo "$falhas falha(s)"
[ "$falhas" -eq 0 ]
