// The main window's side of the settings panel: every settings control handed to the
// settings rules (TReglagesAcq), what they ask for done on the graph and the boxes, their
// state mirrored on the controls; and the live values of TimerAcqDir.
#include "fichekirvanemixte.h"
#include "graphefiche.h"
#include "indices.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QFocusEvent>
#include <QPainter>
#include <QPixmap>
#include <QSignalBlocker>
#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

// Hands the changes made during an acquisition to the engine, which applies them between
// two frames through appliquerReglage.
class TFicheKirvaneMixte::TRecepteurFiche : public TRecepteurReglages {
public:
    explicit TRecepteurFiche(TFicheKirvaneMixte& fiche) : fiche_(fiche) {}
    // Destroyed with the window's members, before its child widgets, which may still
    // signal (a list left while deleted emits activated): the settings controls are
    // disconnected and their event filters read vivant.
    ~TRecepteurFiche() override;

    const std::shared_ptr<bool> vivant = std::make_shared<bool>(true);

    TModeGeneral etatFenetre() const override { return fiche_.modeGeneral(); }
    bool premiereAcq() const override { return !fiche_.moteur || fiche_.moteur->premiereAcq; }
    void reglageEnAttente(const TReglageEnAttente& r) override { fiche_.moteur->nouveauReglage(r); }

private:
    TFicheKirvaneMixte& fiche_;
};

TFicheKirvaneMixte::TRecepteurFiche::~TRecepteurFiche() {
    *vivant = false;
    const TComposantsFiche& composants = fiche_.composants;
    std::vector<QObject*> sources{composants.CBDureeTotale,
                                  composants.CBNbPoints,
                                  composants.SBDureeTotalePlus,
                                  composants.SBDureeTotaleMoins,
                                  composants.SBNbPointsPlus,
                                  composants.SBNbPointsMoins,
                                  composants.BAcquisitionPrecedente,
                                  composants.CBTypeDeclenchement,
                                  composants.RGSensDeclenchement,
                                  composants.CBVoieSynchro,
                                  composants.CBPretrigX,
                                  composants.EditUSeuilDecl,
                                  composants.CBModePermanent};
    for (QComboBox* cb : {composants.CBDureeTotale, composants.CBNbPoints})
        if (cb != nullptr)
            sources.push_back(cb->lineEdit());
    sources.insert(sources.end(), composants.CBVoiesActives.begin(),
                   composants.CBVoiesActives.end());
    sources.insert(sources.end(), composants.RGCalsEA.begin(), composants.RGCalsEA.end());
    sources.insert(sources.end(), composants.CBModeDiff.begin(), composants.CBModeDiff.end());
    for (QObject* o : sources)
        if (o != nullptr)
            QObject::disconnect(o, nullptr, &fiche_, nullptr);
}

void TFicheKirvaneMixte::TSupprimeRecepteur::operator()(TRecepteurFiche* r) const {
    delete r;
}

