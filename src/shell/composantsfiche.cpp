#include "composantsfiche.h"

#include "disposition.h"

#include <QButtonGroup>
#include <QVBoxLayout>

TGroupeRadio::TGroupeRadio(const QString& titre, QWidget* parent) : QGroupBox(titre, parent) {}

void TGroupeRadio::setElements(const QStringList& textes) {
    const int ancien = itemIndex();
    for (QRadioButton* b : boutons_)
        delete b;
    boutons_.clear();
    for (int i = 0; i < textes.size(); ++i) {
        auto* b = new QRadioButton(textes[i], this);
        connect(b, &QRadioButton::clicked, this, [this, i] { emit clique(i); });
        b->show();
        boutons_.push_back(b);
    }
    setItemIndex(ancien);
    // The buttons share the box's height evenly below its title.
    const int n = static_cast<int>(boutons_.size());
    const int haut = fontMetrics().height() + 2;
    const int pas = n > 0 ? std::max(1, (height() - haut - 4) / n) : 0;
    for (int i = 0; i < n; ++i)
        boutons_[i]->setGeometry(6, haut + i * pas, std::max(10, width() - 10), pas);
}

int TGroupeRadio::itemIndex() const {
    for (size_t i = 0; i < boutons_.size(); ++i)
        if (boutons_[i]->isChecked())
            return static_cast<int>(i);
    return -1;
}

void TGroupeRadio::setItemIndex(int i) {
    for (size_t k = 0; k < boutons_.size(); ++k)
        boutons_[k]->setChecked(static_cast<int>(k) == i);
}

namespace {

void construireMesures(TComposantsFiche& c);

QToolButton* boutonOutil(QWidget* parent, const char* nom) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(nom));
    b->setAutoRaise(true);
    return b;
}

QLabel* etiquette(QWidget* parent, const QString& texte, const char* nom) {
    auto* l = new QLabel(texte, parent);
    l->setObjectName(QString::fromLatin1(nom));
    return l;
}

QFrame* panneau(QWidget* parent, const char* nom) {
    auto* p = new QFrame(parent);
    p->setObjectName(QString::fromLatin1(nom));
    return p;
}

void construireOutils(TComposantsFiche& c, QWidget* racine) {
    c.PBoutons = panneau(racine, "PBoutons");
    c.PBoutons->setFrameShape(QFrame::StyledPanel);
    c.SBNouveau = boutonOutil(c.PBoutons, "SBNouveau");
    c.SBenregistrerRW3 = boutonOutil(c.PBoutons, "SBenregistrerRW3");
    c.SBenregistrerTXT = boutonOutil(c.PBoutons, "SBenregistrerTXT");
    c.SBEnregistrerCSV = boutonOutil(c.PBoutons, "SBEnregistrerCSV");
    c.SBTransfertDirectREG = boutonOutil(c.PBoutons, "SBTransfertDirectREG");
    c.SBTransfertDirectExcel = boutonOutil(c.PBoutons, "SBTransfertDirectExcel");
    c.SBtransfertDirectOOLO = boutonOutil(c.PBoutons, "SBtransfertDirectOOLO");
    c.SBMesures = boutonOutil(c.PBoutons, "SBMesures");
    c.SBMesures->setCheckable(true);
    c.SBVoirTableau = boutonOutil(c.PBoutons, "SBVoirTableau");
    c.SBVoirTableau->setCheckable(true);
    c.SBOptions = boutonOutil(c.PBoutons, "SBOptions");
    c.SBAproposDe = boutonOutil(c.PBoutons, "SBAproposDe");
    c.SBQuitter = boutonOutil(c.PBoutons, "SBQuitter");

    c.PPointage = panneau(c.PBoutons, "PPointage");
    c.LSerie = etiquette(c.PPointage, QStringLiteral("Série "), "LSerie");
    c.EditSerieP = new QLineEdit(c.PPointage);
    c.EditSerieP->setReadOnly(true);
    c.Lpoint = etiquette(c.PPointage, QStringLiteral("Point"), "Lpoint");
    c.EditPointP = new QLineEdit(c.PPointage);
    c.EditPointP->setReadOnly(true);

    c.Panel2 = panneau(c.PBoutons, "Panel2");
    c.EditMessageX = new QLineEdit(c.Panel2);
    c.EditMessageX->setObjectName(QStringLiteral("EditMessageX"));
    c.EditMessageX->setReadOnly(true);
    c.EditPresence = new QLineEdit(c.Panel2);
    c.EditPresence->setObjectName(QStringLiteral("EditPresence"));
    c.EditPresence->setReadOnly(true);
    c.PBarExcel = new QProgressBar(c.Panel2);
    c.PBarExcel->hide();
}

