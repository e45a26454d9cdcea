#include "fichekirvanemixte.h"

#include "fichekirvanechoixcentrale.h"
#include "fichekirvanemixtetitre.h"
#include "formats.h"
#include "imagesboutons.h"
#include "inscriptionregressi.h"
#include "sp5.h"
#include "systeme.h"
#include "traductions.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QScreen>
#include <QSet>

namespace {

class TBoitesStandard : public TBoitesDialogue {
public:
    void avertir(QWidget* parent, const QString& texte) override {
        QMessageBox boite(QMessageBox::Warning, QStringLiteral("Kirvane"), texte, QMessageBox::Ok,
                          parent);
        boite.exec();
    }
    TReponse demander(QWidget* parent, const QString& texte, bool avecAnnuler) override {
        auto boite = creerQuestionOuiNonAnnuler(parent, QStringLiteral("Kirvane"), texte);
        if (!avecAnnuler) {
            boite->removeButton(boite->button(QMessageBox::Cancel));
            boite->setEscapeButton(QMessageBox::No);
        }
        const int r = boite->exec();
        if (r == QMessageBox::Yes)
            return TReponse::Oui;
        if (r == QMessageBox::No || !avecAnnuler)
            return TReponse::Non;
        return TReponse::Annuler;
    }
    int choisirCentrale(QWidget* parent, const std::set<int>& types) override {
        TFicheKirvaneChoixCentrale choix(parent);
        QSet<int> boutons;
        for (int t : types)
            boutons.insert(t == CENTRALE_SIMULATION_SP5 ? CENTRALE_SP5 : t);
        choix.PrepareChoixCentrale(boutons);
        if (choix.exec() != QDialog::Accepted || choix.typeCentraleAActiver1 < 0)
            return -1;
        // The SP5 button stands for the simulated SP5 when that is what was found.
        if (choix.typeCentraleAActiver1 == CENTRALE_SP5 && !types.count(CENTRALE_SP5))
            return CENTRALE_SIMULATION_SP5;
        return choix.typeCentraleAActiver1;
    }
};

// "\n\r" of the program's texts is one line break on screen.
QString texteEcran(const char* texte) {
    return texteInfoBulle(texte);
}

const char* const AUCUNE_CENTRALE =
    "Aucune centrale \n\r- SYSAM SP5\n\r- SYSAM V6\n\r- SYSAM CAMPUS \n\rn'est installée sur "
    "cet ordinateur.\n\r\n\r\"Kirvane\" ne peut pas fonctionner.";

} // namespace

std::unique_ptr<TBoitesDialogue> boitesDialogueStandard() {
    return std::make_unique<TBoitesStandard>();
}

TDemarrageFiche demarrageStandard(TFicheKirvaneMixteTitre* titre) {
    TDemarrageFiche d;
    d.fabrique = [](int famille, const QString& chemin) {
        TCreationCentrale r;
        if (famille == FAMILLE_SP5) {
            auto sp5 = std::make_unique<TSP5>(chemin, 1);
            r.erreur = sp5->erreurChargement;
            r.centrale = std::move(sp5);
        }
        // The V6 and CAMPUS drivers come with their own work: not installed until then.
        return r;
    };
    const QString windows = cheminDossierSpecial(TDossierSpecial::WINDOWS);
    d.chemins.sp5 = cheminsBibliothequeSP5(QCoreApplication::applicationDirPath(), windows);
    d.chemins.ftdiPresent =
        !windows.isEmpty() && (QFileInfo::exists(windows + "/system32/FTD2XX-V6.dll") ||
                               QFileInfo::exists(windows + "/SysWOW64/FTD2XX-V6.dll"));
    d.stock = std::make_unique<TMagasinReglagesQSettings>();
    d.dossierParametres = TFichierParametres::dossierParDefaut();
    d.boites = boitesDialogueStandard();
    d.titre = titre;
    return d;
}

