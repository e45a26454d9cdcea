// The tool bar's Regressi transfer: the window's snapshot handed to the transfer, which acts
// through the window's boxes, cursor and list of files to delete at exit.
#include "fichekirvanemixte.h"
#include "graphefiche.h"

#include <QCoreApplication>
#include <QGuiApplication>

class TFicheKirvaneMixte::TDialoguesFiche : public TDialoguesRegressi {
public:
    explicit TDialoguesFiche(TFicheKirvaneMixte& f) : f(f) {}

    std::optional<TModeTransfert> choisirMode() override {
        return f.demarrage_.boites->choixTransfertRegressi(&f);
    }
    QString chercherRegressi() override {
        return f.demarrage_.boites->nomFichierOuverture(&f, titreRechercheRegressi(),
                                                        filtreRechercheRegressi());
    }
    void informer(const QString& texte) override { f.demarrage_.boites->informer(&f, texte); }
    void sablier(bool actif) override {
        if (actif)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QGuiApplication::restoreOverrideCursor();
    }
    void traiterMessages() override {
        // Clicks wait: a second transfer must not start inside this one.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    void noterASupprimer(const QString& chemin) override { f.fichierParametres_.ajouter(chemin); }

private:
    TFicheKirvaneMixte& f;
};

void TFicheKirvaneMixte::TSupprimeDialogues::operator()(TDialoguesFiche* d) const {
    delete d;
}

TOptionsRegressi TFicheKirvaneMixte::optionsRegressi() const {
    return {reglages.versionRegressiDefaut, reglages.cheminREGRESSINonDefautX,
            reglages.optionTransfertREGRESSI};
}

void TFicheKirvaneMixte::retenirRegressi(const TOptionsRegressi& o) {
    reglages.versionRegressiDefaut = o.versionRegressiDefaut;
    reglages.cheminREGRESSINonDefautX = o.cheminREGRESSINonDefautX;
    regressiVu_ = o;
}

void TFicheKirvaneMixte::localiserRegressi() {
    if (!demarrage_.regressi)
        demarrage_.regressi = std::make_unique<TServicesRegressiSysteme>();
    dialoguesRegressi_.reset(new TDialoguesFiche(*this));
    transfertRegressi_ =
        std::make_unique<TTransfertRegressi>(*demarrage_.regressi, *dialoguesRegressi_);
    TOptionsRegressi o = optionsRegressi();
    transfertRegressi_->localiser(o);
    retenirRegressi(o);
}

TIssueTransfert TFicheKirvaneMixte::transfererRegressi() {
    if (!centrales.SP5 || !graphe || series.nbVoiesMesurees <= 0)
        return TIssueTransfert::AucuneValeur;
    TOptionsRegressi o = optionsRegressi();
    // Another Regressi chosen in the preferences since: it is the one launched now.
    if (o.versionRegressiDefaut != regressiVu_.versionRegressiDefaut ||
        o.cheminREGRESSINonDefautX != regressiVu_.cheminREGRESSINonDefautX)
        transfertRegressi_->appliquerPreferences(o);

    const TContexteExport contexte{graphe->ecran.g.t0, graphe->ecran.curseurs.tFin,
                                   reglages.OptionCouleursRegressi};
    const TIssueTransfert issue = transfertRegressi_->TransfertRegressiFichier(
        instantaneExport(series, *centrales.SP5, contexte), series.sdateAcqX, o);
    retenirRegressi(o);
    if (issue == TIssueTransfert::RegressiAbsent) {
        // Back on when the window's state routines enable the tool bar again.
        etat.SBTransfertDirectREG = false;
        appliquerEtat();
    }
    return issue;
}