void construireReglages(TComposantsFiche& c, QWidget* racine) {
    c.panelParametres = panneau(racine, "panelParametres");
    c.panelParametres->setFrameShape(QFrame::StyledPanel);
    c.PTitreReglagesTemporels = panneau(c.panelParametres, "PTitreReglagesTemporels");
    c.PTitreReglagesTemporels->setAutoFillBackground(true);
    QPalette rouge = c.PTitreReglagesTemporels->palette();
    rouge.setColor(QPalette::Window, QColor(255, 0, 0));
    c.PTitreReglagesTemporels->setPalette(rouge);
    c.SBRedRegTemp = boutonOutil(c.PTitreReglagesTemporels, "SBRedRegTemp");
    c.SBRedRegTemp->setText(QStringLiteral(" ►"));
    c.LReglages = etiquette(c.PTitreReglagesTemporels, QStringLiteral("Réglages"), "LReglages");

    c.ScrollBox1 = new QScrollArea(c.panelParametres);
    c.ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    c.ScrollBox1->setFrameShape(QFrame::NoFrame);
    c.PanelMesuresPeriodiques = panneau(nullptr, "PanelMesuresPeriodiques");
    c.ScrollBox1->setWidget(c.PanelMesuresPeriodiques);
    c.ScrollBox1->setWidgetResizable(false);
    QWidget* p = c.PanelMesuresPeriodiques;

    c.GBParametresTemporels = new QGroupBox(QStringLiteral("Paramètres temporels"), p);
    QWidget* t = c.GBParametresTemporels;
    c.LDureeTotale = etiquette(t, QStringLiteral("Durée totale"), "LDureeTotale");
    c.CBDureeTotale = new QComboBox(t);
    c.CBDureeTotale->setObjectName(QStringLiteral("CBDureeTotale"));
    c.CBDureeTotale->setEditable(true);
    c.SBDureeTotalePlus = boutonOutil(t, "SBDureeTotalePlus");
    c.SBDureeTotaleMoins = boutonOutil(t, "SBDureeTotaleMoins");
    c.LNombreDePoints = etiquette(t, QStringLiteral("Nombre de points"), "LNombreDePoints");
    c.CBNbPoints = new QComboBox(t);
    c.CBNbPoints->setObjectName(QStringLiteral("CBNbPoints"));
    c.CBNbPoints->setEditable(true);
    c.SBNbPointsPlus = boutonOutil(t, "SBNbPointsPlus");
    c.SBNbPointsMoins = boutonOutil(t, "SBNbPointsMoins");
    c.LabelTe = etiquette(t, QStringLiteral("Intervalle:"), "LabelTe");
    c.iTe = etiquette(t, QString(), "iTe");
    c.BAcquisitionPrecedente = new QPushButton(QStringLiteral("Acquisition précédente"), t);
    c.BAcquisitionPrecedente->setObjectName(QStringLiteral("BAcquisitionPrecedente"));

    c.GBDeclenchement = new QGroupBox(QStringLiteral("Déclenchement"), p);
    QWidget* d = c.GBDeclenchement;
    c.LType = etiquette(d, QStringLiteral("Type"), "LType");
    c.CBTypeDeclenchement = new QComboBox(d);
    c.CBTypeDeclenchement->setObjectName(QStringLiteral("CBTypeDeclenchement"));
    c.CBTypeDeclenchement->addItems(
        {QStringLiteral("manuel"), QStringLiteral("sur seuil"), QStringLiteral("externe")});
    c.RGSensDeclenchement = new TGroupeRadio(QStringLiteral("Sens"), d);
    c.RGSensDeclenchement->setObjectName(QStringLiteral("RGSensDeclenchement"));
    c.LVoieDecl = etiquette(d, QStringLiteral("Voie"), "LVoieDecl");
    c.CBVoieSynchro = new QComboBox(d);
    c.CBVoieSynchro->setObjectName(QStringLiteral("CBVoieSynchro"));
    c.LSeuil = etiquette(d, QStringLiteral("Seuil"), "LSeuil");
    c.EditUSeuilDecl = new QLineEdit(d);
    c.EditUSeuilDecl->setObjectName(QStringLiteral("EditUSeuilDecl"));
    c.LPretrig = etiquette(d, QStringLiteral("Pré-trig"), "LPretrig");
    c.CBPretrigX = new QComboBox(d);
    c.CBPretrigX->setObjectName(QStringLiteral("CBPretrigX"));
    c.CBPretrigX->addItems({QStringLiteral("0 %"), QStringLiteral("25%"), QStringLiteral("50%"),
                            QStringLiteral("75%"), QStringLiteral("100%")});

    c.CBAjouterCourbes = new QCheckBox(QStringLiteral("Ajouter les courbes"), p);
    c.CBAjouterCourbes->setObjectName(QStringLiteral("CBAjouterCourbes"));
    c.CBModePermanent = new QCheckBox(QStringLiteral("Mode permanent"), p);
    c.CBModePermanent->setObjectName(QStringLiteral("CBModePermanent"));
    c.BAcquisition = new QPushButton(QStringLiteral("Démarrer l'acquisition"), p);
    c.BAcquisition->setObjectName(QStringLiteral("BAcquisition"));
}

