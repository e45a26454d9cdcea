#include "fichekirvanemixteoptions.h"

#include "composantchoixcouleur.h"
#include "couleursqt.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

const char* const guideTransfertRegressi =
    "Le transfert vers REGRESSI se fait par l'intermédiaire d'un fichier placé dans le dossier "
    "\"Mes documents\": Kirvane crée ce fichier, puis demande à REGRESSI de l'ouvrir. Ce fichier "
    "utilisé pour le transfert est effacé lorsque vous quittez Kirvane.\r\n"
    "\r\n"
    "Si REGRESSI n'est pas actif au moment du transfert, il sera lancé avec comme document ouvert "
    "le fichier de données créé par Kirvane.\r\n"
    "\r\n"
    "Si REGRESSI est actif au moment du transfert, les modifications du document présent dans "
    "REGRESSI depuis son dernier enregistrement sont perdues: enregistrez ces modifications avant "
    "le transfert si vous souhaitez les conserver. \r\n"
    "\r\n"
    "a.  Si les grandeurs mesurées lors d'une acquisition (ou une série d'acquisitions) sont les "
    "mêmes que celles de l'acquisition (ou de la série d'acquisitions) précédemment transférée(s), "
    "et si la case \"une nouvelle page\" (ci-contre) est cochée, alors les mesures seront placées "
    "dans une nouvelle page du document REGRESSI correspondant au transfert précédent. \r\n"
    "\r\n"
    "- Les données déjà présentes dans les autres pages de ce document seront celles du transfert "
    "précédent.\r\n"
    "\r\n"
    "- Si vous avez modifié l'une des pages de ce document et si vous souhaitez conserver les "
    "modifications, pensez à enregistrer le document REGRESSI sous un nouveau nom avant de faire "
    "le transfert. Si vous enregistrez les modifications du document avec le même nom, le "
    "transfert ne se fera plus dans une nouvelle page mais dans un nouveau fichier indépendant.\r\n"
    "\r\n"
    "b.  Dans tous les autres cas, les données sont transférées dans REGRESSI sous forme de "
    "nouveau document. Enregistrez le document en cours si vous voulez conserver les "
    "modifications.";

const char* const guideTransfertExcel =
    "Si la case \"une nouvelle feuille\" (ci-contre) est cochée, et si EXCEL est actif, alors les "
    "mesures seront placées dans une nouvelle feuille du classeur actif. \r\n"
    "\r\n"
    "Si la case \"un nouveau classeur\" (ci-contre) est cochée, EXCEL crée un nouveau classeur et "
    "les mesures seront placées dans la page unique de ce classeur. \r\n"
    "\r\n"
    "Si Excel n'est pas actif, les mesures sont transférées dans un nouveau classeur qui sera "
    "ouvert dans EXCEL, quelle que soit l'option sélectionnée. \r\n"
    "\r\n"
    "Le transfert se fait par l'intermédiaire du presse-papiers dont la taille est relativement "
    "limitée. Si le nombre de valeurs à transmettre est raisonnable, (quelques séries de 1000 "
    "points ou moins), alors le transfert est quasi instantané car il peut se faire en une fois. "
    "\r\n"
    "\r\n"
    "Le transfert d'un grand nombre de valeurs nécessite plusieurs passages par le presse-papiers, "
    "ce qui peut prendre un peu de temps. On peut suivre la progression en haut et à droite de la "
    "fenêtre du programme.";

const char* const guideTransfertOOLO =
    "Si la case \"une nouvelle feuille\" (ci-contre) est cochée, et si Open/LibreOffice est actif, "
    "les mesures seront placées dans une nouvelle feuille du classeur actif. \r\n"
    "\r\n"
    "Si la case \"un nouveau classeur\" (ci-contre) est cochée, Open/LibreOffice crée un nouveau "
    "classeur et les mesures seront placées dans la page unique de ce classeur. \r\n"
    "\r\n"
    "Si Open/Libre n'est pas actif ou a été redémarré, les mesures sont transférées dans un "
    "nouveau classeur qui sera ouvert dans Open/Libre, quelle que soit l'option sélectionnée. \r\n"
    "\r\n"
    "Le transfert se fait par l'intermédiaire du presse-papiers dont la taille est relativement "
    "limitée. Si le nombre de valeurs à transmettre est raisonnable, (quelques séries de 1000 "
    "points ou moins), le transfert est quasi instantané car il peut se faire en une fois. \r\n"
    "\r\n"
    "Le transfert d'un grand nombre de valeurs nécessite plusieurs passages par le presse-papiers, "
    "ce qui peut prendre un peu de temps.";

