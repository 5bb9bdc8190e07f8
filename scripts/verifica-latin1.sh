#!/usr/bin/env bash
# Fails when a QLatin1String, QLatin1StringView or QLatin1Char holds a character beyond ASCII. The
# sources are UTF-8: such a literal is taken as Latin-1 bytes, so it never equals the text it spells
# (a comparison that is never true, a label that prints as mojibake). The compiler decides, through
# clazy's check qlatin1string-non-ascii (clang also refuses a character literal too large for a char),
# over every file of the build's compile_commands.json that names one of the three and holds a byte
# beyond ASCII, or that includes one of our headers that does both; the findings in our headers count
# too. (A file with no such byte cannot hold such a literal, unless a macro of another header brings it.)
# Usage: verifica-latin1.sh SOURCE_FOLDER BUILD_FOLDER
set -euo pipefail
export LC_ALL=C  # bytes, whatever the locale
raiz="$(cd "$1" && pwd)"
build="$(cd "$2" && pwd)"
banco="$build/compile_commands.json"
[ -f "$banco" ] || { echo "falta $banco (configure com CMAKE_EXPORT_COMPILE_COMMANDS)"; exit 1; }
command -v clazy-standalone >/dev/null || { echo "falta clazy-standalone (scripts/instala.sh instala o pacote clazy)"; exit 1; }

padrao='QLatin1(String|StringView|Char)|_L1\b'
mapfile -t fontes < <(grep -o '"file": *"[^"]*"' "$banco" | sed 's/^"file": *"//; s/"$//' | grep "^$raiz/" | sort -u)
[ "${#fontes[@]}" -gt 0 ] || { echo "nenhum arquivo de $raiz em $banco"; exit 1; }

candidato() { grep -qE "$padrao" "$1" && grep -qP '[^\x00-\x7F]' "$1"; }
# Our headers that may hold one: a file that includes one of them is checked as well.
cabecalhos=()
while IFS= read -r h; do
    if candidato "$h"; then cabecalhos+=("$(basename "$h")"); fi
done < <(find "$raiz" -name '*.h' -not -path "$build/*" -not -path "$raiz/build*")
inclusoes='^$'
if [ "${#cabecalhos[@]}" -gt 0 ]; then
    inclusoes="#include [\"<]([^\">]*/)?($(printf '%s|' "${cabecalhos[@]}" | sed 's/|$//; s/\./\\./g'))[\">]"
fi
alvos=()
for f in "${fontes[@]}"; do
    if candidato "$f" || grep -qE "$inclusoes" "$f"; then
        alvos+=("$f")
    fi
done
echo "verificando ${#alvos[@]} de ${#fontes[@]} arquivos"

saida="$(mktemp)"
trap 'rm -f "$saida"' EXIT
printf '%s\n' "${alvos[@]}" | xargs -d '\n' -P "${REZOZUR_JOBS:-2}" -n 6 \
    clazy-standalone -p "$build" -checks=qlatin1string-non-ascii --header-filter="^$raiz/" --extra-arg=-Wno-error \
    >"$saida" 2>&1 || true
# Only the check's findings and a character literal too large for a char count: clang's other warnings
# and what clang 14 cannot compile yet (GCC builds the program) are not ours to judge here.
if grep -E -A2 'qlatin1string-non-ascii|character too large for enclosing character literal' "$saida"; then
    echo "FALHOU: literal não ASCII em QLatin1String/QLatin1StringView/QLatin1Char (use QStringLiteral ou u\"...\"_s)"
    exit 1
fi
echo "nenhum literal não ASCII em QLatin1String/QLatin1StringView/QLatin1Char"