void construireVoies(TComposantsFiche& c, QWidget* racine) {
    c.PanelVoies = panneau(racine, "PanelVoies");
    c.PanelVoies->setFrameShape(QFrame::StyledPanel);
    c.LPatience = etiquette(c.PanelVoies, QStringLiteral("La patience est la clé du paradis..."),
                            "LPatience");
    c.LPatience->setAlignment(Qt::AlignCenter);
    c.SBRedRegVoies = boutonOutil(c.PanelVoies, "SBRedRegVoies");
    c.SBRedRegVoies->setText(QStringLiteral("  ▼"));
    c.ScrBoxVoies = new QScrollArea(c.PanelVoies);
    c.ScrBoxVoies->setObjectName(QStringLiteral("ScrBoxVoies"));
    c.contenuVoies = new QWidget;
    c.ScrBoxVoies->setWidget(c.contenuVoies);
    c.ScrBoxVoies->setWidgetResizable(false);
    QFont etroite(QString::fromLatin1(POLICE_VOIES));
    for (int k = 0; k < 4; ++k) {
        c.gbCanaux[k] = new QGroupBox(c.contenuVoies);
        c.gbCanaux[k]->setObjectName(QStringLiteral("gbCanaux%1").arg(k));
        c.gbCanaux[k]->setFont(etroite);
        c.CBModeDiff[k] = new QCheckBox(QStringLiteral("mode différentiel"), c.gbCanaux[k]);
        c.CBModeDiff[k]->setObjectName(QStringLiteral("CBModeDiff%1").arg(k));
    }
    for (int i = 0; i < 8; ++i) {
        QGroupBox* g = c.gbCanaux[i % 4];
        c.LTitreVoies[i] = etiquette(g, QString(), "LTitreVoies");
        QFont gras = c.LTitreVoies[i]->font();
        gras.setBold(true);
        c.LTitreVoies[i]->setFont(gras);
        c.CBVoiesActives[i] = new QCheckBox(QStringLiteral("Activée"), g);
        c.CBVoiesActives[i]->setObjectName(QStringLiteral("CBVoiesActives%1").arg(i));
        c.RGCalsEA[i] = new TGroupeRadio(QStringLiteral(" calibre (V) "), g);
        c.RGCalsEA[i]->setObjectName(QStringLiteral("RGCalsEA%1").arg(i));
        c.LValU1[i] = etiquette(g, QString(), "LValU1");
        c.LValU1[i]->setFont(gras);
        c.LValUInd[i] = etiquette(g, QString(), "LValUInd");
        c.LEgale[i] = etiquette(g, QStringLiteral("="), "LEgale");
        c.EditValU[i] = new QLineEdit(g);
        c.EditValU[i]->setObjectName(QStringLiteral("EditValU%1").arg(i));
        c.EditValU[i]->setReadOnly(true);
        c.EditValU[i]->setFocusPolicy(Qt::NoFocus);
        c.legendes[i] = etiquette(g, QString(), "legendes");
    }
    c.PanelMesuresSurEcran = panneau(c.contenuVoies, "PanelMesuresSurEcran");
    c.PanelMesuresSurEcran->hide();
    construireMesures(c);
}