TFicheKirvaneMixte::TFicheKirvaneMixte(TDemarrageFiche demarrage, QWidget* parent)
    : QMainWindow(parent), centrales(demarrage.fabrique), demarrage_(std::move(demarrage)),
      fichierParametres_(demarrage_.dossierParametres), sequences_(*this) {
    auto* racine = new QWidget(this);
    setCentralWidget(racine);
    construireComposants(c, racine);
    TimerPresenceSP5.setInterval(1000);
    TimerRedimGene.setInterval(100);
    TimerRedimGene.setSingleShot(true);
    TimerAcqDir.setInterval(300);
    connect(&TimerPresenceSP5, &QTimer::timeout, this, [this] { TimerPresenceSP5Timer(); });
    connect(&TimerRedimGene, &QTimer::timeout, this, [this] { TimerRedimGeneTimer(); });
    relierBoutons();
    FormCreate();
}

TFicheKirvaneMixte::~TFicheKirvaneMixte() {
    FormDestroy();
}

void TFicheKirvaneMixte::FormCreate() {
    initialisation = true;
    setWindowTitle(QString::fromUtf8(TITRE_FICHE_PRINCIPALE));
    peutFermer = false;
    bloqueRedim = true;
    if (const QScreen* ecran = QGuiApplication::primaryScreen()) {
        const QRect zone = ecran->availableGeometry();
        setGeometry(zone.x() + 5, zone.y() + 5, std::max(640, zone.width() - 10),
                    std::max(480, zone.height() - 50));
    }
    setMinimumSize(640, 480);

    centrales.detectionCentrales(demarrage_.chemins, *this);
    if (demarrage_.stock)
        reglages.lire(*demarrage_.stock);
    inscrireAupresDeRegressi(QCoreApplication::applicationFilePath());
    reglages.compterUtilisation();
    lireApplicationsInstallees();
    OOInstalle = estInstallee(QStringLiteral("OPENOFFICE")) ||
                 estInstallee(QStringLiteral("OpenOffice.org"));
    LOInstalle = estInstallee(QStringLiteral("LIBREOFFICE")) ||
                 estInstallee(QStringLiteral("LibreOffice.org"));
    msOfficeInstalle = estInstallee(QStringLiteral("Microsoft Office")) ||
                       estInstallee(QStringLiteral("Microsoft 365"));

    // Hints of the tool bar and of the settings panel.
    const auto outils = c.boutonsOutils();
    for (const auto& [bouton, quel] : outils)
        bouton->setToolTip(infoBulle(quel));
    c.CBDureeTotale->setToolTip(texteEcran(BullesReglages::CBDureeTotale));
    c.CBNbPoints->setToolTip(texteEcran(BullesReglages::CBNbPoints));
    c.BAcquisitionPrecedente->setToolTip(texteEcran(BullesReglages::BAcquisitionPrecedente));
    c.EditMessageX->setToolTip(texteEcran(BullesReglages::EditMessageX));
    c.EditPresence->setToolTip(texteEcran(BullesReglages::EditPresence));
    c.SBRedRegTemp->setToolTip(texteEcran(BullesReglages::SBRedRegTemp));
    c.SBRedRegVoies->setToolTip(texteEcran(BullesReglages::SBRedRegVoies));
    for (QToolButton* b : {c.SBDureeTotalePlus, c.SBNbPointsPlus})
        b->setToolTip(texteEcran(BullesReglages::valeurSuperieure));
    for (QToolButton* b : {c.SBDureeTotaleMoins, c.SBNbPointsMoins})
        b->setToolTip(texteEcran(BullesReglages::valeurInferieure));

    choisirCentraleAuDemarrage();

    bloqueRedim = false;
    redimensionnement();
    if (centrales.SP5)
        TimerPresenceSP5.start();
}

