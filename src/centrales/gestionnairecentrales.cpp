#include "gestionnairecentrales.h"

#include <QThread>
#include <exception>

namespace {

// A driver call that fails (a library error) counts as an absent unit.
bool presenteSansErreur(TCentrale& c) {
    try {
        return c.Presente();
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace

TGestionnaireCentrales::TGestionnaireCentrales(TFabriqueCentrale fabrique)
    : fabrique_(std::move(fabrique)) {}

TGestionnaireCentrales::~TGestionnaireCentrales() {
    liberer();
}

void TGestionnaireCentrales::liberer() {
    for (TCentraleInsPre& c : centrales)
        if (c.Centrale1)
            c.Centrale1->liberer(true);
    centrales.clear();
    if (SP5)
        SP5->liberer(true);
    SP5.reset();
}

TCreationCentrale TGestionnaireCentrales::creer(int famille, const QStringList& chemins,
                                                QString& cheminRetenu, TVueCentrales& vue) {
    // Each place in turn; the first library that loads is kept. A loading error (a
    // function missing) is shown once and the family is not installed.
    for (const QString& chemin : chemins) {
        vue.traiterMessages();
        TCreationCentrale r;
        try {
            r = fabrique_(famille, chemin);
        } catch (const std::exception& e) {
            r.erreur = QString::fromLocal8Bit(e.what());
        }
        vue.traiterMessages();
        if (!r.erreur.isEmpty()) {
            vue.afficherErreurChargement(r.erreur);
            if (r.centrale)
                r.centrale->liberer(true);
            return {};
        }
        if (r.centrale && r.centrale->CentraleInstallee) {
            cheminRetenu = chemin;
            return r;
        }
        if (r.centrale)
            r.centrale->liberer(true);
    }
    return {};
}

void TGestionnaireCentrales::sonder(const TFamille& famille, const QStringList& chemins,
                                    TVueCentrales& vue) {
    const QString nomFamille = QString::fromUtf8(famille.nom);
    vue.ajouterLigneDemarrage(QStringLiteral("Détection ") + nomFamille + QStringLiteral("..."));
    QString chemin;
    TCreationCentrale r = creer(famille.famille, chemins, chemin, vue);
    if (!r.centrale) {
        vue.ajouterLigneDemarrage(QStringLiteral("Centrale ") + nomFamille +
                                  QStringLiteral(" non installée sur cet ordinateur"));
        vue.ajouterLigneDemarrage(QString());
        return;
    }
    TCentrale& c = *r.centrale;
    TCentraleInsPre e;
    e.typecentrale = famille.possedeType(c.typeCentrale) ? c.typeCentrale : famille.typeCentrale;
    e.nom = nomLongCentrale(e.typecentrale);
    e.nomPetit = nomCourtCentrale(e.typecentrale);
    e.installee = true;
    e.cheminDLL = chemin;
    if (e.typecentrale >= 1 && e.typecentrale <= static_cast<int>(cheminsDLLCentrales.size()))
        cheminsDLLCentrales[e.typecentrale - 1] = chemin;
    e.presente = presenteSansErreur(c);
    // The simulator says so in its name: the user is never misled about what is plugged in.
    const QString nom = e.nom;
    const QString nomConnexion =
        e.typecentrale == famille.typeCentrale ? QString::fromUtf8(famille.nomConnexion) : nom;
    vue.ajouterLigneDemarrage(QStringLiteral("Centrale ") + nom + QStringLiteral(" installée "));
    if (e.presente) {
        ++nbCentralesConnectees;
        ListeCentralesConnectees.insert(e.typecentrale);
        try {
            c.RecupereCalibration();
        } catch (const std::exception& ex) {
            vue.afficherErreurChargement(QString::fromLocal8Bit(ex.what()));
        }
        vue.ajouterLigneDemarrage(QStringLiteral("Centrale ") + nomConnexion +
                                  QStringLiteral(" connectée "));
    } else {
        vue.ajouterLigneDemarrage(QStringLiteral("Centrale ") + nomConnexion +
                                  QStringLiteral(" non connectée "));
    }
    vue.ajouterLigneDemarrage(QString());
    e.Centrale1 = std::move(r.centrale);
    centrales.push_back(std::move(e));
    ++nbCentralesGerees;
}

void TGestionnaireCentrales::detectionCentrales(const TCheminsCentrales& chemins,
                                                TVueCentrales& vue) {
    liberer();
    nbCentralesGerees = 0;
    nbCentralesConnectees = 0;
    ListeCentralesConnectees.clear();
    for (const TFamille& f : famillesCentrales()) {
        const auto places = chemins.find(f.famille);
        sonder(f, places == chemins.end() ? QStringList() : places->second, vue);
    }
}

bool TGestionnaireCentrales::setCentraleActive(int kind, bool avecCreation, TVueCentrales& vue) {
    if (kind == typeCentraleActive)
        return false;
    if (kind < 0) {
        // No unit: the detected objects are released, the active kind is left as it was.
        for (TCentraleInsPre& c : centrales)
            if (c.Centrale1)
                c.Centrale1->liberer(true);
        centrales.clear();
        return false;
    }
    if (avecCreation) {
        if (SP5)
            SP5->liberer(true);
        SP5.reset();
        // Give the unit a moment after its library was released.
        QThread::msleep(100);
        const TFamille* famille = familleDuType(kind);
        const QString chemin = kind >= 1 && kind <= static_cast<int>(cheminsDLLCentrales.size())
                                   ? cheminsDLLCentrales[kind - 1]
                                   : QString();
        QString retenu;
        TCreationCentrale r = famille && !chemin.isEmpty()
                                  ? creer(famille->famille, QStringList{chemin}, retenu, vue)
                                  : TCreationCentrale{};
        if (!r.centrale) {
            typeCentraleActive = 0;
            SP5Presente = false;
            return false;
        }
        SP5 = std::move(r.centrale);
        cheminDLLCentrale = retenu;
    } else {
        std::unique_ptr<TCentrale> choisie;
        for (TCentraleInsPre& c : centrales) {
            if (c.typecentrale == kind && !choisie) {
                choisie = std::move(c.Centrale1);
                cheminDLLCentrale = c.cheminDLL;
            } else if (c.Centrale1) {
                c.Centrale1->liberer(true);
            }
        }
        centrales.clear();
        if (!choisie)
            return false;
        if (SP5)
            SP5->liberer(true);
        SP5 = std::move(choisie);
    }
    typeCentraleActive = kind;
    SP5->traiterAliasing = false;
    SP5->acquisitionUtilisateur = true;
    SP5Presente = presenteSansErreur(*SP5);
    if (SP5Presente) {
        try {
            SP5->RecupereCalibration();
            const TFamille* famille = familleDuType(kind);
            if (famille && famille->activer)
                famille->activer(*SP5);
        } catch (const std::exception& e) {
            vue.afficherErreurChargement(QString::fromLocal8Bit(e.what()));
        }
    }
    return true;
}

TPresence TGestionnaireCentrales::pollPresence() {
    if (!SP5 || SP5->NbProcessus != 0)
        return TPresence::NonTestee;
    const bool presente = presenteSansErreur(*SP5);
    const bool avant = SP5Presente;
    SP5Presente = presente;
    try {
        if (presente && !avant) {
            // The unit is back: its calibration may be another unit's.
            SP5->RecupereCalibration();
            SP5->MAJCalibrage();
            SP5->prepareTousPRX(true);
        } else if (!presente && avant) {
            SP5->MAJCalibrage();
        }
    } catch (const std::exception&) {
        SP5Presente = false;
        return avant ? TPresence::Perdue : TPresence::NonConnectee;
    }
    if (presente)
        return avant ? TPresence::Connectee : TPresence::Reconnectee;
    return avant ? TPresence::Perdue : TPresence::NonConnectee;
}

QString TGestionnaireCentrales::textePresence() const {
    if (!SP5)
        return {};
    return QStringLiteral("Centrale ") + SP5->nomCentrale +
           (SP5Presente ? QStringLiteral(" connectée") : QStringLiteral(" non connectée"));
}

std::set<int> typesProposes(const TGestionnaireCentrales& g) {
    std::set<int> r;
    for (const TCentraleInsPre& c : g.centrales)
        if (c.installee)
            r.insert(c.typecentrale);
    return r;
}
