#pragma once
// A window without widgets for the engine's tests: it records what the engine asks it to
// show, and runs the test's hook each time the engine lets it process its events, so
// that a test presses Stop, changes a setting or unplugs the unit at a chosen moment.
#include "vueacquisition.h"

#include <QElapsedTimer>
#include <algorithm>
#include <functional>
#include <map>
#include <vector>

struct TLotVu {
    TGenreLecture genre;
    int64_t premier, dernier, pt0Trame;
    int trameX;
    bool premierLot, effacerBande, effacerTout, marquePretrig;
    double tBande0, tBande1;
};

class TVueEssai : public TVueAcquisition {
public:
    std::vector<int> modes;
    std::vector<QString> messages, legendes, informations, avertissements, simples;
    std::vector<std::pair<int, double>> valeurs; // live values, in order
    std::vector<TLotVu> lots;
    std::vector<bool> redessins; // true: with curves
    int attentesAffichees = 0, attentesMasquees = 0;
    int validees = 0, quitte = 0, terminees = 0, tramesRapides = 0, valeursEffacees = 0;
    bool timerAcqDir = true, timerPres = true;
    bool enregistrerLots = true;
    // Events processed so far; the hook receives the count.
    int nbMessages = 0;
    std::function<void(int)> pendantMessages;
    // Longest time between two event processings, in milliseconds.
    int64_t ecartMaxMs = 0;

    void modeGeneralChange(TModeGeneral mode) override { modes.push_back(mode); }
    void afficherMessage(const QString& t) override { messages.push_back(t); }
    void legendeBoutonAcquisition(const QString& t) override { legendes.push_back(t); }
    void valeurDirecte(int voie, double v) override { valeurs.emplace_back(voie, v); }
    void effacerValeursDirectes() override { ++valeursEffacees; }
    void afficherModePermanent(bool) override {}
    void debutAcquisition(bool) override {}
    void preparerAxeTemps() override {}
    void setModeDessinVM() override {}
    void redessiner(bool avecCourbes) override { redessins.push_back(avecCourbes); }
    void dessinerPretrig() override {}
    void dessinerLot(const TLotAcquisition& l) override {
        if (enregistrerLots)
            lots.push_back({l.genre, l.premier, l.dernier, l.pt0Trame, l.trameX, l.premierLot,
                            l.effacerBande, l.effacerTout, l.marquePretrig, l.tBande0, l.tBande1});
    }
    void debutTrameRapide() override {}
    void finTrameRapide() override { ++tramesRapides; }
    void rafraichir() override {}
    void traiterMessages() override {
        if (horloge.isValid())
            ecartMaxMs = std::max<int64_t>(ecartMaxMs, horloge.restart());
        else
            horloge.start();
        ++nbMessages;
        if (pendantMessages)
            pendantMessages(nbMessages);
    }
    void afficherAttenteLongue() override { ++attentesAffichees; }
    void masquerAttenteLongue() override { ++attentesMasquees; }
    void informer(const QString& t) override { informations.push_back(t); }
    void avertir(const QString& t) override { avertissements.push_back(t); }
    void messageSimple(const QString& t) override { simples.push_back(t); }
    void timerAcqDirecte(bool m) override { timerAcqDir = m; }
    void timerPresence(bool m) override { timerPres = m; }
    TContexteValidation contexteValidation() override {
        TContexteValidation c;
        c.maintenant = QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9));
        c.locale = QLocale::c();
        return c;
    }
    void acquisitionValidee(bool) override { ++validees; }
    void acquisitionTerminee() override { ++terminees; }
    void quitter() override { ++quitte; }

    // Lots of one frame (pt0Trame given) or of all, in order.
    bool aMessage(const QString& t) const {
        return std::find(messages.begin(), messages.end(), t) != messages.end();
    }

private:
    QElapsedTimer horloge;
};