void TFicheKirvaneMixte::choisirCentraleAuDemarrage() {
    if (centrales.nbCentralesGerees == 1) {
        setCentraleActive(centrales.centrales[0].typecentrale, false);
        return;
    }
    if (centrales.nbCentralesGerees > 1) {
        if (demarrage_.titre)
            demarrage_.titre->hide();
        const std::set<int> types = typesProposes(centrales);
        const int choisi = demarrage_.boites->choisirCentrale(this, types);
        if (choisi > 0) {
            for (const TCentraleInsPre& e : centrales.centrales) {
                auto* b = new QToolButton(c.PBoutons);
                b->setText(e.Centrale1 ? e.Centrale1->nomCentrale : e.nom);
                b->setCheckable(true);
                b->setAutoExclusive(true);
                b->setProperty("typeCentrale", e.typecentrale);
                b->setToolTip(QStringLiteral("Sélection de la centrale ") + b->text());
                connect(b, &QToolButton::clicked, this, [this, t = e.typecentrale] {
                    if (t == centrales.typeCentraleActive)
                        return;
                    bloqueTimerAcqDirecte = true;
                    TimerPresenceSP5.stop();
                    c.EditMessageX->clear();
                    c.EditPresence->clear();
                    setCentraleActive(t, true);
                    redimensionnement();
                    bloqueTimerAcqDirecte = false;
                    if (centrales.SP5)
                        QTimer::singleShot(500, this, [this] { TimerPresenceSP5.start(); });
                });
                b->show();
                c.SBCentrales_.push_back(b);
            }
            setCentraleActive(choisi, false);
            return;
        }
        centrales.nbCentralesGerees = 0;
        setCentraleActive(-1, false);
        peutFermer = true;
        return;
    }
    setCentraleActive(-1, false);
    if (demarrage_.titre)
        demarrage_.titre->hide();
    demarrage_.boites->avertir(this, texteEcran(AUCUNE_CENTRALE));
    if (demarrage_.titre)
        demarrage_.titre->show();
}

void TFicheKirvaneMixte::setCentraleActive(int kind, bool avecCreation) {
    if (kind == centrales.typeCentraleActive && centrales.SP5)
        return;
    TimerPresenceSP5.stop();
    series.nbVoiesMesurees = 0;
    if (kind < 0 || !centrales.setCentraleActive(kind, avecCreation, *this) || !centrales.SP5) {
        centrales.setCentraleActive(-1, false, *this);
        preparerPanneauSansCentrale();
    } else {
        TCentrale& u = *centrales.SP5;
        for (QToolButton* b : c.SBCentrales_) {
            const bool bas = b->property("typeCentrale").toInt() == kind;
            b->setChecked(bas);
            QFont f = b->font();
            f.setBold(bas);
            b->setFont(f);
        }
        if (centrales.SP5Presente) {
            try {
                u.Reset();
            } catch (const std::exception& e) {
                afficherErreurChargement(QString::fromLocal8Bit(e.what()));
            }
        }
        u.setDurees(reglages.DureeTotaleDFT, reglages.NbPtsDFT, false);
        c.EditPresence->setText(centrales.textePresence());
        c.EditPresence->setCursorPosition(0);
        preparerPanneauVoies();
        if (demarrage_.titre) {
            demarrage_.titre->setInterface(u.nomCentrale, u.numeroSerie);
            demarrage_.titre->setOngletInterfaceVisible(centrales.SP5Presente);
        }
    }
    // The store starts empty with the new unit.
    if (centrales.SP5)
        series.RAZ(*centrales.SP5);
    else
        series = TSeriesMesurees{};
    series.numAcqDef = 0;
    setModeGeneral(MODE_VIERGE);
    desactiveBoutonsOutils(etat);
    if (centrales.SP5) {
        activeComposantsAcqSimple(etat, faits());
        etat.BAcquisition = true;
    } else {
        desactiveComposantsAcqSimple(etat, faits());
        etat.BAcquisition = false;
        etat.SBOptions = false;
    }
    etat.SBNouveau = false;
    appliquerEtat();
}