namespace {

// "\n\r" and "\r\n" of the program's texts become one line break on screen.
QString lignes(const char* texte) {
    QString s = QString::fromUtf8(texte);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
    return s;
}

QPlainTextEdit* memo(QWidget* parent, const char* texte) {
    auto* m = new QPlainTextEdit(lignes(texte), parent);
    m->setReadOnly(true);
    return m;
}

QLabel* etiquette(const QString& texte, QWidget* parent) {
    auto* l = new QLabel(texte, parent);
    l->setWordWrap(true);
    return l;
}

// The three radio buttons of a transfer option, in a group of their own.
struct TroisBoutons {
    QRadioButton* nouveau;
    QRadioButton* page;
    QRadioButton* demander;
};

TroisBoutons troisBoutons(QWidget* parent, QVBoxLayout* cible, const char* nouveau,
                          const char* page) {
    auto* groupe = new QButtonGroup(parent);
    const TroisBoutons b{new QRadioButton(QString::fromUtf8(nouveau), parent),
                         new QRadioButton(QString::fromUtf8(page), parent),
                         new QRadioButton(QStringLiteral("demander à chaque fois"), parent)};
    // The new page / new sheet first, then the new document, as the page reads.
    cible->addWidget(etiquette(QStringLiteral("Transfert des mesures dans"), parent));
    cible->addWidget(b.page);
    cible->addWidget(etiquette(QStringLiteral("ou bien"), parent));
    cible->addWidget(b.nouveau);
    cible->addWidget(b.demander);
    for (QRadioButton* r : {b.nouveau, b.page, b.demander})
        groupe->addButton(r);
    return b;
}

void cocher(const TroisBoutons& b, int option) {
    switch (choixTransfert(option)) {
    case TChoixTransfert::NouvellePage:
        b.page->setChecked(true);
        break;
    case TChoixTransfert::Demander:
        b.demander->setChecked(true);
        break;
    case TChoixTransfert::NouveauDocument:
        b.nouveau->setChecked(true);
        break;
    }
}

int option(QRadioButton* nouveau, QRadioButton* page, QRadioButton* demander) {
    if (nouveau->isChecked())
        return optionTransfert(TChoixTransfert::NouveauDocument);
    if (page->isChecked())
        return optionTransfert(TChoixTransfert::NouvellePage);
    if (demander->isChecked())
        return optionTransfert(TChoixTransfert::Demander);
    return 0;
}

} // namespace

