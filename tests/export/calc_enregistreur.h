#pragma once
// An office that records every call of the Calc transfer as a line of text, and a window that
// records what the transfer shows; both can be told to fail.
#include "transfertcalc.h"

#include <QStringList>
#include <optional>

class CalcEnregistreur : public TCalc {
public:
    QStringList appels;
    QStringList feuilles; // sheets of the workbook
    bool repond = true;   // connecter() succeeds
    bool vivant = false;  // the previous workbook still open (once one was made)
    // The call whose name begins with this text throws.
    QString echecSur;
    std::vector<double> nombres; // every number written, in order

    bool connecter() override {
        appels << QStringLiteral("connecter");
        return repond;
    }
    bool classeurVivant() override {
        appels << QStringLiteral("classeurVivant");
        return vivant;
    }
    void nouveauClasseur(const QString& nom) override {
        noter(QStringLiteral("nouveauClasseur ") + nom);
        feuilles = {nom};
        vivant = true;
    }
    QStringList nomsFeuilles() override {
        noter(QStringLiteral("nomsFeuilles"));
        return feuilles;
    }
    void nouvelleFeuille(const QString& nom) override {
        noter(QStringLiteral("nouvelleFeuille ") + nom);
        feuilles << nom;
    }
    void suspendreAffichage(bool s) override {
        noter(QStringLiteral("suspendreAffichage ") + (s ? u'1' : u'0'));
    }
    void ecrireTextes(int ligne, const QStringList& textes) override {
        noter(QStringLiteral("ecrireTextes %1 ").arg(ligne) + textes.join(u'|'));
    }
    void ecrireNombres(int ligne, int nbLignes, int nbColonnes, const double* v) override {
        noter(QStringLiteral("ecrireNombres %1 %2x%3").arg(ligne).arg(nbLignes).arg(nbColonnes));
        nombres.insert(nombres.end(), v, v + static_cast<ptrdiff_t>(nbLignes) * nbColonnes);
    }
    void fusionner(const QString& p) override { noter(QStringLiteral("fusionner ") + p); }
    void alignement(const QString& p, int a) override {
        noter(QStringLiteral("alignement %1 %2").arg(p).arg(a));
    }
    void couleurFond(const QString& p, int c) override {
        noter(QStringLiteral("couleurFond %1 %2").arg(p).arg(c));
    }
    void gras(const QString& p) override { noter(QStringLiteral("gras ") + p); }
    void formatNombres(const QString& p) override { noter(QStringLiteral("formatNombres ") + p); }
    void selectionner(const QString& c) override { noter(QStringLiteral("selectionner ") + c); }

    // The calls whose text begins with debut.
    QStringList appelsDe(const QString& debut) const {
        QStringList r;
        for (const QString& a : appels)
            if (a.startsWith(debut))
                r << a;
        return r;
    }

private:
    void noter(const QString& appel) {
        appels << appel;
        if (!echecSur.isEmpty() && appel.startsWith(echecSur))
            throw TErreurCalc{QStringLiteral("refus de ") + appel,
                              QStringLiteral("com.sun.star.uno.RuntimeException")};
    }
};

class FenetreEnregistreuse : public TFenetreCalc {
public:
    int debuts = 0;
    int fins = 0;
    QStringList messagesX; // EditMessageX, in order
    QList<int> progressions;
    QStringList messages;
    QList<TGenreMessageCalc> genres;
    std::optional<TModeCalc> choix; // answer of the question; nothing: abandoned
    int questions = 0;
    bool boutonDesactive = false;
    bool presenceMasquee = false;

    void debutTransfert() override { ++debuts; }
    void afficherMessage(const QString& t) override { messagesX << t; }
    void progression(int p) override { progressions << p; }
    void masquerPresence(bool m) override { presenceMasquee = m; }
    void message(const QString& t, TGenreMessageCalc g) override {
        messages << t;
        genres << g;
    }
    std::optional<TModeCalc> choisirMode() override {
        ++questions;
        return choix;
    }
    void desactiverBouton() override { boutonDesactive = true; }
    void finTransfert() override {
        ++fins;
        presenceMasquee = false;
        messagesX << messageTransfertCalcTermine();
    }
};