void TFicheKirvaneMixte::preparerPanneauVoies() {
    TCentrale& u = *centrales.SP5;
    const int nbCanaux = std::clamp(u.nbCanaux_, 0, 4);
    const int nbEAU = std::clamp(u.nbEAU, 0, 8);
    const bool diffChoisi = u.ChxModeDiff == 1;
    for (int k = 0; k < 4; ++k) {
        const bool present = k < nbCanaux;
        c.gbCanaux[k]->setVisible(present);
        if (!present)
            continue;
        const QString titre = k < static_cast<int>(u.GBCanauxCaption.size())
                                  ? u.GBCanauxCaption[k]
                                  : QStringLiteral("Canal %1").arg(k);
        c.gbCanaux[k]->setTitle(titre);
        c.CBModeDiff[k]->setVisible(diffChoisi);
        c.CBModeDiff[k]->setToolTip(QStringLiteral("Cochez si vous voulez que le canal ") +
                                    titre.toLower() +
                                    QStringLiteral("\nsoit utilisé en mode différentiel"));
        c.CBModeDiff[k]->setChecked(k < static_cast<int>(u.canauxDiff.size()) && u.canauxDiff[k]);
    }
    QStringList calibres;
    for (int r = 0; r < u.nbCalEAKirvane && r < static_cast<int>(u.sCalibres.size()); ++r)
        calibres << u.sCalibres[r];
    for (int i = 0; i < 8; ++i) {
        const bool present = i < nbEAU;
        for (QWidget* w : std::initializer_list<QWidget*>{
                 c.LTitreVoies[i], c.CBVoiesActives[i], c.RGCalsEA[i], c.LValU1[i], c.LValUInd[i],
                 c.LEgale[i], c.EditValU[i], c.legendes[i]})
            w->setVisible(present);
        if (!present)
            continue;
        const QString nom = i < static_cast<int>(u.sEntrees.size()) ? u.sEntrees[i] : QString();
        c.LTitreVoies[i]->setText(nom);
        c.LTitreVoies[i]->setVisible(diffChoisi);
        QString bulle = QStringLiteral("Cochez si vous voulez activer l'entrée ") + nom;
        if (u.typeCentrale != CENTRALE_V6 && u.typeCentrale != CENTRALE_CAMPUS && i >= 4)
            bulle += QString::fromUtf8(
                "\nSi cette voie est activée, le temps \nd'échantillonnage minimal est de 2 µs");
        c.CBVoiesActives[i]->setToolTip(bulle);
        const bool active = i < static_cast<int>(u.VoiesX.size()) && u.VoiesX[i].active;
        c.CBVoiesActives[i]->setChecked(active);
        c.RGCalsEA[i]->setElements(calibres);
        c.RGCalsEA[i]->setItemIndex(i < static_cast<int>(u.VoiesX.size()) ? u.VoiesX[i].idxCalibreUt
                                                                          : 0);
        c.RGCalsEA[i]->setToolTip(QStringLiteral("Sélection du calibre de l'entrée ") + nom);
        c.LValU1[i]->setText(u.GetCapU(i));
        c.LValUInd[i]->setText(u.GetCapUInd(i));
        c.EditValU[i]->clear();
        c.EditValU[i]->setToolTip(
            QStringLiteral("Affiche la tension actuellement \nmesurée sur l'entrée") + nom);
    }
    // Trigger controls: the inputs that can trigger, threshold 0, no pretrigger.
    c.CBVoieSynchro->clear();
    for (int v : u.VoiesActivesSignaux)
        if (v >= 0 && v < static_cast<int>(u.sEntrees.size()))
            c.CBVoieSynchro->addItem(u.sEntrees[v]);
    c.CBVoieSynchro->setCurrentIndex(0);
    c.EditUSeuilDecl->setText(QStringLiteral("0"));
    c.CBPretrigX->setCurrentIndex(0);
    c.CBTypeDeclenchement->setCurrentIndex(std::clamp(u.modeDecl, 0, 2));
    c.RGSensDeclenchement->setElements({QStringLiteral("montant"), QStringLiteral("descendant")});
    c.RGSensDeclenchement->setItemIndex(u.sensDeclSeuil);
    c.iTe->setToolTip(texteInfoBulle(u.ITeHINT.toUtf8().constData()));
    // The duration and point lists.
    c.CBDureeTotale->clear();
    QStringList durees;
    for (double d = 1e-6; d < 999.0; d *= 10)
        for (double m : {1.0, 2.0, 5.0})
            durees << formatReel(3, 4, d * m) + QStringLiteral("s");
    durees << QStringLiteral("1000 s") << QStringLiteral("2000 s") << QStringLiteral("3600 s");
    const int premier = std::clamp(u.idxDureeTotaleMinKirvane, 0, 32);
    const int dernier = std::clamp(u.idxDureeTotaleMaxKirvane, premier, 32);
    c.CBDureeTotale->addItems(durees.mid(premier, dernier - premier + 1));
    c.CBDureeTotale->setEditText(formatReel(3, 4, u.dureeTotale0X) + QStringLiteral("s"));
    c.CBNbPoints->clear();
    int64_t maxPoints = 0;
    u.DetermineNBPt0XMAx(std::max(1, u.nbVoiesSignaux), maxPoints);
    for (int n : {11, 21, 51, 101, 201, 501, 1001, 2001, 5001, 10001, 20001, 50001})
        if (n < maxPoints)
            c.CBNbPoints->addItem(QString::number(n));
    if (maxPoints > 0)
        c.CBNbPoints->addItem(QString::number(maxPoints));
    c.CBNbPoints->setEditText(QString::number(u.nbPts0X));
}

