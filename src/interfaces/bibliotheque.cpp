#include "bibliotheque.h"

#include <QFileInfo>
#include <map>

QString texteErreurChargementFonction(const QString& nomFonction) {
    return QStringLiteral("Erreur lors du chargement de ") + nomFonction;
}

QString texteBibliothequeNonChargee(const QString& FNomDLL) {
    return FNomDLL + QStringLiteral(" n'est pas chargé");
}

EErreurBibliotheque::EErreurBibliotheque(const QString& texte)
    : std::runtime_error(texte.toStdString()), texte_(texte) {}

namespace {
// QLibrary::unload() releases the file for every QLibrary opened on it: two drivers on
// the same library (detection, then switching) must not pull it from under each other.
// The last holder unloads it. Everything runs on the user-interface thread.
std::map<QString, int>& detenteurs() {
    static std::map<QString, int> compte;
    return compte;
}
} // namespace

void TBibliotheque::decharger() {
    if (!tenue_)
        return;
    tenue_ = false;
    int& n = detenteurs()[bibliotheque_.fileName()];
    if (--n <= 0) {
        detenteurs().erase(bibliotheque_.fileName());
        bibliotheque_.unload();
    }
}

TBibliotheque::~TBibliotheque() {
    decharger();
}

bool TBibliotheque::charger(const QString& cheminAbsolu) {
    liberer();
    chemin_ = cheminAbsolu;
    raisonEchec_.clear();
    const QFileInfo info(cheminAbsolu);
    // QLibrary would search the system path for a bare name and try other prefixes and
    // suffixes for a missing file: only an existing file given by its absolute path is
    // loaded, so the program never picks up a stranger's library.
    if (cheminAbsolu.isEmpty() || !info.isAbsolute()) {
        raisonEchec_ = QStringLiteral("chemin non absolu");
        return false;
    }
    if (!info.isFile()) {
        raisonEchec_ = QStringLiteral("fichier absent");
        return false;
    }
    bibliotheque_.setFileName(info.absoluteFilePath());
    if (!bibliotheque_.load()) {
        raisonEchec_ = bibliotheque_.errorString();
        return false;
    }
    tenue_ = true;
    ++detenteurs()[bibliotheque_.fileName()];
    return true;
}

QFunctionPointer TBibliotheque::adresse(const QString& nom) {
    if (!chargee())
        return nullptr;
    return bibliotheque_.resolve(nom.toLatin1().constData());
}

QString TBibliotheque::resoudre(const std::vector<TLienFonction>& liens) {
    QString erreur;
    const bool charge = chargee();
    for (const TLienFonction& lien : liens) {
        const QFunctionPointer p = charge ? adresse(lien.nom) : nullptr;
        lien.affecter(p);
        if (p == nullptr && erreur.isEmpty())
            erreur = charge ? texteErreurChargementFonction(lien.nom)
                            : texteBibliothequeNonChargee(chemin_);
        liens_.push_back(lien);
    }
    return erreur;
}

void TBibliotheque::liberer() {
    for (const TLienFonction& lien : liens_)
        lien.affecter(nullptr);
    liens_.clear();
    decharger();
}
