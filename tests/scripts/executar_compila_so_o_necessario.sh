#!/usr/bin/env bash
# The run command builds only what running needs: a cmake stand-in records every call, and the build
# call must name the program, the server and the command-line tool, and nothing else.
set -euo pipefail
raiz="$1"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/bin" "$tmp/build"
cat >"$tmp/bin/cmake" <<'FIM'
#!/usr/bin/env bash
echo "$*" >>"$REGISTRO"
FIM
chmod +x "$tmp/bin/cmake"
export REGISTRO="$tmp/chamadas"
PATH="$tmp/bin:$PATH" REZOZUR_PASTA_BUILD="$tmp/build" bash "$raiz/scripts/executar.sh" >/dev/null
construcao="$(grep -- '--build' "$REGISTRO")"
echo "chamada de construção: $construcao"
esperado="--build $tmp/build --target rezozur --target kesta-server --target rezozur-cli"
if [ "$construcao" != "$esperado" ]; then
    echo "esperado: $esperado" >&2
    exit 1
fi