TFicheKirvaneMixteOptions::TFicheKirvaneMixteOptions(const QString& titreApplication,
                                                     QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(titreApplication + QStringLiteral(" - Préférences"));
    informer = [this](const QString& texte) {
        QMessageBox::information(this, QStringLiteral("Kirvane"), texte);
    };
    choisirCouleur = [this](TColor depart, const QString& titre) -> std::optional<TColor> {
        TComposantChoixCouleurCercleChro ccccc;
        ccccc.Setcouleur(depart);
        ccccc.fCouleur = depart;
        ccccc.fTitre = titre;
        if (!ccccc.execute(this))
            return std::nullopt;
        return ccccc.fCouleur;
    };
    choisirProgrammeRegressi = [this] {
        return QFileDialog::getOpenFileName(
            this, QString(), EditCheminVersionREG->text(),
            QStringLiteral("REGRESSI (*REGRESSI*.EXE *Regressi*.exe *regressi*.exe)"));
    };
    fichierExiste = [](const QString& chemin) {
        const QFileInfo f(chemin);
        return f.exists() && !f.isDir();
    };

    PCPreferences = new QTabWidget(this);
    PCPreferences->setUsesScrollButtons(true);
    PCPreferences->setElideMode(Qt::ElideNone);
    TSparametresTemporels = new QWidget;
    TSTransfertRegressi = new QWidget;
    TSTransfertEXCEL = new QWidget;
    TSTransfertOO = new QWidget;
    TSCouleurs = new QWidget;
    PCPreferences->addTab(TSparametresTemporels,
                          QStringLiteral("Paramètres temporels par défaut et autres"));
    PCPreferences->addTab(TSTransfertRegressi, QStringLiteral(" Transfert vers REGRESSI"));
    PCPreferences->addTab(TSTransfertEXCEL, QStringLiteral("Transfert vers EXCEL"));
    PCPreferences->addTab(TSTransfertOO, QStringLiteral("Transfert vers Open/LibreOffice Calc"));
    PCPreferences->addTab(TSCouleurs, QStringLiteral("Couleurs des courbes"));
    construirePageTemps();
    construirePageRegressi();
    construirePageExcel();
    construirePageOO();
    construirePageCouleurs();

    BOptionsOK = new QPushButton(QStringLiteral("Appliquer"), this);
    BOptionsAnnuler = new QPushButton(QStringLiteral("Annuler"), this);
    BOptionsOK->setAutoDefault(false);
    BOptionsAnnuler->setAutoDefault(false);
    connect(BOptionsOK, &QPushButton::clicked, this, &TFicheKirvaneMixteOptions::accept);
    connect(BOptionsAnnuler, &QPushButton::clicked, this, &TFicheKirvaneMixteOptions::reject);
    auto* boutons = new QHBoxLayout;
    boutons->addStretch(1);
    boutons->addWidget(BOptionsOK);
    boutons->addWidget(BOptionsAnnuler);
    auto* tout = new QVBoxLayout(this);
    tout->addWidget(PCPreferences, 1);
    tout->addLayout(boutons);
    resize(1100, 560); // the five tabs side by side
}

