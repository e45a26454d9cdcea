// The tool bar's Calc transfer: the window's snapshot handed to the transfer, whose office
// calls run on the worker thread; the window shows state 8, the progress and the messages,
// and gives everything back at the end.
#include "calclibreoffice.h"
#include "executeurcalc.h"
#include "fichekirvanemixte.h"
#include "graphefiche.h"

#include <QGuiApplication>
#include <QProgressBar>

class TFicheKirvaneMixte::TFenetreCalcFiche : public TFenetreCalc {
public:
    explicit TFenetreCalcFiche(TFicheKirvaneMixte& f) : f(f) {}

    void debutTransfert() override {
        modeAvant = f.modeGeneral();
        timerAvant = f.TimerAcqDir.isActive();
        f.TimerAcqDir.stop();
        f.setModeGeneral(MODE_TRANSFERT_CALC);
        desactiveComposantsAcqSimple(f.etat, f.faits());
        f.etat.BAcquisition = false;
        f.appliquerEtat();
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    void afficherMessage(const QString& texte) override { f.afficherMessage(texte); }
    void progression(int pourcent) override { f.composants.PBarExcel->setValue(pourcent); }
    // The progress bar takes the presence field's place while the transfer runs.
    void masquerPresence(bool masquer) override {
        f.composants.EditPresence->setVisible(!masquer);
        f.composants.PBarExcel->setVisible(masquer);
    }
    void message(const QString& texte, TGenreMessageCalc genre) override {
        // The hourglass stays out of the message box.
        QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
        f.demarrage_.boites->message(&f, texte, genreBoite(genre));
        QGuiApplication::restoreOverrideCursor();
    }
    std::optional<TModeCalc> choisirMode() override {
        QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
        const std::optional<TModeCalc> choix = f.demarrage_.boites->choixTransfertCalc(&f);
        QGuiApplication::restoreOverrideCursor();
        return choix;
    }
    void desactiverBouton() override {
        f.etat.SBtransfertDirectOOLO = false;
        f.appliquerEtat();
    }
    void finTransfert() override {
        f.setModeGeneral(modeAvant);
        activeComposantsAcqSimple(f.etat, f.faits());
        f.etat.BAcquisition = true;
        if (f.reglagesAcq)
            f.appliquerEtatReglages();
        else
            f.appliquerEtat();
        if (timerAvant)
            f.timerAcqDirecte(true);
        f.composants.PBarExcel->setValue(0);
        masquerPresence(false);
        f.afficherMessage(messageTransfertCalcTermine());
        QGuiApplication::restoreOverrideCursor();
    }

private:
    static TGenreMessage genreBoite(TGenreMessageCalc g) {
        switch (g) {
        case TGenreMessageCalc::Information:
            return TGenreMessage::Information;
        case TGenreMessageCalc::Avertissement:
            return TGenreMessage::Avertissement;
        case TGenreMessageCalc::Simple:
            break;
        }
        return TGenreMessage::Simple;
    }

    TFicheKirvaneMixte& f;
    TModeGeneral modeAvant = MODE_MESURES;
    bool timerAvant = false;
};

void TFicheKirvaneMixte::TSupprimeFenetreCalc::operator()(TFenetreCalcFiche* f) const {
    delete f;
}

void TFicheKirvaneMixte::creerTransfertCalc() {
    if (!demarrage_.calc)
        demarrage_.calc = calcLibreOffice();
    fenetreCalc_.reset(new TFenetreCalcFiche(*this));
    executeurCalc_ = std::make_unique<TExecuteurCalcFil>();
    transfertCalc_ = std::make_unique<TTransfertCalc>(std::move(demarrage_.calc), *executeurCalc_,
                                                      *fenetreCalc_);
}

void TFicheKirvaneMixte::transfererCalc() {
    if (!centrales.SP5 || !graphe || series.nbVoiesMesurees <= 0 || transfertCalc_->enCours())
        return;
    const TContexteExport contexte{graphe->ecran.g.t0, graphe->ecran.curseurs.tFin,
                                   reglages.OptionCouleursRegressi};
    transfertCalc_->TransfertOOCalcPP(instantaneExport(series, *centrales.SP5, contexte),
                                      reglages.optionTransfertOOo);
}
