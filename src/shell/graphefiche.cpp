#include "graphefiche.h"

#include "arrondis.h"
#include "pointage.h"
#include "seriesmesurees.h"

#include <QSignalBlocker>
#include <algorithm>

namespace {

// The start of a read-out stays in sight, whatever the width of its box.
void afficher(QLineEdit* e, const QString& texte) {
    e->setText(texte);
    e->setCursorPosition(0);
}

TBoutonSouris boutonSouris(Qt::MouseButton b) {
    switch (b) {
    case Qt::LeftButton:
        return TBoutonSouris::Gauche;
    case Qt::RightButton:
        return TBoutonSouris::Droit;
    default:
        return TBoutonSouris::Autre;
    }
}

} // namespace

TGrapheFiche::TGrapheFiche(TComposantsFiche& c, TSeriesMesurees& series,
                           std::function<TEtatEcran()> etat, QObject* parent)
    : QObject(parent), gestes(ecran.g, ecran.curseurs), c_(c), series_(series),
      etat_(std::move(etat)) {
    c_.iEcranX->setImage(&ecran.iEcranX);
    connect(c_.iEcranX, &TVueImage::appui, this, [this](Qt::MouseButton b, QPoint p) {
        souris(gestes.iEcranXMouseDown(boutonSouris(b), p.x(), p.y(), contexte()));
    });
    connect(c_.iEcranX, &TVueImage::deplacement, this, [this](QPoint p, Qt::MouseButtons b) {
        souris(gestes.iEcranXMouseMove(p.x(), p.y(), b.testFlag(Qt::LeftButton), contexte()));
    });
    connect(c_.iEcranX, &TVueImage::relache, this,
            [this](Qt::MouseButton, QPoint) { souris(gestes.iEcranXMouseUp(contexte())); });
    for (QScrollBar* barre : {c_.SBHor, c_.SBVert}) {
        // Only the end of a scroll acts: a click on the bar, or the thumb let go.
        connect(barre, &QScrollBar::valueChanged, this, [this, barre] {
            if (!barre->isSliderDown())
                SBScroll(barre);
        });
        connect(barre, &QScrollBar::sliderReleased, this, [this, barre] { SBScroll(barre); });
    }
    connect(c_.CBAxes, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (synchro_ || i < 0 || acquisitionEnCours(etat_().modeGeneral))
            return;
        MAJAxeQuadrille(~i);
        afficheMesuresU();
    });
}

TContexteGestes TGrapheFiche::contexte() const {
    const TEtatEcran e = etat_();
    TContexteGestes ctx;
    ctx.MODEGENERAL = e.modeGeneral;
    ctx.dt0X = e.dt0X;
    ctx.dureeTotale0X = e.dureeTotale0X;
    ctx.dtAX = e.dtAX;
    ctx.nbPtsAX = e.nbPtsAX;
    ctx.series = &series_;
    return ctx;
}

void TGrapheFiche::repeindre() {
    c_.iEcranX->update();
}

void TGrapheFiche::redessiner(bool avecCourbes) {
    ecran.dessineEcranN(etat_(), series_, avecCourbes);
    synchroniserBarres();
    repeindre();
}

void TGrapheFiche::synchroniserBarres() {
    synchro_ = true;
    const TGeometrieGraphe& g = ecran.g;
    const std::pair<QScrollBar*, const TBarreDefilement*> barres[] = {{c_.SBHor, &g.SBHor},
                                                                      {c_.SBVert, &g.SBVert}};
    for (const auto& [barre, b] : barres) {
        const QSignalBlocker blocage(barre);
        barre->setPageStep(b->largeChange);
        barre->setValue(b->position);
        barre->setEnabled(b->active);
    }
    synchro_ = false;
}

void TGrapheFiche::SBScroll(QScrollBar* barre) {
    if (synchro_)
        return;
    TGeometrieGraphe& g = ecran.g;
    const bool agit =
        barre == c_.SBHor ? g.SBHorScroll(barre->value()) : g.SBVertScroll(barre->value());
    if (agit)
        redessiner(true);
}

void TGrapheFiche::redimensionnementEcran(double coDIMH, double coDimV) {
    const int W = c_.PEcran->width();
    const int H = c_.PEcran->height();
    const int e = std::max(8, arrondi(16 * coDimV));
    const int cote = std::min(e, arrondi(14 * coDimV) + 2);
    QFont police = c_.SBZoomPlusH->font();
    police.setPixelSize(std::max(1, tronque(13 * coDimV)));
    c_.PanelSBV->setGeometry(W - e, 0, e, std::max(0, H - e));
    c_.PanelSBH->setGeometry(0, H - e, std::max(0, W - e), e);
    c_.SBZoomMoinsH->setGeometry(0, 0, cote, cote);
    c_.SBZoomPlusH->setGeometry(cote, 0, cote, cote);
    c_.SBHor->setGeometry(2 * cote + 1, 0, std::max(0, c_.PanelSBH->width() - 2 * cote - 2), e);
    c_.SBZoomPlusV->setGeometry(0, 0, cote, cote);
    c_.SBZoomMoinsV->setGeometry(0, cote, cote, cote);
    c_.SBVert->setGeometry(0, 2 * cote + 1, e, std::max(0, c_.PanelSBV->height() - 2 * cote - 2));
    for (QToolButton* b : {c_.SBZoomMoinsH, c_.SBZoomPlusH, c_.SBZoomPlusV, c_.SBZoomMoinsV})
        b->setFont(police);
    c_.iEcranX->setGeometry(0, 0, std::max(0, W - e), std::max(0, H - e));
    ecran.redimensionnementEcran(c_.iEcranX->width(), c_.iEcranX->height(), coDIMH, coDimV, etat_(),
                                 series_);
    synchroniserBarres();
    repeindre();
}