void TFicheKirvaneMixteOptions::construirePageTemps() {
    QWidget* page = TSparametresTemporels;
    auto* effacer = new QGroupBox(QStringLiteral(" Effacer ...  "), page);
    auto* le = new QVBoxLayout(effacer);
    le->addWidget(etiquette(QStringLiteral("En mode permanent, lorsque la durée totale est "
                                           "supérieure ou égale à 0,200 s, \"Kirvane\" peut :"),
                            effacer));
    RBEffacerTrame = new QRadioButton(effacer);
    RBNePasEffacerTrame = new QRadioButton(effacer);
    // Multi-line captions: a radio button with a wrapped label beside it.
    const std::pair<QRadioButton*, const char*> effacements[] = {
        {RBEffacerTrame, "effacer les valeurs et le graphe acquis lors du balayage précédent "
                         "dès le début du balayage courant"},
        {RBNePasEffacerTrame, "effacer les valeurs et le graphe progressivement, au fur et à "
                              "mesure de la récupération des valeurs"}};
    for (const auto& [bouton, texte] : effacements) {
        bouton->setAccessibleName(QString::fromUtf8(texte));
        auto* ligne = new QHBoxLayout;
        ligne->addWidget(bouton, 0, Qt::AlignTop);
        auto* l = etiquette(QString::fromUtf8(texte), effacer);
        l->setBuddy(bouton);
        l->setMinimumWidth(320);
        ligne->addWidget(l, 1);
        le->addLayout(ligne);
    }

    auto* temps = new QGroupBox(QStringLiteral(" Temps "), page);
    auto* lt = new QGridLayout(temps);
    CBDureeTotaledft = new QComboBox(temps);
    CBDureeTotaledft->setEditable(true);
    CBDureeTotaledft->setInsertPolicy(QComboBox::NoInsert);
    CBDureeTotaledft->lineEdit()->setMaxLength(12);
    CBDureeTotaledft->setToolTip(QStringLiteral("S&électionnez ici la durée totale "));
    CBNbPointsdft = new QComboBox(temps);
    CBNbPointsdft->setEditable(true);
    CBNbPointsdft->setInsertPolicy(QComboBox::NoInsert);
    CBNbPointsdft->lineEdit()->setMaxLength(6);
    BParametresActuels = new QPushButton(QStringLiteral("Paramètres actuels"), temps);
    BParametresActuels->setAutoDefault(false);
    BParametresActuels->setToolTip(QStringLiteral(
        "Utiliser les paramètres actuellement sélectionnés comme paramètres par défaut"));
    lt->addWidget(new QLabel(QStringLiteral("Durée totale"), temps), 0, 0);
    lt->addWidget(CBDureeTotaledft, 0, 1);
    lt->addWidget(new QLabel(QStringLiteral("Nombre de points"), temps), 1, 0);
    lt->addWidget(CBNbPointsdft, 1, 1);
    lt->addWidget(BParametresActuels, 2, 0, 1, 2);
    for (QComboBox* cb : {CBDureeTotaledft, CBNbPointsdft}) {
        cb->installEventFilter(this);
        cb->lineEdit()->installEventFilter(this);
        connect(cb, &QComboBox::activated, this, [this, cb] {
            if (cb == CBDureeTotaledft)
                sortieDuree();
            else
                sortieNbPoints();
        });
    }
    connect(BParametresActuels, &QPushButton::clicked, this, [this] {
        regles.parametresActuels();
        afficherIndexs();
    });

    GBPretrig = new QGroupBox(QStringLiteral(" Pretrig "), page);
    auto* lp = new QGridLayout(GBPretrig);
    lp->addWidget(etiquette(QStringLiteral("L'utilisation du pretrig n'a pas de sens lorsque "
                                           "les durées d'acquisition sont (très) longues. "
                                           "Sélectionner ci-contre la limite de la durée "
                                           "totale en-dessous de laquelle le pretrig doit être "
                                           "disponible."),
                            GBPretrig),
                  0, 0, 2, 1);
    CBSeuilPretrig = new QComboBox(GBPretrig);
    BtSeuilPretrigDefaut = new QPushButton(QStringLiteral("Valeur par défaut"), GBPretrig);
    BtSeuilPretrigDefaut->setAutoDefault(false);
    lp->addWidget(CBSeuilPretrig, 0, 1);
    lp->addWidget(BtSeuilPretrigDefaut, 1, 1);
    lp->setColumnStretch(0, 1);
    connect(CBSeuilPretrig, &QComboBox::activated, this, [this](int index) {
        regles.sortieSeuilPretrig(CBSeuilPretrig->itemText(index));
        afficherIndexs();
    });
    connect(BtSeuilPretrigDefaut, &QPushButton::clicked, this, [this] {
        regles.seuilPretrigDefaut();
        afficherIndexs();
    });

    auto* grille = new QGridLayout(page);
    grille->addWidget(effacer, 0, 0);
    grille->addWidget(temps, 0, 1);
    grille->addWidget(GBPretrig, 1, 0, 1, 2);
    grille->setRowStretch(2, 1);
    grille->setColumnStretch(0, 2);
    grille->setColumnStretch(1, 1);
}

