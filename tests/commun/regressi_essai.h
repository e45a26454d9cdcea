#pragma once
// The system and the user of the Regressi transfer, played by a test: the launches are
// recorded, the answers given in advance.
#include "transfertregressi.h"

#include <QList>
#include <QStringList>
#include <map>

class RegistreEssai : public TRegistreRegressi {
public:
    std::map<QString, QString> valeurs; // "cle/nom"
    std::optional<QString> lireTexte(const QString& cle, const QString& nom) const override {
        const auto it = valeurs.find(cle + u'/' + nom);
        return it == valeurs.end() ? std::nullopt : std::optional<QString>(it->second);
    }
    void ecrireTexte(const QString& cle, const QString& nom, const QString& valeur) override {
        valeurs[cle + u'/' + nom] = valeur;
    }
};

class ServicesEssai : public TServicesRegressi {
public:
    QDateTime horloge = QDateTime(QDate(2026, 12, 9), QTime(10, 16, 0));
    QString documents;
    QString officiel;
    bool enCours = false;
    bool lancementPossible = true;
    QList<TCommandeLancement> lancements;
    RegistreEssai reg;

    QDateTime maintenant() override { return horloge; }
    QString dossierDocuments() override { return documents; }
    bool regressiEnCours() override { return enCours; }
    bool lancer(const TCommandeLancement& c) override {
        lancements << c;
        return lancementPossible;
    }
    QString cheminWindows(const QString& chemin) override { return cheminWindowsParDefaut(chemin); }
    TRegistreRegressi& registre() override { return reg; }
    QString cheminOfficielRegressi() override { return officiel; }
};

class DialoguesEssai : public TDialoguesRegressi {
public:
    std::optional<TModeTransfert> choix;
    int nbQuestions = 0;
    QString regressiChoisi;
    int nbRecherches = 0;
    int sablierPendantRecherche = -1;
    QStringList messages;
    QStringList aSupprimer;
    int sablierActif = 0;

    std::optional<TModeTransfert> choisirMode() override {
        ++nbQuestions;
        return choix;
    }
    QString chercherRegressi() override {
        ++nbRecherches;
        sablierPendantRecherche = sablierActif;
        return regressiChoisi;
    }
    void informer(const QString& texte) override { messages << texte; }
    void sablier(bool actif) override { sablierActif += actif ? 1 : -1; }
    void traiterMessages() override {}
    void noterASupprimer(const QString& chemin) override { aSupprimer << chemin; }
};
