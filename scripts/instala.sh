#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need. Quick when all are present.
set -euo pipefail
pacotes=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libgl-dev
    libzip-dev zipcmp zipmerge ziptool zip unzip
    libsqlite3-dev curl ccache
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    xvfb xauth poppler-utils
    qt6-translations-l10n
    clang libclang-rt-14-dev clazy
    libhunspell-dev hunspell-pt-br
    dpkg-dev file lintian appstream desktop-file-utils shared-mime-info
)
faltam=()
for p in "${pacotes[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || faltam+=("$p")
done
if [ ${#faltam[@]} -gt 0 ]; then
    echo "instalando: ${faltam[*]}"
    sudo_cmd=""
    [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${faltam[@]}" >/dev/null
fi