void TFicheKirvaneMixte::preparerPanneauSansCentrale() {
    c.EditPresence->clear();
    for (int k = 0; k < 4; ++k) {
        c.gbCanaux[k]->setTitle(QStringLiteral(" Voie/Canal %1").arg(k + 1));
        c.gbCanaux[k]->show();
        c.CBModeDiff[k]->hide();
    }
    for (int i = 0; i < 8; ++i) {
        const bool montre = i < 4;
        c.LTitreVoies[i]->hide();
        for (QWidget* w : std::initializer_list<QWidget*>{c.CBVoiesActives[i], c.RGCalsEA[i],
                                                          c.LValU1[i], c.LValUInd[i], c.LEgale[i],
                                                          c.EditValU[i], c.legendes[i]})
            w->setVisible(montre);
        if (!montre)
            continue;
        c.CBVoiesActives[i]->setChecked(false);
        c.RGCalsEA[i]->setElements({QStringLiteral("-10V / +10V"), QStringLiteral("-5V / +5V")});
        c.RGCalsEA[i]->setItemIndex(0);
        c.LValU1[i]->setText(QStringLiteral("u"));
        c.LValUInd[i]->setText(QString::number(i + 1));
        c.EditValU[i]->setText(QStringLiteral(" 0,00 V"));
        c.EditValU[i]->setEnabled(false);
    }
    c.iTe->setToolTip(QString());
}

TFaitsFenetre TFicheKirvaneMixte::faits() {
    TFaitsFenetre f;
    f.nbVoiesMesurees = series.nbVoiesMesurees;
    f.OOInstalle = OOInstalle;
    f.LOInstalle = LOInstalle;
    f.msOfficeInstalle = msOfficeInstalle;
    f.nbCentralesGerees = static_cast<int>(c.SBCentrales_.size());
    f.PTableauVisible = PTableauVisible;
    if (TCentrale* u = centrales.SP5.get()) {
        f.memesParametresTemporels = u->memesParametresTemporels();
        f.ajoutPossible = series.ajoutPossible(*u);
        f.nbCanaux = std::clamp(u->nbCanauxUt, 0, 4);
        f.nbEAU = std::clamp(u->nbEAU, 0, 8);
        for (int i = 0; i < f.nbEAU && i < static_cast<int>(u->VoiesX.size()); ++i)
            f.voiesActives[i] = u->VoiesX[i].active;
        for (int k = 0; k < f.nbCanaux && k < static_cast<int>(u->canauxDiff.size()); ++k)
            f.canauxDiff[k] = u->canauxDiff[k];
    }
    return f;
}