void TFicheKirvaneMixteOptions::construirePageRegressi() {
    QWidget* page = TSTransfertRegressi;
    auto* gauche = new QVBoxLayout;
    const TroisBoutons b = troisBoutons(page, gauche, "un nouveau fichier", "une nouvelle page");
    RBTransfertREGNouveauFichier = b.nouveau;
    RBTransfertREGNouvellePage = b.page;
    RBTransfertREGDemander = b.demander;
    auto* version = new QGridLayout;
    CBREGDEfaut = new QCheckBox(QStringLiteral("par défaut"), page);
    BVersionRegressi = new QPushButton(QStringLiteral("Changer"), page);
    BVersionRegressi->setAutoDefault(false);
    EditCheminVersionREG = new QLineEdit(page);
    EditCheminVersionREG->setReadOnly(true);
    version->addWidget(new QLabel(QStringLiteral("Version de REGRESSI "), page), 0, 0);
    version->addWidget(CBREGDEfaut, 0, 1);
    version->addWidget(BVersionRegressi, 0, 2);
    version->addWidget(new QLabel(QStringLiteral("Chemin: "), page), 1, 0);
    version->addWidget(EditCheminVersionREG, 1, 1, 1, 2);
    gauche->addSpacing(12);
    gauche->addLayout(version);
    gauche->addStretch(1);
    MemoGuideTransfertRegressi = memo(page, guideTransfertRegressi);
    auto* h = new QHBoxLayout(page);
    h->addLayout(gauche, 2);
    h->addWidget(MemoGuideTransfertRegressi, 3);
    connect(BVersionRegressi, &QPushButton::clicked, this, [this] { clicVersionRegressi(); });
    connect(CBREGDEfaut, &QCheckBox::toggled, this, [this](bool c) { clicREGDefaut(c); });
}

void TFicheKirvaneMixteOptions::construirePageExcel() {
    QWidget* page = TSTransfertEXCEL;
    auto* gauche = new QVBoxLayout;
    const TroisBoutons b =
        troisBoutons(page, gauche, "un nouveau classeur", "une nouvelle feuille");
    RBTransfertEXCELNouveauClasseur = b.nouveau;
    RBTransfertEXCELNouvelleFeuille = b.page;
    RBTransfertEXCELDemander = b.demander;
    // The CSV files are what a spreadsheet opens besides a transfer: their separator lives
    // with the spreadsheet's options.
    auto* csv = new QGroupBox(QStringLiteral(" Fichiers CSV "), page);
    auto* lc = new QVBoxLayout(csv);
    lc->addWidget(etiquette(QStringLiteral("Séparateur décimal des fichiers CSV :"), csv));
    RBSeparateurCSVPoint = new QRadioButton(QStringLiteral("point (.)"), csv);
    RBSeparateurCSVVirgule = new QRadioButton(QStringLiteral("virgule (,)"), csv);
    lc->addWidget(RBSeparateurCSVPoint);
    lc->addWidget(RBSeparateurCSVVirgule);
    gauche->addSpacing(12);
    gauche->addWidget(csv);
    gauche->addStretch(1);
    MemoGuideTransfertExcel = memo(page, guideTransfertExcel);
    auto* h = new QHBoxLayout(page);
    h->addLayout(gauche, 2);
    h->addWidget(MemoGuideTransfertExcel, 3);
}

void TFicheKirvaneMixteOptions::construirePageOO() {
    QWidget* page = TSTransfertOO;
    auto* gauche = new QVBoxLayout;
    const TroisBoutons b =
        troisBoutons(page, gauche, "un nouveau classeur", "une nouvelle feuille");
    RBTransfertOONouveauClasseur = b.nouveau;
    RBTransfertOONouvelleFeuille = b.page;
    RBTransfertOODemander = b.demander;
    gauche->addStretch(1);
    MemoGuideTransfertOOLO = memo(page, guideTransfertOOLO);
    auto* h = new QHBoxLayout(page);
    h->addLayout(gauche, 2);
    h->addWidget(MemoGuideTransfertOOLO, 3);
}

