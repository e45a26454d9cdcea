# Shared by lancer.sh and tester.sh: installs what is missing, configures, builds.
set -euo pipefail
RACINE="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
CONSTRUCTION="${KIRVANE_CONSTRUCTION:-$RACINE/build}"

installer_paquets() {
    local manquants=()
    while read -r paquet; do
        [[ -z "$paquet" || "$paquet" == \#* ]] && continue
        if ! dpkg-query -W -f='${Status}' "$paquet" 2>/dev/null | grep -q "install ok installed"; then
            manquants+=("$paquet")
        fi
    done <"$RACINE/outils/paquets.txt"
    [[ ${#manquants[@]} -eq 0 ]] && return 0
    echo "Installation des paquets manquants : ${manquants[*]}"
    local sudo=""
    [[ $(id -u) -ne 0 ]] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${manquants[@]}"
}

construire() {
    if [[ ! -f "$CONSTRUCTION/build.ninja" ]]; then
        cmake -S "$RACINE" -B "$CONSTRUCTION" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
    fi
    cmake --build "$CONSTRUCTION" "$@"
}
