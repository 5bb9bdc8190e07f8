#!/usr/bin/env bash
# Writes again the golden text of the demo project's printed document (tests/reports/ouro/), after a
# change to the reports that is meant. Review the diff it shows before committing it.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
pasta="${1:-$raiz/build}"
cmake --build "$pasta" --target test_reports_cli rezozur-cli kesta-server
(cd "$pasta" && REZOZUR_ATUALIZA_OURO=1 QT_QPA_PLATFORM=offscreen \
    ctest -R 'CliImprimir.TextoDeCadaPaginaDoProjetoDeDemonstracao' --output-on-failure)
git -C "$raiz" diff --stat -- tests/reports/ouro/