QLineEdit* caseLecture(QWidget* parent, const char* nom, const char* bulle) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(nom));
    e->setReadOnly(true);
    e->setToolTip(texteInfoBulle(bulle));
    return e;
}

QLabel* libelle(QWidget* parent, const char* texte, const char* nom, const char* bulle) {
    QLabel* l = etiquette(parent, QString::fromUtf8(texte), nom);
    if (bulle)
        l->setToolTip(texteInfoBulle(bulle));
    return l;
}

// The measurement panel: the two red instants and the two red levels of the graph.
void construireMesures(TComposantsFiche& c) {
    QFrame* p = c.PanelMesuresSurEcran;
    p->setFrameShape(QFrame::Panel);
    p->setAutoFillBackground(true);
    c.BFermerMesuresSurEcran = new QPushButton(QStringLiteral("Fermer"), p);
    c.BFermerMesuresSurEcran->setObjectName(QStringLiteral("BFermerMesuresSurEcran"));
    static constexpr const char* b1 =
        "Indique l'instant correspondant à la position\n\rdu curseur vertical de gauche";
    static constexpr const char* b2 =
        "Indique l'instant correspondant à la position\n\rdu curseur vertical de droite";
    static constexpr const char* bMax =
        "Indique la valeur correspondant à la position\n\rdu curseur horizontal du haut";
    static constexpr const char* bMin =
        "Indique la valeur correspondant à la position\n\rdu curseur horizontal du bas";
    static constexpr const char* bAxe =
        "Sélection de l'axe vertical sur lequel  \n\rportent les mesures de tension";
    c.GBMesureTemps = new QGroupBox(QStringLiteral("Intervalle de temps"), p);
    c.GBMesureTemps->setObjectName(QStringLiteral("GBMesureTemps"));
    QGroupBox* t = c.GBMesureTemps;
    c.LInstant1 = libelle(t, "Instant 1 : ", "LInstant1", b1);
    c.LInstant2 = libelle(t, "Instant 2 : ", "LInstant2", b2);
    c.LIntervallet = libelle(t, "Intervalle : ", "LIntervallet", nullptr);
    c.EditT0M = caseLecture(t, "EditT0M", b1);
    c.EditTFM = caseLecture(t, "EditTFM", b2);
    c.EditDTM = caseLecture(t, "EditDTM",
                            "Indique l'intervalle de temps entre les deux\n\rcurseurs verticaux");
    c.GBMesureU = new QGroupBox(QStringLiteral("Tension"), p);
    c.GBMesureU->setObjectName(QStringLiteral("GBMesureU"));
    QGroupBox* u = c.GBMesureU;
    c.LUMax = libelle(u, "Max :", "LUMax", bMax);
    c.LUMin = libelle(u, "Min :", "LUMin", bMin);
    c.LIntervalleU = libelle(u, "Intervalle : ", "LIntervalleU", nullptr);
    c.LAxeVertical = libelle(u, "Axe vertical des mesures", "LAxeVertical", bAxe);
    c.LAxeVertical->setWordWrap(true);
    c.EditUmaxM = caseLecture(u, "EditUmaxM", bMax);
    c.EditUMinM = caseLecture(u, "EditUMinM", bMin);
    c.EditDUM = caseLecture(
        u, "EditDUM", "Indique l'intervalle de tension entre les \n\rdeux curseurs horizontaux");
    c.CBAxes = new QComboBox(u);
    c.CBAxes->setObjectName(QStringLiteral("CBAxes"));
    c.CBAxes->setToolTip(texteInfoBulle(bAxe));
}