namespace {

// Entering and leaving the lists and the threshold field. A popup taking the focus, or
// another application's window, is not leaving the field.
class TSuiviFocus : public QObject {
public:
    TSuiviFocus(QObject* parent, std::function<void()> entree, std::function<void()> sortie)
        : QObject(parent), entree_(std::move(entree)), sortie_(std::move(sortie)) {}

protected:
    bool eventFilter(QObject* objet, QEvent* e) override {
        const bool focus = e->type() == QEvent::FocusIn || e->type() == QEvent::FocusOut;
        const Qt::FocusReason raison =
            focus ? static_cast<QFocusEvent*>(e)->reason() : Qt::OtherFocusReason;
        if (focus && raison != Qt::PopupFocusReason && raison != Qt::ActiveWindowFocusReason)
            (e->type() == QEvent::FocusIn ? entree_ : sortie_)();
        return QObject::eventFilter(objet, e);
    }

private:
    std::function<void()> entree_;
    std::function<void()> sortie_;
};

// One kind of event on a control: a list's popup view shown (dropped down), the sampling
// interval image resized.
class TSuiviEvenement : public QObject {
public:
    TSuiviEvenement(QObject* parent, QEvent::Type type, std::function<void()> action)
        : QObject(parent), type_(type), action_(std::move(action)) {}

protected:
    bool eventFilter(QObject* objet, QEvent* e) override {
        if (e->type() == type_)
            action_();
        return QObject::eventFilter(objet, e);
    }

private:
    QEvent::Type type_;
    std::function<void()> action_;
};

// The sampling interval on iTe: a raised exponent needs the drawn label, at the image's
// own size.
void dessinerITe(QLabel* iTe, const QFont& police, const TEtatReglages& s) {
    iTe->setAccessibleName(s.texteTe);
    if (!s.texteTeIndices) {
        iTe->setText(s.texteTe);
        return;
    }
    if (iTe->width() <= 0 || iTe->height() <= 0)
        return;
    QPixmap image(iTe->size());
    image.fill(iTe->palette().color(QPalette::Window));
    QPainter p(&image);
    p.setFont(police);
    dessinerTexteIndices(p, 8, 6, 0, 0, 0, 0, 0x808080, FOND_TRANSPARENT, 0xFFFFFF, s.texteTe);
    p.end();
    iTe->setPixmap(image);
}

// The list's contents, replaced only when they differ so that an open editor keeps its
// cursor; the index, or the text when no item matches.
void remplirListe(QComboBox* cb, const QStringList& items, int index, const QString& texte) {
    const QSignalBlocker blocage(cb);
    QStringList actuels;
    for (int k = 0; k < cb->count(); ++k)
        actuels << cb->itemText(k);
    if (actuels != items) {
        cb->clear();
        cb->addItems(items);
    }
    if (index >= 0 && index < cb->count())
        cb->setCurrentIndex(index);
    else
        cb->setCurrentIndex(-1);
    if (cb->isEditable() && cb->currentText() != texte)
        cb->setEditText(texte);
}

} // namespace

// The settings rules' side of one timing list (duration or point count).
struct TFicheKirvaneMixte::TRoutinesListeTemps {
    void (TReglagesAcq::*entree)();
    TEffetsReglages (TReglagesAcq::*sortie)();
    void (TReglagesAcq::*deroulement)();
    void (TReglagesAcq::*saisie)(const QString&);
    TEffetsReglages (TReglagesAcq::*changement)();
    TEffetsReglages (TReglagesAcq::*selection)(int);
    TEffetsReglages (TReglagesAcq::*plus)();
    TEffetsReglages (TReglagesAcq::*moins)();
};

// A timing list and its +/- buttons handed to the settings rules: focus in and out, the
// list unrolled, a text typed, an item picked, a step.
void TFicheKirvaneMixte::relierListeTemps(QComboBox* liste, QToolButton* plus, QToolButton* moins,
                                          const std::shared_ptr<bool>& vivant,
                                          const std::function<void(const TEffetsReglages&)>& effets,
                                          const TRoutinesListeTemps& f) {
    TReglagesAcq& r = *reglagesAcq;
    liste->installEventFilter(new TSuiviFocus(
        this,
        [vivant, &r, f] {
            if (*vivant)
                (r.*f.entree)();
        },
        [vivant, &r, effets, f] {
            if (*vivant && !r.bloqueExit)
                effets((r.*f.sortie)());
        }));
    liste->view()->installEventFilter(new TSuiviEvenement(this, QEvent::Show, [vivant, &r, f] {
        if (*vivant)
            (r.*f.deroulement)();
    }));
    connect(liste->lineEdit(), &QLineEdit::textEdited, this, [&r, effets, f](const QString& t) {
        (r.*f.saisie)(t);
        const TEffetsReglages e = (r.*f.changement)();
        if (e.modifie || e.reglageEnregistre)
            effets(e);
    });
    connect(liste, &QComboBox::activated, this, [&r, effets, f](int index) {
        TEffetsReglages e = (r.*f.selection)(index);
        const TEffetsReglages ch = (r.*f.changement)();
        e.modifie = e.modifie || ch.modifie;
        e.reglageEnregistre = e.reglageEnregistre || ch.reglageEnregistre;
        effets(e);
    });
    connect(plus, &QToolButton::clicked, this, [&r, effets, f] { effets((r.*f.plus)()); });
    connect(moins, &QToolButton::clicked, this, [&r, effets, f] { effets((r.*f.moins)()); });
}