void TFicheKirvaneMixteOptions::construirePageCouleurs() {
    QWidget* page = TSCouleurs;
    auto* titre = new QLabel(QStringLiteral("cliquez sur la couleur à modifier"), page);
    titre->move(90, 2);
    for (int i = 0; i < 4; ++i) {
        gbCanaux[i] = new QGroupBox(QStringLiteral(" Canal %1 ").arg(i), page);
        gbCanaux[i]->setGeometry(90, i * 42 + 20, 380, 36);
    }
    for (int i = 0; i < 8; ++i) {
        QGroupBox* g = gbCanaux[i % 4];
        lbs[i] = new QLabel(QStringLiteral("Voie EA%1").arg(i), g);
        lbs[i]->setGeometry((i / 4) * 180 + 55, 13, 80, 18);
        pCVoies[i] = new QPushButton(g);
        pCVoies[i]->setGeometry((i / 4) * 180 + 110, 13, 80, 18);
        pCVoies[i]->setProperty("tag", i);
        pCVoies[i]->setAutoDefault(false);
        pCVoies[i]->setCursor(Qt::PointingHandCursor);
        pCVoies[i]->setToolTip(lignes(
            (QStringLiteral("Cliquez ici pour modifier la couleur des courbes des \n\rtensions "
                            "acquises sur l'entrée EA") +
             QString::number(i))
                .toUtf8()
                .constData()));
        connect(pCVoies[i], &QPushButton::clicked, this, [this, i] { clicCouleur(i); });
    }
    CBCouleursRegressi = new QCheckBox(page);
    CBEnregistrerCouleurs = new QCheckBox(page);
    BReinitialiserCouleurs = new QPushButton(QStringLiteral("Réinitialiser"), page);
    BReinitialiserCouleurs->setAutoDefault(false);
    // Multi-line captions: the box with a wrapped label beside it.
    const std::tuple<QCheckBox*, const char*, int, int> cases[] = {
        {CBCouleursRegressi,
         "Utiliser comme couleurs des courbes dans REGRESSI les couleurs des courbes de Kirvane",
         20, 320},
        {CBEnregistrerCouleurs, "Utiliser les nouvelles couleurs au prochain démarrage de Kirvane ",
         20 + 52, 240}};
    for (const auto& [boite, texte, haut, largeur] : cases) {
        boite->setAccessibleName(QString::fromUtf8(texte));
        boite->setGeometry(500, haut, 20, 20);
        auto* l = etiquette(QString::fromUtf8(texte), page);
        l->setBuddy(boite);
        l->setGeometry(522, haut, largeur, 45);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    BReinitialiserCouleurs->setGeometry(90, 4 * 42 + 30, 120, 28);
    connect(BReinitialiserCouleurs, &QPushButton::clicked, this, [this] {
        for (int i = 0; i < 8; ++i)
            colorerPanneau(i, clsV0_[i]);
    });
}

void TFicheKirvaneMixteOptions::colorerPanneau(int i, TColor c) {
    couleursPanneaux[i] = c;
    pCVoies[i]->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; border: 1px "
                                             "solid #808080; }")
                                  .arg(versQColor(c).name()));
}

void TFicheKirvaneMixteOptions::preparer(const TValeursPreferences& valeurs,
                                         const TUnitePreferences& unite, const QStringList& durees,
                                         const QStringList& nbPoints,
                                         const QString& cheminOfficielREGRESSI) {
    regles.v = valeurs;
    regles.unite = unite;
    regles.itemsDurees = durees;
    regles.itemsNbPoints = nbPoints;
    regles.itemsSeuilsPretrig = durees.mid(18); // from "1 s" on
    cheminOfficielREGRESSI_ = cheminOfficielREGRESSI;
    clsV0_ = valeurs.clsV0;
    DureeTotaleDFT0 = valeurs.DureeTotaleDFT;
    NbPtsDFT0 = valeurs.NbPtsDFT;

    CBDureeTotaledft->clear();
    CBDureeTotaledft->addItems(durees);
    CBNbPointsdft->clear();
    CBNbPointsdft->addItems(nbPoints);
    CBSeuilPretrig->clear();
    CBSeuilPretrig->addItems(regles.itemsSeuilsPretrig);

    (valeurs.optionEffaceTrame ? RBEffacerTrame : RBNePasEffacerTrame)->setChecked(true);
    GBPretrig->setVisible(unite.pretrigDispo);
    cocher({RBTransfertREGNouveauFichier, RBTransfertREGNouvellePage, RBTransfertREGDemander},
           valeurs.optionTransfertREGRESSI);
    cocher({RBTransfertEXCELNouveauClasseur, RBTransfertEXCELNouvelleFeuille,
            RBTransfertEXCELDemander},
           valeurs.optionTransfertEXCEL);
    cocher({RBTransfertOONouveauClasseur, RBTransfertOONouvelleFeuille, RBTransfertOODemander},
           valeurs.optionTransfertOOo);
    (valeurs.optionSeparateurCSV == 1 ? RBSeparateurCSVVirgule : RBSeparateurCSVPoint)
        ->setChecked(true);

    bloqueCBREGDefaut = true;
    CBREGDEfaut->setChecked(valeurs.versionRegressiDefaut);
    EditCheminVersionREG->setText(valeurs.versionRegressiDefaut ? QString()
                                                                : valeurs.cheminREGRESSINonDefautX);
    bloqueCBREGDefaut = false;
    CBREGDEfaut->setEnabled(!cheminOfficielREGRESSI.isEmpty());

    CBCouleursRegressi->setChecked(valeurs.OptionCouleursRegressi == 1);
    CBEnregistrerCouleurs->setChecked(valeurs.enregistrerCouleurs);
    for (int i = 0; i < 8; ++i)
        colorerPanneau(i, valeurs.clsVX[i]);

    regles.prepareIndexs();
    afficherIndexs();
    PCPreferences->setCurrentIndex(0);
}

