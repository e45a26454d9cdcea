#!/usr/bin/env bash
# Builds the Debian package from the build folder, checks it with lintian, installs it with
# apt-get, checks the installed programs from /usr/bin (detection, a 20 ms acquisition
# written to a .rw3 file, a start of the window from the menu entry), validates the menu
# entry and the AppStream file, then removes the package.
source "$(dirname "${BASH_SOURCE[0]}")/commun.sh"
sudo=""
[[ $(id -u) -ne 0 ]] && sudo="sudo"

debut=$SECONDS
dossier_paquet="$CONSTRUCTION/paquet-deb"
rm -rf "$dossier_paquet"
(cd "$CONSTRUCTION" && cpack -G DEB -B "$dossier_paquet" >/dev/null)
deb=$(ls "$dossier_paquet"/kirvane_*_amd64.deb)
echo "Paquet : $(basename "$deb")"
dpkg-deb -f "$deb" Depends

# lintian: warnings are shown, errors fail (running as root needs --allow-root).
lintian --allow-root --fail-on error --suppress-tags-from-file /dev/null "$deb"

travail=$(mktemp -d)
installe=0
nettoyer() {
    [[ $installe -eq 1 ]] && DEBIAN_FRONTEND=noninteractive $sudo apt-get remove -y -qq kirvane >/dev/null
    rm -rf "$travail"
}
trap nettoyer EXIT

DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --reinstall "$deb" >/dev/null
installe=1

# The installed programs run from a folder that holds no library: the simulators must come
# from the package's private folder.
cd "$travail"
mkdir -m 700 "$travail/execution"
export XDG_RUNTIME_DIR="$travail/execution" XDG_CONFIG_HOME="$travail/config" HOME="$travail"
liste=$(/usr/bin/kirvane-cli --lister)
echo "$liste"
grep -q "SIMULATION" <<<"$liste" || { echo "kirvane-cli --lister ne trouve pas la centrale simulée" >&2; exit 1; }
/usr/bin/kirvane-cli --centrale simulation-sp5 --duree "20 ms" --points 101 --regressi "$travail/mesure.rw3"
# The file holds the header and 101 rows of time and voltage.
[[ -s "$travail/mesure.rw3" ]] || { echo "aucun fichier .rw3 écrit" >&2; exit 1; }
head -c 4 "$travail/mesure.rw3" | grep -q "EVAR" || { echo "fichier .rw3 incorrect" >&2; exit 1; }

# The menu entry's command starts the window (it quits once shown).
commande=$(sed -n 's/^Exec=//p' /usr/share/applications/kirvane.desktop)
KIRVANE_QUITTER_APRES_DEMARRAGE=1 QT_QPA_PLATFORM=offscreen timeout 60 $commande

desktop-file-validate /usr/share/applications/kirvane.desktop
appstreamcli validate --no-net /usr/share/metainfo/fr.kirvane.Kirvane.metainfo.xml
for f in /usr/lib/kirvane/libsp5sim.so /usr/share/man/fr/man1/kirvane-cli.1.gz \
    /usr/share/icons/hicolor/scalable/apps/kirvane.svg /usr/share/icons/hicolor/48x48/apps/kirvane.png; do
    [[ -f "$f" ]] || { echo "fichier absent du paquet : $f" >&2; exit 1; }
done
echo "Paquet vérifié en $((SECONDS - debut)) s."
