#pragma once
// The main window as the tests start it: against the SP5 simulator, settings in a
// temporary folder, questions answered by the test.
#include "centrale_neutre.h"
#include "fichekirvanemixte.h"

#include <QLibrary>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>

inline const QString cheminSimulateur = QStringLiteral(KIRVANE_SIMULATEUR_SP5);

class BoitesEssai : public TBoitesDialogue {
public:
    QStringList avertissements;  // every message box, whatever its kind
    QList<TGenreMessage> genres; // the kind of each
    QStringList questions;
    QList<TReponse> reponses; // given in order; "Non" when exhausted
    std::set<int> typesProposes;
    int choix = -1;
    QString fichierChoisi; // answer of the save dialog; empty: abandoned
    QStringList dialoguesEnregistrement;
    QStringList cheminsProposes; // folder and default name each save dialog opened on
    QString nomFichierEnregistrement(QWidget*, const QString& titre, const QString&,
                                     const QString& cheminDefaut) override {
        dialoguesEnregistrement << titre;
        cheminsProposes << cheminDefaut;
        return fichierChoisi;
    }
    void message(QWidget*, const QString& texte, TGenreMessage genre) override {
        avertissements << texte;
        genres << genre;
    }
    TReponse demander(QWidget*, const QString& texte, bool) override {
        questions << texte;
        return reponses.isEmpty() ? TReponse::Non : reponses.takeFirst();
    }
    QString fichierOuvert; // answer of the open dialog; empty: abandoned
    QStringList dialoguesOuverture;
    QString nomFichierOuverture(QWidget*, const QString& titre, const QString&) override {
        dialoguesOuverture << titre;
        return fichierOuvert;
    }
    std::optional<TModeTransfert> choixRegressi; // answer of the choice; nothing: abandoned
    int nbChoixRegressi = 0;
    std::optional<TModeTransfert> choixTransfertRegressi(QWidget*) override {
        ++nbChoixRegressi;
        return choixRegressi;
    }
    std::optional<TModeCalc> choixCalc; // answer of the Calc choice; nothing: abandoned
    int nbChoixCalc = 0;
    std::optional<TModeCalc> choixTransfertCalc(QWidget*) override {
        ++nbChoixCalc;
        return choixCalc;
    }
    int choisirCentrale(QWidget*, const std::set<int>& types) override {
        typesProposes = types;
        return choix;
    }
};

// A unit kind for the chooser test: installed, never plugged.
class V6Factice : public TCentraleNeutre {
public:
    V6Factice() : TCentraleNeutre(1) {
        typeCentrale = CENTRALE_V6;
        nomCentrale = nomLongCentrale(CENTRALE_V6);
        CentraleInstallee = true;
        nbEAU = nbCanaux_ = nbCanauxUt = 3;
        ChxModeDiff = 2;
        VoiesX.resize(3);
        canauxDiff.assign(3, true);
        sEntrees = {"EA1", "EA2", "EA3"};
        GBCanauxCaption = {"EA 1", "EA 2", "EA 3"};
    }
};

// The simulator's own controls, on a handle that never unloads it.
inline void debrancherSimulateur(bool debranche) {
    static QLibrary bibli(cheminSimulateur);
    bibli.setLoadHints(QLibrary::PreventUnloadHint);
    auto f = reinterpret_cast<void (*)(int32_t)>(bibli.resolve("SimSP5_SetDebranche"));
    QVERIFY(f);
    f(debranche ? 1 : 0);
}

// What a window test holds: the temporary folder and the boxes of the last start.
class TEssaiFiche {
protected:
    QTemporaryDir dossier;
    BoitesEssai* boites = nullptr;

    // Closes the window without a question left open: "quit?" Oui, "save?" Non.
    void fermer(std::unique_ptr<TFicheKirvaneMixte>& fiche) {
        if (!fiche)
            return;
        boites->reponses = {TReponse::Oui, TReponse::Non};
        fiche->close();
        fiche.reset();
    }

    TDemarrageFiche demarrage(TFicheKirvaneMixteTitre* titre, bool avecV6 = false,
                              bool avecSP5 = true) {
        TDemarrageFiche d = demarrageStandard(titre);
        TFabriqueCentrale standard = d.fabrique;
        d.fabrique = [standard, avecV6](int famille, const QString& chemin) {
            if (famille == FAMILLE_V6 && avecV6) {
                TCreationCentrale r;
                r.centrale = std::make_unique<V6Factice>();
                return r;
            }
            return standard(famille, chemin);
        };
        d.chemins = {};
        if (avecSP5)
            d.chemins[FAMILLE_SP5] = {cheminSimulateur};
        if (avecV6)
            d.chemins[FAMILLE_V6] = {QStringLiteral("/v6")};
        d.stock = std::make_unique<TMagasinReglagesQSettings>(dossier.path() + "/Kirvane.ini");
        d.dossierParametres = dossier.path();
        d.dossierDocuments = dossier.path() + "/Documents"; // made by the tests that need it
        auto b = std::make_unique<BoitesEssai>();
        boites = b.get();
        d.boites = std::move(b);
        return d;
    }
};
