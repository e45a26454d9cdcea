// The tool bar's Excel transfer: the window's snapshot handed to the transfer, which acts
// through the window's state, message field, progress bar, cursor and dialogs.
#include "classeurexcel.h"
#include "fichekirvanemixte.h"
#include "graphefiche.h"
#include "systemeexcel.h"

#include <QGuiApplication>

class TFicheKirvaneMixte::TVueExcelFiche : public TVueTransfertExcel {
public:
    explicit TVueExcelFiche(TFicheKirvaneMixte& f) : f(f) {}

    void debutTransfert() override {
        modeAvant = f.modeGeneral();
        timerAvant = f.TimerAcqDir.isActive();
        f.timerAcqDirecte(false);
        // State 7: closing the window is refused until the end.
        f.setModeGeneral(MODE_TRANSFERT_EXCEL);
        desactiveComposantsAcqSimple(f.etat, f.faits());
        f.etat.BAcquisition = false;
        f.appliquerEtat();
    }
    void finTransfert() override {
        activeComposantsAcqSimple(f.etat, f.faits());
        f.etat.BAcquisition = true;
        // The state's own enabling routines have the last word.
        f.setModeGeneral(modeAvant);
        f.appliquerEtat();
        // The live values come back only if they were running.
        if (timerAvant)
            f.timerAcqDirecte(true);
    }
    void message(const QString& texte) override { f.afficherMessage(texte); }
    void progression(int pourcent) override {
        f.composants.PBarExcel->setValue(pourcent);
        if (f.composants.PBarExcel->isVisible())
            f.composants.PBarExcel->repaint();
    }
    void presenceVisible(bool visible) override {
        // The progress bar takes the presence field's place while the values are sent.
        f.composants.PBarExcel->setVisible(!visible);
        f.composants.EditPresence->setVisible(visible);
    }
    void sablier(bool actif) override {
        if (actif)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QGuiApplication::restoreOverrideCursor();
    }
    std::optional<TModeExcel> choisirMode() override {
        return f.demarrage_.boites->choixTransfertExcel(&f);
    }
    void redessiner() override { f.repaint(); }
    void reprendreFocus() override {
        f.raise();
        f.activateWindow();
    }
    void informer(const QString& texte) override { f.demarrage_.boites->informer(&f, texte); }
    void avertir(const QString& texte) override { f.demarrage_.boites->avertir(&f, texte); }

private:
    TFicheKirvaneMixte& f;
    TModeGeneral modeAvant = MODE_MESURES;
    bool timerAvant = false;
};

void TFicheKirvaneMixte::TSupprimeVueExcel::operator()(TVueExcelFiche* v) const {
    delete v;
}

TIssueExcel TFicheKirvaneMixte::transfererExcel() {
    if (!centrales.SP5 || !graphe || series.nbVoiesMesurees <= 0 ||
        modeGeneral() == MODE_TRANSFERT_EXCEL)
        return TIssueExcel::AucuneValeur;
    if (!transfertExcel_) {
        if (!demarrage_.excel)
            demarrage_.excel = systemeExcelStandard();
        if (!demarrage_.ouvrirDocument)
            demarrage_.ouvrirDocument = ouvrirDocumentSysteme;
        vueExcel_.reset(new TVueExcelFiche(*this));
        if (classeurExcelDisponible())
            classeursExcel_ = std::make_unique<TClasseursExcel>(demarrage_.ouvrirDocument);
        transfertExcel_ =
            std::make_unique<TTransfertExcel>(*demarrage_.excel, *vueExcel_, classeursExcel_.get());
    }
    const TContexteExport contexte{graphe->ecran.g.t0, graphe->ecran.curseurs.tFin,
                                   reglages.OptionCouleursRegressi};
    return transfertExcel_->TransfertExcelPP(instantaneExport(series, *centrales.SP5, contexte),
                                             reglages.optionTransfertEXCEL, series.sdateAcqX,
                                             demarrage_.regressi->dossierDocuments());
}