QToolButton* boutonZoom(QWidget* parent, const char* texte, const char* nom, TBoutonOutil b) {
    QToolButton* z = boutonOutil(parent, nom);
    z->setText(QString::fromLatin1(texte));
    z->setAutoRaise(false);
    z->setToolTip(infoBulle(b));
    z->setEnabled(false);
    return z;
}

void construireEcran(TComposantsFiche& c, QWidget* racine) {
    c.PanelEcranTab = panneau(racine, "PanelEcranTab");
    c.PEcran = new QWidget(c.PanelEcranTab);
    c.PEcran->setObjectName(QStringLiteral("PEcran"));
    c.PEcran->setAutoFillBackground(true);
    QPalette blanc = c.PEcran->palette();
    blanc.setColor(QPalette::Window, Qt::white);
    c.PEcran->setPalette(blanc);
    c.iEcranX = new TVueImage(c.PEcran);
    c.iEcranX->setObjectName(QStringLiteral("iEcranX"));
    c.PanelSBH = panneau(c.PEcran, "PanelSBH");
    c.SBZoomMoinsH = boutonZoom(c.PanelSBH, "-", "SBZoomMoinsH", TBoutonOutil::SBZoomMoinsH);
    c.SBZoomPlusH = boutonZoom(c.PanelSBH, "+", "SBZoomPlusH", TBoutonOutil::SBZoomPlusH);
    c.SBHor = new QScrollBar(Qt::Horizontal, c.PanelSBH);
    c.SBHor->setObjectName(QStringLiteral("SBHor"));
    c.PanelSBV = panneau(c.PEcran, "PanelSBV");
    c.SBZoomPlusV = boutonZoom(c.PanelSBV, "+", "SBZoomPlusV", TBoutonOutil::SBZoomPlusV);
    c.SBZoomMoinsV = boutonZoom(c.PanelSBV, "-", "SBZoomMoinsV", TBoutonOutil::SBZoomMoinsV);
    c.SBVert = new QScrollBar(Qt::Vertical, c.PanelSBV);
    c.SBVert->setObjectName(QStringLiteral("SBVert"));
    // Positions 0..1000 from the start of the series; −1000..1000 around the centre.
    c.SBHor->setRange(0, 1000);
    c.SBVert->setRange(-1000, 1000);
    for (QScrollBar* b : {c.SBHor, c.SBVert}) {
        b->setSingleStep(10);
        b->setEnabled(false);
    }
    c.Splitter1 = panneau(c.PanelEcranTab, "Splitter1");
    c.Splitter1->setCursor(Qt::SplitHCursor);
    c.Splitter1->hide();
    c.PTableau = panneau(c.PanelEcranTab, "PTableau");
    c.PTableau->hide();
    auto* remplissage = new QVBoxLayout(c.PTableau);
    remplissage->setContentsMargins(0, 0, 0, 0);
    c.SGMesures = new TGrilleMesures(c.PTableau);
    remplissage->addWidget(c.SGMesures);
}

} // namespace

void construireComposants(TComposantsFiche& c, QWidget* racine) {
    construireOutils(c, racine);
    construireReglages(c, racine);
    construireVoies(c, racine);
    construireEcran(c, racine);
}

std::array<std::pair<QToolButton*, TBoutonOutil>, 12> TComposantsFiche::boutonsOutils() const {
    return {{{SBNouveau, TBoutonOutil::SBNouveau},
             {SBenregistrerRW3, TBoutonOutil::SBenregistrerRW3},
             {SBenregistrerTXT, TBoutonOutil::SBenregistrerTXT},
             {SBEnregistrerCSV, TBoutonOutil::SBEnregistrerCSV},
             {SBTransfertDirectREG, TBoutonOutil::SBTransfertDirectREG},
             {SBTransfertDirectExcel, TBoutonOutil::SBTransfertDirectExcel},
             {SBtransfertDirectOOLO, TBoutonOutil::SBtransfertDirectOOLO},
             {SBMesures, TBoutonOutil::SBMesures},
             {SBVoirTableau, TBoutonOutil::SBVoirTableau},
             {SBOptions, TBoutonOutil::SBOptions},
             {SBAproposDe, TBoutonOutil::SBAproposDe},
             {SBQuitter, TBoutonOutil::SBQuitter}}};
}
