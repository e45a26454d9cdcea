#include "ecrangraphe.h"

#include "arrondis.h"
#include "centrale.h"
#include "dessingraphe.h"
#include "seriesmesurees.h"

#include <QPainter>
#include <algorithm>

namespace {

// A painter on an image that may be empty (no graph area yet): nothing is painted then.
bool peutPeindre(const QImage& image) {
    return !image.isNull() && image.width() > 0 && image.height() > 0;
}

} // namespace

TEtatEcran etatEcran(const TCentrale* centrale, TModeGeneral modeGeneral) {
    TEtatEcran e;
    e.modeGeneral = modeGeneral;
    if (!centrale)
        return e;
    const TCentrale& c = *centrale;
    e.source = sourceAxes(c);
    e.dt0X = c.dt0X;
    e.dtAX = c.dtAX;
    e.dureeTotale0X = c.dureeTotale0X;
    e.dureeTotaleAX = c.dureeTotaleAX;
    e.nbPts0X = c.nbPts0X;
    e.nbPtsAX = c.nbPtsAX;
    e.nbPtsAffX = c.nbPtsAffX;
    e.nbVoiesSignaux = c.nbVoiesSignaux;
    e.nbVoiesActivesX = c.nbVoiesActivesX;
    e.modeDecl = c.modeDecl;
    e.tPretrig = c.tPretrig;
    return e;
}

TEcranGraphe::TEcranGraphe(TMesureTexte mesure) : g(std::move(mesure)) {}

double TEcranGraphe::echAxeCourant() const {
    const int a = std::clamp(g.axeQuadrilleX, 0, 3);
    return g.AxesX[static_cast<size_t>(a)].EchA;
}

void TEcranGraphe::majPixelsCurseurs(const TEtatEcran& e) {
    // A start marker before the first sampling interval stands on the first point.
    curseurs.xeT0X = g.t0 >= e.dtAX ? g.xe(g.t0) : g.xe(0.0);
    curseurs.xetFX = g.xe(curseurs.tFin);
    curseurs.xeT0M = g.xe(curseurs.t0M);
    curseurs.xeTFM = g.xe(curseurs.tFinM);
    const double ech = echAxeCourant();
    curseurs.yeUmaxM = g.ye(curseurs.UMaxM, ech);
    curseurs.yeUMinM = g.ye(curseurs.UMinM, ech);
}

bool TEcranGraphe::setZoomHX(int index, TModeGeneral modeGeneral) {
    const TMarqueursZoom m = modeGeneral == MODE_MESURES_ECRAN
                                 ? TMarqueursZoom{curseurs.t0M, curseurs.tFinM}
                                 : TMarqueursZoom{g.t0, curseurs.tFin};
    return g.setZoomHX(index, m);
}

void TEcranGraphe::preparer(const TEtatEcran& e, TSeriesMesurees& series, bool avecAxesX) {
    const TSourceAxes* source = e.source ? &*e.source : nullptr;
    // The margins follow the axes and the graduations follow the margins.
    if (avecAxesX)
        g.prepareAxesX(source, &series);
    g.prepareQuadAxes(source, &series);
    if (source)
        majPixelsCurseurs(e);
}

void TEcranGraphe::setModeDessinVM(const TEtatEcran& e, const TSeriesMesurees& series) {
    if (!e.source || e.nbVoiesSignaux + e.nbVoiesActivesX <= 0 || e.nbPts0X <= 0 ||
        series.tv2.empty())
        return;
    if (const auto choix = ::setModeDessinVM(g, e.dt0X, e.dureeTotale0X, e.nbPtsAffX)) {
        modeDessinVM = choix->modeDessinVM;
        nbPPP = choix->nbPPP;
    }
}

void TEcranGraphe::dessineCourbesVM(QPainter& canvas, const TEtatEcran& e,
                                    const TSeriesMesurees& series) {
    const bool enCours = acquisitionEnCours(e.modeGeneral);
    if (series.nbVoiesMesurees + e.nbVoiesSignaux <= 0 || (!enCours && e.nbPtsAX <= 0))
        return;
    setModeDessinVM(e, series);
    if (!enCours) {
        const TParamsTrace params{e.dtAX, e.dureeTotaleAX, e.nbPtsAffX};
        if (const auto p = dessineCourbesRepos(canvas, g, series, modeDessinVM, params))
            nbPPP = *p;
        return;
    }
    // The earlier series pale, kept in bmEcran0 under the points about to arrive.
    if (series.nbVoiesMesurees > 0 && e.nbPtsAffX > 0) {
        dessineSeriesAnterieures(canvas, g, series, modeDessinVM,
                                 TParamsTrace{e.dtAX, e.dureeTotale0X, e.nbPtsAffX});
        if (peutPeindre(bmEcran0) && canvas.device() != &bmEcran0) {
            QPainter p0(&bmEcran0);
            p0.drawImage(0, 0, iEcranX);
            dessineQuadAxesV(p0, g);
            dessineQuadAxeH(p0, g);
            dessinetPretrig(p0, g, e.modeDecl, e.tPretrig);
        }
    }
    TTraceCourant t;
    t.dt0X = e.dt0X;
    t.nbPts0X = e.nbPts0X;
    t.nbPtsAffX = e.nbPtsAffX;
    t.nbVoiesSignaux = e.nbVoiesSignaux;
    t.ptFront = e.progres.ptFront;
    t.pt0Trame = e.progres.pt0Trame;
    t.trameX = e.progres.trameX;
    t.modeDoubleTrameX = e.progres.modeDoubleTrameX;
    t.couleurs = e.progres.couleurs;
    dessineSerieCourante(canvas, g, series, modeDessinVM, t);
}