void TFicheKirvaneMixte::setModeGeneral(int mode) {
    ::setModeGeneral(MODEGENERAL, etat, mode);
}

void TFicheKirvaneMixte::appliquerEtat() {
    const TEtatControles& e = etat;
    const std::pair<QWidget*, bool> simples[] = {
        {c.CBDureeTotale, e.CBDureeTotale},
        {c.CBNbPoints, e.CBNbPoints},
        {c.SBDureeTotalePlus, e.SBDureeTotalePlus},
        {c.SBDureeTotaleMoins, e.SBDureeTotaleMoins},
        {c.SBNbPointsPlus, e.SBNbPointsPlus},
        {c.SBNbPointsMoins, e.SBNbPointsMoins},
        {c.BAcquisitionPrecedente, e.BAcquisitionPrecedente},
        {c.CBTypeDeclenchement, e.CBTypeDeclenchement},
        {c.RGSensDeclenchement, e.RGSensDeclenchement},
        {c.CBVoieSynchro, e.CBVoieSynchro},
        {c.EditUSeuilDecl, e.EditUSeuilDecl},
        {c.CBPretrigX, e.CBPretrigX},
        {c.CBModePermanent, e.CBModePermanent},
        {c.CBAjouterCourbes, e.CBAjouterCourbes},
        {c.BAcquisition, e.BAcquisition},
        {c.SBNouveau, e.SBNouveau},
        {c.SBenregistrerRW3, e.SBenregistrerRW3},
        {c.SBenregistrerTXT, e.SBenregistrerTXT},
        {c.SBEnregistrerCSV, e.SBEnregistrerCSV},
        {c.SBTransfertDirectREG, e.SBTransfertDirectREG},
        {c.SBTransfertDirectExcel, e.SBTransfertDirectExcel},
        {c.SBtransfertDirectOOLO, e.SBtransfertDirectOOLO},
        {c.SBVoirTableau, e.SBVoirTableau},
        {c.SBOptions, e.SBOptions},
        {c.SBMesures, e.SBMesures},
    };
    for (const auto& [w, actif] : simples)
        w->setEnabled(actif);
    for (int i = 0; i < 8; ++i) {
        c.RGCalsEA[i]->setEnabled(e.RGCalsEA[i]);
        c.CBVoiesActives[i]->setEnabled(e.CBVoiesActives[i]);
    }
    for (int k = 0; k < 4; ++k) {
        c.CBModeDiff[k]->setEnabled(e.CBModeDiff[k]);
        c.gbCanaux[k]->setEnabled(e.gbCanaux[k]);
    }
    for (QToolButton* b : c.SBCentrales_)
        b->setEnabled(e.SBCentrales_);
}

void TFicheKirvaneMixte::relierBoutons() {
    for (const auto& [bouton, quel] : c.boutonsOutils())
        connect(bouton, &QToolButton::clicked, this, [this, q = quel] { clicOutil(q); });
    connect(c.SBRedRegVoies, &QToolButton::clicked, this,
            [this] { SBRedRegClick(c.SBRedRegVoies); });
    connect(c.SBRedRegTemp, &QToolButton::clicked, this, [this] { SBRedRegClick(c.SBRedRegTemp); });
}

TContexteOutils TFicheKirvaneMixte::contexteOutils() const {
    return {MODEGENERAL, series.enregistrerX, peutFermer};
}

void TFicheKirvaneMixte::clicOutil(TBoutonOutil bouton) {
    switch (bouton) {
    case TBoutonOutil::SBNouveau:
        sequences_.clicNouveau(contexteOutils());
        break;
    case TBoutonOutil::SBQuitter:
        sequences_.clicQuitter(contexteOutils());
        break;
    case TBoutonOutil::SBAproposDe:
        if (demarrage_.titre)
            demarrage_.titre->montrerAPropos();
        break;
    case TBoutonOutil::SBVoirTableau:
        PTableauVisible = c.SBVoirTableau->isChecked();
        c.SBVoirTableau->setToolTip(bulleVoirTableau(PTableauVisible));
        redimensionnement();
        break;
    default:
        break;
    }
}