void TFicheKirvaneMixte::relierReglages() {
    // Applies what a settings operation returns, then mirrors the new state.
    auto effets = [this](const TEffetsReglages& e) {
        if (!e.information.isEmpty())
            demarrage_.boites->informer(this, e.information);
        TEcranGraphe& ecran = graphe->ecran;
        if (e.axeTemps && centrales.SP5) {
            // New timing: zoom 1 and the markers on the whole duration.
            graphe->zoomsInitiaux();
            const double duree = centrales.SP5->dureeTotale0X;
            ecran.g.t0 = 0.0f;
            ecran.curseurs.tFin = duree;
            ecran.curseurs.t0M = 0.0;
            ecran.curseurs.tFinM = duree;
        }
        if (e.modeDessinVM)
            setModeDessinVM();
        if (e.viderValeurU >= 0 && e.viderValeurU < 8) {
            composants.EditValU[e.viderValeurU]->clear();
            composants.EditValU[e.viderValeurU]->repaint();
        }
        // A new timing hides the stored curves (they no longer fit the time axis); other
        // changes keep them.
        if (e.grapheSansCourbes)
            graphe->redessiner(false);
        else if (e.grapheAvecCourbes || e.axeTemps || e.zoomReapplique)
            graphe->redessiner(true);
        if (e.marquePretrig) {
            dessinerPretrig();
            composants.iEcranX->update();
        }
        if (e.axeTemps || e.zoomReapplique) {
            if (acquisitionEnCours(modeGeneral()))
                DesactiverZooms(etat);
            else
                ::activerZooms(etat, faits(), modeGeneral());
        }
        // The last input went off while acquiring: the acquisition ends and is committed.
        if (e.validerAcquisition && moteur && acquisitionEnCours(modeGeneral()))
            moteur->stop = true;
        if (e.modifie && !acquisitionEnCours(modeGeneral())) {
            etat.SBNouveau = true;
            if (modeGeneral() == MODE_VIERGE)
                setModeGeneral(MODE_REGLAGES_MODIFIES);
        }
        appliquerEtatReglages();
    };

    // The engine applies the changes of permanent mode with the same routines.
    moteur->appliquerReglage = [this, effets](const TReglageEnAttente& r) {
        if (reglagesAcq)
            effets(reglagesAcq->appliquer(r));
    };
    recepteur_.reset(new TRecepteurFiche(*this));
    reglagesAcq = std::make_unique<TReglagesAcq>(*recepteur_);
    reglagesAcq->setSeries(&series);
    TReglagesAcq& r = *reglagesAcq;

    // The filters below may see the focus leave while the window's children are deleted,
    // after its members.
    const std::shared_ptr<bool> vivant = recepteur_->vivant;

    // Typed texts never become items: the lists hold the offered values only.
    for (QComboBox* cb : {composants.CBDureeTotale, composants.CBNbPoints})
        cb->setInsertPolicy(QComboBox::NoInsert);

    relierListeTemps(composants.CBDureeTotale, composants.SBDureeTotalePlus,
                     composants.SBDureeTotaleMoins, vivant, effets,
                     {&TReglagesAcq::entreeDureeTotale, &TReglagesAcq::sortieDureeTotale,
                      &TReglagesAcq::deroulementDureeTotale, &TReglagesAcq::saisieDureeTotale,
                      &TReglagesAcq::changementDureeTotale, &TReglagesAcq::selectionDureeTotale,
                      &TReglagesAcq::clicDureeTotalePlus, &TReglagesAcq::clicDureeTotaleMoins});
    relierListeTemps(composants.CBNbPoints, composants.SBNbPointsPlus, composants.SBNbPointsMoins,
                     vivant, effets,
                     {&TReglagesAcq::entreeNbPoints, &TReglagesAcq::sortieNbPoints,
                      &TReglagesAcq::deroulementNbPoints, &TReglagesAcq::saisieNbPoints,
                      &TReglagesAcq::changementNbPoints, &TReglagesAcq::selectionNbPoints,
                      &TReglagesAcq::clicNbPointsPlus, &TReglagesAcq::clicNbPointsMoins});
    connect(composants.BAcquisitionPrecedente, &QPushButton::clicked, this,
            [&r, effets] { effets(r.clicAcquisitionPrecedente()); });

    composants.iTe->installEventFilter(new TSuiviEvenement(this, QEvent::Resize, [this, vivant] {
        if (*vivant)
            dessinerITe(composants.iTe, composants.LabelTe->font(), reglagesAcq->etat);
    }));

    // Trigger
    connect(composants.CBTypeDeclenchement, &QComboBox::activated, this,
            [&r, effets](int i) { effets(r.clicTypeDeclenchement(i)); });
    connect(composants.RGSensDeclenchement, &TGroupeRadio::clique, this,
            [&r, effets](int i) { effets(r.clicSensDeclenchement(i)); });
    connect(composants.CBVoieSynchro, &QComboBox::activated, this,
            [&r, effets](int i) { effets(r.clicVoieSynchro(i)); });
    connect(composants.CBPretrigX, &QComboBox::activated, this,
            [&r, effets](int i) { effets(r.clicPretrig(i)); });
    composants.EditUSeuilDecl->installEventFilter(new TSuiviFocus(
        this,
        [vivant, &r] {
            if (*vivant)
                r.entreeSeuil();
        },
        [vivant, &r, effets] {
            if (*vivant && !r.bloqueExit)
                effets(r.sortieSeuil());
        }));
    connect(composants.EditUSeuilDecl, &QLineEdit::textEdited, this,
            [&r](const QString& t) { r.saisieSeuil(t); });

    connect(composants.CBModePermanent, &QCheckBox::clicked, this, [this, &r](bool coche) {
        if (!moteur)
            return;
        if (acquisitionEnCours(modeGeneral()) || modeGeneral() == MODE_MESURES ||
            modeGeneral() == MODE_PERMANENT_ARRETE) {
            moteur->clicModePermanent(coche);
        } else {
            // Nothing acquired yet: the mode changes, the window stays without measurements.
            moteur->setModepermanent(coche);
        }
        r.setModePermanent(moteur->modePermanent);
        appliquerEtatReglages();
    });
    // "Ajouter les courbes" is read when an acquisition starts.

    // Channel panel
    for (int i = 0; i < 8; ++i) {
        connect(composants.CBVoiesActives[i], &QCheckBox::clicked, this,
                [&r, effets, i](bool coche) { effets(r.clicVoieActive(i, coche)); });
        connect(composants.RGCalsEA[i], &TGroupeRadio::clique, this,
                [&r, effets, i](int index) { effets(r.clicCalibre(i, index)); });
    }
    for (int k = 0; k < 4; ++k)
        connect(composants.CBModeDiff[k], &QCheckBox::clicked, this,
                [&r, effets, k](bool coche) { effets(r.clicModeDiff(k, coche)); });
}

