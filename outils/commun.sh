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

# The French locale in which the tests open the CSV files with LibreOffice Calc.
preparer_locale_francaise() {
    locale -a 2>/dev/null | grep -qi '^fr_FR\.utf-\?8$' && return 0
    local sudo=""
    [[ $(id -u) -ne 0 ]] && sudo="sudo"
    if grep -q '^# *fr_FR.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
        $sudo sed -i 's/^# *\(fr_FR.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    elif ! grep -q '^fr_FR.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
        echo 'fr_FR.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
    fi
    $sudo locale-gen
}

construire() {
    if [[ ! -f "$CONSTRUCTION/build.ninja" ]]; then
        cmake -S "$RACINE" -B "$CONSTRUCTION" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
    fi
    cmake --build "$CONSTRUCTION" "$@"
}