bool TGrapheFiche::zoom(TBoutonOutil bouton) {
    TGeometrieGraphe& g = ecran.g;
    const TModeGeneral mode = etat_().modeGeneral;
    bool change = false;
    switch (bouton) {
    case TBoutonOutil::SBZoomPlusH:
        change = ecran.setZoomHX(g.zoomIndexH + 1, mode);
        break;
    case TBoutonOutil::SBZoomMoinsH:
        change = ecran.setZoomHX(g.zoomIndexH - 1, mode);
        break;
    case TBoutonOutil::SBZoomPlusV:
        change = g.setZoomVX(g.ZoomIndexV + 1);
        break;
    case TBoutonOutil::SBZoomMoinsV:
        change = g.setZoomVX(g.ZoomIndexV - 1);
        break;
    default:
        return false;
    }
    if (change || g.redessinImmediat)
        redessiner(true);
    synchroniserBarres();
    return change;
}

void TGrapheFiche::zoomsInitiaux() {
    ecran.setZoomHX(0, etat_().modeGeneral);
    ecran.g.setZoomVX(0);
    synchroniserBarres();
}

void TGrapheFiche::MAJAxeQuadrille(int p) {
    const double ech = ecran.g.MAJAxeQuadrille(p, series_.voiesMesurees);
    relireNiveaux(ecran.g, ecran.curseurs, ech);
    synchro_ = true;
    c_.CBAxes->setCurrentIndex(ecran.g.axeQuadrilleX);
    synchro_ = false;
    redessiner(true);
}

void TGrapheFiche::afficheMesuresT() {
    const TTextesMesuresT t =
        ::afficheMesuresT(ecran.g.t0, ecran.curseurs.t0M, ecran.curseurs.tFinM);
    afficher(c_.EditT0M, t.EditT0M);
    afficher(c_.EditTFM, t.EditTFM);
    afficher(c_.EditDTM, t.EditDTM);
}

void TGrapheFiche::afficheMesuresU() {
    const TTextesMesuresU u = ::afficheMesuresU(ecran.curseurs.UMaxM, ecran.curseurs.UMinM);
    afficher(c_.EditUmaxM, u.EditUmaxM);
    afficher(c_.EditUMinM, u.EditUMinM);
    afficher(c_.EditDUM, u.EditDUM);
}

void TGrapheFiche::entrerMesures() {
    const TEtatEcran e = etat_();
    TGeometrieGraphe& g = ecran.g;
    c_.PanelMesuresSurEcran->show();
    c_.PanelMesuresSurEcran->raise();
    synchro_ = true;
    c_.CBAxes->clear();
    for (int a = 0; a < g.nbAxes; ++a) {
        const int cal = g.AxesX[static_cast<size_t>(a)].calA;
        const bool nomme =
            e.source && cal >= 0 && cal < static_cast<int>(e.source->sCalibres.size());
        c_.CBAxes->addItem(nomme ? e.source->sCalibres[static_cast<size_t>(cal)]
                                 : QStringLiteral("Axe %1").arg(a + 1));
    }
    synchro_ = false;
    MAJAxeQuadrille(~g.axeQuadrilleX);
    // The levels start at ±90 % of the current axis's range.
    const int cal = g.AxesX[static_cast<size_t>(std::clamp(g.axeQuadrilleX, 0, 3))].calA;
    if (e.source && cal >= 0 && cal < 8) {
        const double pleineEchelle = e.source->calibresDispo[static_cast<size_t>(cal)];
        ecran.curseurs.UMaxM = 0.9 * pleineEchelle;
        ecran.curseurs.UMinM = -0.9 * pleineEchelle;
    }
    redessiner(true);
    afficheMesuresT();
    afficheMesuresU();
}

void TGrapheFiche::quitterMesures() {
    c_.PanelMesuresSurEcran->hide();
    redessiner(true);
}

void TGrapheFiche::effacerPointage() {
    if (!c_.EditSerieP->text().isEmpty()) {
        c_.EditSerieP->clear();
        c_.EditPointP->clear();
    }
}

void TGrapheFiche::souris(const TReponseGeste& r) {
    const TEtatEcran e = etat_();
    switch (r.suite) {
    case TSuiteGeste::Rien:
        break;
    case TSuiteGeste::RedessinRapide:
        ecran.dessineEcranRCu(e, series_);
        repeindre();
        break;
    case TSuiteGeste::RedessinPan:
        ecran.dessineEcranRDE(e, series_);
        synchroniserBarres();
        repeindre();
        break;
    case TSuiteGeste::RedessinComplet:
        redessiner(true);
        break;
    case TSuiteGeste::AxeChoisi:
        MAJAxeQuadrille(r.pAxe);
        afficheMesuresU();
        break;
    case TSuiteGeste::CourbeChoisie:
    case TSuiteGeste::PointageCourbe: {
        if (r.suite == TSuiteGeste::CourbeChoisie)
            MAJAxeQuadrille(r.pAxe);
        voieMesureeP = r.pointe.voieMesureeP;
        pointP = r.pointe.pointP;
        const TTextesPointage t = affichePointPointe(series_, e.dtAX, r.pointe);
        afficher(c_.EditSerieP, t.serie);
        afficher(c_.EditPointP, t.point);
        break;
    }
    case TSuiteGeste::PointageVide:
        voieMesureeP = pointP = -1;
        effacerPointage();
        break;
    }
    if (r.mesuresT)
        afficheMesuresT();
    if (r.mesuresU)
        afficheMesuresU();
    if (r.tableau)
        emit tableauAMettreAJour();
}