void TFicheKirvaneMixte::appliquerEtatReglages() {
    if (!reglagesAcq)
        return;
    const TEtatReglages& s = reglagesAcq->etat;
    reglagesAcq->bloque = true;
    remplirListe(composants.CBDureeTotale, s.itemsDureeTotale, s.indexDureeTotale,
                 s.texteDureeTotale);
    remplirListe(composants.CBNbPoints, s.itemsNbPoints, s.indexNbPoints, s.texteNbPoints);

    dessinerITe(composants.iTe, composants.LabelTe->font(), s);

    composants.GBDeclenchement->setTitle(s.titreDeclenchement);
    remplirListe(composants.CBTypeDeclenchement, s.itemsTypeDeclenchement, s.indexTypeDeclenchement,
                 QString());
    {
        const QSignalBlocker blocage(composants.RGSensDeclenchement);
        composants.RGSensDeclenchement->setItemIndex(s.indexSensDeclenchement);
    }
    remplirListe(composants.CBVoieSynchro, s.itemsVoieSynchro, s.indexVoieSynchro, QString());
    if (!composants.EditUSeuilDecl->hasFocus() || !reglagesAcq->saisieManuelle)
        composants.EditUSeuilDecl->setText(s.texteSeuil);
    {
        const QSignalBlocker blocage(composants.CBPretrigX);
        composants.CBPretrigX->setCurrentIndex(
            std::clamp(s.indexPretrig, 0, composants.CBPretrigX->count() - 1));
    }
    if (!s.CBAjouterCourbes) {
        const QSignalBlocker blocage(composants.CBAjouterCourbes);
        composants.CBAjouterCourbes->setChecked(false);
    }

    for (int i = 0; i < 8; ++i) {
        {
            const QSignalBlocker blocage(composants.CBVoiesActives[i]);
            composants.CBVoiesActives[i]->setChecked(s.voieActive[i]);
        }
        {
            const QSignalBlocker blocage(composants.RGCalsEA[i]);
            if (s.indexCalibre[i] >= 0 && s.indexCalibre[i] < composants.RGCalsEA[i]->nbElements())
                composants.RGCalsEA[i]->setItemIndex(s.indexCalibre[i]);
        }
        if (centrales.SP5) {
            composants.LValUInd[i]->setText(s.indicesU[i]);
            composants.EditValU[i]->setEnabled(s.valeurActive[i]);
        }
    }
    for (int k = 0; k < 4; ++k) {
        const QSignalBlocker blocage(composants.CBModeDiff[k]);
        composants.CBModeDiff[k]->setChecked(s.modeDiff[k]);
    }

    // Enabling: the window state says whether the panel is live (frozen during a single
    // acquisition); the settings say which controls fit the trigger mode and the inputs.
    if (centrales.SP5 && etat.CBTypeDeclenchement) {
        etat.RGSensDeclenchement = s.RGSensDeclenchement;
        etat.CBVoieSynchro = s.CBVoieSynchro;
        etat.EditUSeuilDecl = s.EditUSeuilDecl;
        etat.CBPretrigX = s.CBPretrigX;
    }
    if (centrales.SP5 && !acquisitionEnCours(modeGeneral())) {
        if (etat.CBDureeTotale)
            etat.BAcquisitionPrecedente = s.BAcquisitionPrecedente;
        if (etat.CBModePermanent)
            etat.CBAjouterCourbes = s.CBAjouterCourbes;
    }
    if (centrales.SP5 && etat.gbCanaux[0]) {
        for (int i = 0; i < 8; ++i) {
            etat.CBVoiesActives[i] = s.voieActivable[i];
            etat.RGCalsEA[i] = s.calibreActif[i];
        }
    }
    reglagesAcq->bloque = false;
    appliquerEtat();
}

void TFicheKirvaneMixte::TimerAcqDirTimer() {
    mesureDirecte.bloqueTimerAcqDirecte = bloqueTimerAcqDirecte;
    const TValeursDirectes v = mesureDirecte.rafraichir(centrales.SP5.get(), modeGeneral());
    for (int i = 0; i < 8; ++i)
        if (v.EditValU[i])
            composants.EditValU[i]->setText(*v.EditValU[i]);
    // A unit gone: the presence poll reports it and its return.
    if (v.centraleAbsente && !TimerPresenceSP5.isActive())
        TimerPresenceSP5.start();
}
