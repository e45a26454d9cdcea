#!/usr/bin/env bash
# Installs what is missing, builds everything, and runs every test (benchmarks run once).
source "$(dirname "${BASH_SOURCE[0]}")/commun.sh"
installer_paquets
preparer_locale_francaise
construire
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
ctest --test-dir "$CONSTRUCTION" --output-on-failure --timeout 300 -j "$(nproc)"