void TFicheKirvaneMixte::Quitter() {
    bloqueTimerAcqDirecte = true;
    TimerAcqDir.stop();
    // Queued: the close request must not run inside the handler that asked for it.
    QTimer::singleShot(0, this, [this] { close(); });
}

void TFicheKirvaneMixte::closeEvent(QCloseEvent* e) {
    if (fermetureAccordee_ || sequences_.demandeFermeture(contexteOutils())) {
        fermetureAccordee_ = true;
        TimerPresenceSP5.stop();
        e->accept();
    } else {
        e->ignore();
    }
}

TReponse TFicheKirvaneMixte::demander(const QString& question, bool avecAnnuler) {
    return demarrage_.boites->demander(this, question, avecAnnuler);
}

void TFicheKirvaneMixte::avertir(const QString& message) {
    demarrage_.boites->avertir(this, message);
}

bool TFicheKirvaneMixte::enregistrerRW3() {
    // Saving measurements comes with the file writers; until then nothing is saved and the
    // caller keeps the measurements.
    return false;
}

void TFicheKirvaneMixte::RAZ() {
    if (centrales.SP5)
        series.RAZ(*centrales.SP5);
    setModeGeneral(MODE_VIERGE);
    desactiveBoutonsOutils(etat);
    if (centrales.SP5)
        activeComposantsAcqSimple(etat, faits());
    etat.SBNouveau = false;
    appliquerEtat();
}

void TFicheKirvaneMixte::arreterAcquisition() {
    if (centrales.SP5 && acquisitionEnCours(MODEGENERAL))
        centrales.SP5->arreteAcq();
}

void TFicheKirvaneMixte::ajouterLigneDemarrage(const QString& ligne) {
    if (demarrage_.titre)
        demarrage_.titre->ajouterLigneDemarrage(ligne);
}

void TFicheKirvaneMixte::afficherErreurChargement(const QString& texte) {
    demarrage_.boites->avertir(this, texte);
}

void TFicheKirvaneMixte::traiterMessages() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
}

void TFicheKirvaneMixte::TimerPresenceSP5Timer() {
    const TPresence p = centrales.pollPresence();
    if (p == TPresence::NonTestee)
        return;
    if (p == TPresence::Reconnectee)
        c.EditMessageX->clear();
    c.EditPresence->setText(centrales.textePresence());
    c.EditPresence->setCursorPosition(0);
    if (demarrage_.titre && centrales.SP5) {
        demarrage_.titre->setInterface(centrales.SP5->nomCentrale, centrales.SP5->numeroSerie);
        demarrage_.titre->setOngletInterfaceVisible(centrales.SP5Presente);
    }
}

void TFicheKirvaneMixte::finInitialisation() {
    initialisation = false;
    // Shown now: the frame is known, the layout takes the outer size.
    redimensionnement();
    if (demarrage_.titre) {
        if (centrales.nbCentralesGerees > 0) {
            demarrage_.titre->ajouterLigneDemarrage(QStringLiteral("Autres préparations... "));
            demarrage_.titre->ajouterLigneDemarrage(QString());
            demarrage_.titre->ajouterLigneDemarrage(QStringLiteral("Démarrage terminé"));
        }
        demarrage_.titre->demarrerDisparition(10);
    }
}

void TFicheKirvaneMixte::FormDestroy() {
    if (detruite_)
        return;
    detruite_ = true;
    TimerPresenceSP5.stop();
    TimerRedimGene.stop();
    TimerAcqDir.stop();
    if (centrales.SP5 && acquisitionEnCours(MODEGENERAL))
        centrales.SP5->arreteAcq();
    if (demarrage_.stock)
        reglages.ecrire(*demarrage_.stock);
    centrales.liberer();
    fichierParametres_.nettoyerALaSortie();
}
