#!/usr/bin/env bash
# Installs what is missing, builds everything, checks the Debian package (built, installed,
# tried, removed), runs the fuzzers briefly, the Windows syntax check and every test built
# with the address and undefined-behaviour sanitizers, then runs every test (benchmarks run
# once). CTest's summary stays the last thing printed; a failed check
# before it fails the command after CTest has run.
source "$(dirname "${BASH_SOURCE[0]}")/commun.sh"
installer_paquets
preparer_locale_francaise
construire
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"

echecs=()
etape() {
    local nom="$1"
    shift
    local debut=$SECONDS
    echo "=== $nom"
    if "$@"; then
        echo "=== $nom : réussi en $((SECONDS - debut)) s"
    else
        echo "=== $nom : ÉCHEC après $((SECONDS - debut)) s"
        echecs+=("$nom")
    fi
}
etape "Paquet Debian" bash "$RACINE/outils/verifier-paquet.sh"
etape "Fuzzing" bash "$RACINE/outils/fuzz.sh"
etape "Windows" python3 "$RACINE/outils/verifier-windows.py" "$CONSTRUCTION"
etape "Sanitiseurs" bash "$RACINE/outils/tester-sanitiseurs.sh"

ctest --test-dir "$CONSTRUCTION" --output-on-failure --timeout 300 -j "$(nproc)" || echecs+=("CTest")
if [[ ${#echecs[@]} -gt 0 ]]; then
    echo "Échecs : ${echecs[*]}" >&2
    exit 1
fi