void TFicheKirvaneMixteOptions::afficherIndexs() {
    const std::pair<QComboBox*, std::pair<int, QString>> listes[] = {
        {CBDureeTotaledft, {regles.indexDuree, regles.texteDuree}},
        {CBNbPointsdft, {regles.indexNbPoints, regles.texteNbPoints}}};
    for (const auto& [cb, choix] : listes) {
        const QSignalBlocker bloque(cb);
        cb->setCurrentIndex(choix.first);
        cb->setEditText(choix.second);
    }
    const QSignalBlocker bloque(CBSeuilPretrig);
    CBSeuilPretrig->setCurrentIndex(regles.indexSeuilPretrig);
}

bool TFicheKirvaneMixteOptions::sortieDuree() {
    if (dansSortie_)
        return true;
    dansSortie_ = true;
    const QString message = regles.sortieDuree(CBDureeTotaledft->currentText());
    afficherIndexs();
    if (!message.isEmpty()) {
        informer(message);
        CBDureeTotaledft->setFocus();
    }
    dansSortie_ = false;
    return message.isEmpty();
}

bool TFicheKirvaneMixteOptions::sortieNbPoints() {
    if (dansSortie_)
        return true;
    dansSortie_ = true;
    const QString message = regles.sortieNbPoints(CBNbPointsdft->currentText());
    afficherIndexs();
    if (!message.isEmpty()) {
        informer(message);
        CBNbPointsdft->setFocus();
    }
    dansSortie_ = false;
    return message.isEmpty();
}

bool TFicheKirvaneMixteOptions::eventFilter(QObject* objet, QEvent* e) {
    const bool duree = objet == CBDureeTotaledft || objet == CBDureeTotaledft->lineEdit();
    const bool points = objet == CBNbPointsdft || objet == CBNbPointsdft->lineEdit();
    if (!duree && !points)
        return QDialog::eventFilter(objet, e);
    if (e->type() == QEvent::KeyPress) {
        const int touche = static_cast<QKeyEvent*>(e)->key();
        if (touche == Qt::Key_Return || touche == Qt::Key_Enter) {
            // Enter leaves the field for the other one (and does not close the dialog).
            (duree ? static_cast<QWidget*>(CBNbPointsdft) : CBDureeTotaledft)->setFocus();
            return true;
        }
    } else if (e->type() == QEvent::FocusOut && isVisible()) {
        const auto raison = static_cast<QFocusEvent*>(e)->reason();
        // The focus going to the list's own pop-up or to a message box is not leaving.
        if (raison != Qt::PopupFocusReason && raison != Qt::ActiveWindowFocusReason &&
            objet != (duree ? static_cast<QObject*>(CBDureeTotaledft->lineEdit())
                            : CBNbPointsdft->lineEdit())) {
            if (duree)
                sortieDuree();
            else
                sortieNbPoints();
        }
    }
    return QDialog::eventFilter(objet, e);
}

