#include "bibliotheque.h"

#include <QFileInfo>

QString texteErreurChargementFonction(const QString& nomFonction) {
    return QStringLiteral("Erreur lors du chargement de ") + nomFonction;
}

QString texteBibliothequeNonChargee(const QString& FNomDLL) {
    return FNomDLL + QStringLiteral(" n'est pas chargé");
}

EErreurBibliotheque::EErreurBibliotheque(const QString& texte)
    : std::runtime_error(texte.toStdString()), texte_(texte) {}

TBibliotheque::~TBibliotheque() {
    if (bibliotheque_.isLoaded())
        bibliotheque_.unload();
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
    return true;
}

QFunctionPointer TBibliotheque::adresse(const QString& nom) {
    if (!bibliotheque_.isLoaded())
        return nullptr;
    return bibliotheque_.resolve(nom.toLatin1().constData());
}

QString TBibliotheque::resoudre(const std::vector<TLienFonction>& liens) {
    QString erreur;
    const bool charge = bibliotheque_.isLoaded();
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
    if (bibliotheque_.isLoaded())
        bibliotheque_.unload();
}