void TEcranGraphe::dessineCurseurs(QPainter& canvas, const TEtatEcran& e) {
    switch (e.modeGeneral) {
    case MODE_VIERGE:
    case MODE_REGLAGES_MODIFIES:
    case MODE_MESURES:
    case MODE_PERMANENT_ARRETE:
        dessineCurseursT(canvas, g, curseurs);
        break;
    case MODE_MESURES_ECRAN:
        dessineCurseursMesureT(canvas, g, curseurs);
        dessineCurseursMesureU(canvas, g, curseurs);
        break;
    default: // acquisition or export running: no marker
        break;
    }
}

void TEcranGraphe::composer(const TEtatEcran& e, TSeriesMesurees& series, bool avecCourbes) {
    if (!peutPeindre(iEcranX))
        return;
    QPainter canvas(&iEcranX);
    canvas.setRenderHint(QPainter::Antialiasing, false);
    dessineFondEcran(canvas, g);
    dessineQuadAxesV(canvas, g);
    if (e.source) {
        if (avecCourbes)
            dessineCourbesVM(canvas, e, series);
        dessinetPretrig(canvas, g, e.modeDecl, e.tPretrig);
    }
    canvas.end();
    bmEX = iEcranX.copy();
    canvas.begin(&iEcranX);
    canvas.setRenderHint(QPainter::Antialiasing, false);
    dessineQuadAxeH(canvas, g);
    if (e.source)
        dessineCurseurs(canvas, e);
}

void TEcranGraphe::dessineEcranN(const TEtatEcran& e, TSeriesMesurees& series, bool avecCourbes) {
    preparer(e, series, true);
    composer(e, series, avecCourbes);
}

void TEcranGraphe::dessineEcranRDE(const TEtatEcran& e, TSeriesMesurees& series) {
    preparer(e, series, false);
    composer(e, series, true);
}

void TEcranGraphe::dessineEcranRCu(const TEtatEcran& e, TSeriesMesurees& series) {
    preparer(e, series, false);
    if (!peutPeindre(iEcranX))
        return;
    if (bmEX.size() != iEcranX.size()) { // nothing kept yet: the whole graph
        composer(e, series, true);
        return;
    }
    QPainter canvas(&iEcranX);
    canvas.setRenderHint(QPainter::Antialiasing, false);
    canvas.drawImage(0, 0, bmEX);
    dessinetPretrig(canvas, g, e.modeDecl, e.tPretrig);
    dessineQuadAxeH(canvas, g);
    if (e.source)
        dessineCurseurs(canvas, e);
}

void TEcranGraphe::preparerEcranVide(const TEtatEcran& e, TSeriesMesurees& series) {
    if (!peutPeindre(bmEcran0))
        return;
    preparer(e, series, true);
    QPainter canvas(&bmEcran0);
    canvas.setRenderHint(QPainter::Antialiasing, false);
    dessineFondEcran(canvas, g);
    dessineQuadAxesV(canvas, g);
    dessineQuadAxeH(canvas, g);
}

void TEcranGraphe::redimensionnementEcran(int larT, int hauT, double coDIMH, double coDimV,
                                          const TEtatEcran& e, TSeriesMesurees& series) {
    larT = std::max(0, larT);
    hauT = std::max(0, hauT);
    g.coDIMH = coDIMH;
    g.coDimV = coDimV;
    // The labels are measured in this font: it is set before the margins are computed.
    g.fontEcran.setPixelSize(std::max(1, tronque(12 * coDimV)));
    g.redimensionner(larT, hauT);
    for (QImage* image : {&iEcranX, &bmEX, &bmEcran, &bmEcran0}) {
        if (image->width() != larT || image->height() != hauT)
            *image = larT > 0 && hauT > 0 ? QImage(larT, hauT, QImage::Format_RGB32) : QImage();
    }
    const TSourceAxes* source = e.source ? &*e.source : nullptr;
    g.prepareAxesX(source, &series);
    setZoomHX(g.zoomIndexH, e.modeGeneral);
    g.setZoomVX(g.ZoomIndexV);
    g.prepareQuadAxes(source, &series);
    setModeDessinVM(e, series);

    // The voltage markers go back near the edges of the plot, read in the current scale.
    const double ech = echAxeCourant();
    const int b = g.hauG / 18;
    if (ech > 0) {
        curseurs.UMaxM = g.U1(g.mSup + b, ech);
        curseurs.UMinM = g.U1(g.mSup + g.hauG - b, ech);
    }
    preparerEcranVide(e, series);
    dessineEcranN(e, series, true);
}