void TFicheKirvaneMixteOptions::accept() {
    // The texts typed and not yet left are read now; a refused one keeps the dialog open.
    if (CBDureeTotaledft->currentText() != regles.texteDuree && !sortieDuree())
        return;
    if (CBNbPointsdft->currentText() != regles.texteNbPoints && !sortieNbPoints())
        return;
    QDialog::accept();
}

void TFicheKirvaneMixteOptions::reject() {
    regles.v.NbPtsDFT = NbPtsDFT0;
    regles.v.DureeTotaleDFT = DureeTotaleDFT0;
    QDialog::reject();
}

TValeursPreferences TFicheKirvaneMixteOptions::valeurs() const {
    TValeursPreferences v = regles.v;
    v.optionEffaceTrame = RBEffacerTrame->isChecked();
    v.optionTransfertREGRESSI =
        option(RBTransfertREGNouveauFichier, RBTransfertREGNouvellePage, RBTransfertREGDemander);
    v.optionTransfertEXCEL = option(RBTransfertEXCELNouveauClasseur,
                                    RBTransfertEXCELNouvelleFeuille, RBTransfertEXCELDemander);
    v.optionTransfertOOo =
        option(RBTransfertOONouveauClasseur, RBTransfertOONouvelleFeuille, RBTransfertOODemander);
    v.optionSeparateurCSV = RBSeparateurCSVVirgule->isChecked() ? 1 : 0;
    v.OptionCouleursRegressi = CBCouleursRegressi->isChecked() ? 1 : 0;
    v.enregistrerCouleurs = CBEnregistrerCouleurs->isChecked();
    v.clsVX = couleursPanneaux;
    const TRegressiChoisi r = regressi();
    v.versionRegressiDefaut = r.versionRegressiDefaut;
    v.cheminREGRESSINonDefautX = r.cheminREGRESSINonDefautX;
    return v;
}

TRegressiChoisi TFicheKirvaneMixteOptions::regressi() const {
    return regressiChoisi(CBREGDEfaut->isChecked(), EditCheminVersionREG->text(),
                          regles.v.cheminREGRESSINonDefautX, cheminOfficielREGRESSI_,
                          fichierExiste);
}

void TFicheKirvaneMixteOptions::clicCouleur(int i) {
    if (i < 0 || i >= 8 || !choisirCouleur)
        return;
    const std::optional<TColor> c =
        choisirCouleur(couleursPanneaux[i],
                       QStringLiteral("Couleur de la courbe de la voie EA") + QString::number(i));
    // A colour confirmed unchanged keeps its stored value (top byte included).
    if (c && (*c & 0xFFFFFFu) != (couleursPanneaux[i] & 0xFFFFFFu))
        colorerPanneau(i, *c);
}

void TFicheKirvaneMixteOptions::clicVersionRegressi() {
    if (bloqueCBREGDefaut)
        return;
    const QString choisi = choisirProgrammeRegressi ? choisirProgrammeRegressi() : QString();
    if (!choisi.isEmpty()) {
        EditCheminVersionREG->setText(choisi);
        bloqueCBREGDefaut = true;
        CBREGDEfaut->setChecked(false);
        bloqueCBREGDefaut = false;
    }
    if (!EditCheminVersionREG->text().isEmpty() && !fichierExiste(EditCheminVersionREG->text())) {
        bloqueCBREGDefaut = true;
        CBREGDEfaut->setChecked(true);
        bloqueCBREGDefaut = false;
        EditCheminVersionREG->clear();
    }
}

void TFicheKirvaneMixteOptions::clicREGDefaut(bool coche) {
    if (bloqueCBREGDefaut)
        return;
    bloqueCBREGDefaut = true;
    if (coche)
        EditCheminVersionREG->clear();
    else
        CBREGDEfaut->setChecked(true); // only "Changer" leaves the default place
    bloqueCBREGDefaut = false;
}
