#include "disposition.h"

#include "arrondis.h"

#include <algorithm>

namespace {

// The design size of the window.
constexpr double LARGEUR_NOMINALE = 1060.0;
constexpr double HAUTEUR_NOMINALE = 725.0;

// A list's height made even.
int pair(int h) {
    return h / 2 * 2;
}

// A control centred vertically on another (a label): same middle, within a pixel.
int centreSur(const QRect& repere, int hauteur) {
    return repere.y() + (repere.height() - hauteur) / 2;
}

QRect libelle(const Metriques& m, const QString& texte, const Police& p, int x, int y) {
    const QSize t = m.tailleLibelle(texte, p);
    return {x, y, t.width(), t.height()};
}

struct Echelle {
    double h, v;
    int H(double n) const { return tronque(n * h); }
    int V(double n) const { return tronque(n * v); }
    int HA(double n) const { return arrondi(n * h); }
};

void disposerOutils(const EntreesDisposition& e, const Metriques& met, const Echelle& k,
                    DispositionOutils& o) {
    o.m = std::min(k.V(26), k.H(26));
    o.s = std::max(o.m, 26);
    o.q = k.V(2);
    const int s = o.s;
    const int q = o.q;
    // Gaps of q inside a group, 5q, 4q and 4q between files, transfers, measurement views,
    // preferences and about.
    static constexpr std::array<std::pair<int, int>, 11> facteurs{{{0, 1},
                                                                   {1, 2},
                                                                   {2, 3},
                                                                   {3, 4},
                                                                   {4, 9},
                                                                   {5, 10},
                                                                   {6, 11},
                                                                   {7, 15},
                                                                   {8, 16},
                                                                   {9, 20},
                                                                   {10, 21}}};
    for (std::size_t i = 0; i < facteurs.size(); ++i)
        o.boutons[i] = QRect(facteurs[i].first * s + facteurs[i].second * q, q, s, s);

    int x = droite(o.boutons[DispositionOutils::SBAproposDe]) + 3 * q;
    o.SBCentrales_.clear();
    o.policeCentrales = {std::min(k.V(12.5), k.H(12.5)), Police::HauteurCellule};
    if (e.nbCentralesGerees > 1) {
        const int largeur = tronque(3.5 * o.m);
        for (int i = 0; i < e.nbCentralesGerees; ++i) {
            o.SBCentrales_.emplace_back(x, q, largeur, s);
            x += largeur + q;
        }
    }
    o.boutons[DispositionOutils::SBQuitter] = QRect(x + 4 * q, q, s, s);

    // Pointer read-out: every control centred in the panel's height.
    o.PPointage = QRect(droite(o.boutons[DispositionOutils::SBQuitter]) + 4 * q, q, 0, s);
    o.policeLibellesPointage = {std::min(k.H(12), k.V(12)), Police::HauteurCaractere};
    o.policeEditsPointage = {std::min(k.H(11), k.V(11)), Police::HauteurCaractere};
    const int hEdit = met.hauteurEdit(o.policeEditsPointage);
    const QSize tSerie = met.tailleLibelle(QStringLiteral("Série "), o.policeLibellesPointage);
    const QSize tPoint = met.tailleLibelle(QStringLiteral("Point"), o.policeLibellesPointage);
    o.LSerie = QRect(k.HA(3), (s - tSerie.height()) / 2, tSerie.width(), tSerie.height());
    o.EditSerieP = QRect(droite(o.LSerie), (s - hEdit) / 2, k.HA(76), hEdit);
    o.Lpoint = QRect(droite(o.EditSerieP) + k.HA(3), (s - tPoint.height()) / 2, tPoint.width(),
                     tPoint.height());
    o.EditPointP = QRect(droite(o.Lpoint) + k.H(3), (s - hEdit) / 2, k.HA(148), hEdit);
    o.PPointage.setWidth(droite(o.EditPointP) + k.H(4));

    // Messages and presence. The edits are centred in the panel's new height (s): centring
    // them in the height of the previous pass would leave them off-centre after every change
    // of size until the next pass.
    o.policeEditsPanel2 = o.policeEditsPointage;
    const int hEdit2 = met.hauteurEdit(o.policeEditsPanel2);
    o.Panel2 = QRect(droite(o.PPointage) + 4 * q, q, k.HA(460), s);
    o.EditMessageX = QRect(k.H(3), (s - hEdit2) / 2, k.HA(220), hEdit2);
    o.EditPresence = QRect(droite(o.EditMessageX) + k.H(3), (s - hEdit2) / 2, k.HA(230), hEdit2);
    o.PBarExcel = o.EditPresence;
}

void disposerReglages(const EntreesDisposition& e, const Metriques& met, const Echelle& k,
                      const QRect& panneau, DispositionReglages& r) {
    const int hTitre = k.V(18);
    r.PTitreReglagesTemporels = QRect(0, 0, panneau.width(), hTitre);
    const int hBouton = k.V(14);
    r.SBRedRegTemp = QRect(1, (hTitre - hBouton) / 2 + 1, hBouton, hBouton);
    r.policeSBRedRegTemp = {k.V(13), Police::HauteurCellule};
    r.policeLReglages = {std::min(k.H(13), k.V(13)), Police::HauteurCaractere};
    r.LReglages =
        QRect(droite(r.SBRedRegTemp) + 2, 0,
              met.tailleLibelle(QStringLiteral("Réglages"), r.policeLReglages).width(), hTitre);
    r.ScrollBox1 = QRect(0, hTitre, panneau.width(), panneau.height() - hTitre);
    r.ScrollBox1Visible = !e.pParametresReduit;
    if (e.pParametresReduit)
        return;

    const Police pc{std::min(k.H(13), k.V(13)), Police::HauteurCaractere};
    r.policeControles = pc;
    r.policeBoutons = {std::min(k.H(12), k.V(12)), Police::HauteurCaractere};
    const int hListe = pair(met.hauteurListe(pc));

    r.PanelMesuresPeriodiques = QRect(k.H(3), k.V(6), r.ScrollBox1.width() - 2 * k.H(3) - 4, 0);
    const int lp = r.PanelMesuresPeriodiques.width();

    // Timing group.
    r.GBParametresTemporels = QRect(k.H(6), k.V(2), lp - 2 * k.H(6), 0);
    const int lg = r.GBParametresTemporels.width();
    r.LDureeTotale = libelle(met, QStringLiteral("Durée totale"), pc, k.H(10), k.V(23));
    const int hDuree = pair(k.V(30));
    const int lDuree = k.H(90);
    r.CBDureeTotale =
        QRect((lg - (lDuree + hDuree / 2)) / 2, bas(r.LDureeTotale) + k.V(3), lDuree, hDuree);
    const int lFleche = pair(hDuree / 2);
    r.SBDureeTotalePlus = QRect(droite(r.CBDureeTotale), r.CBDureeTotale.y(), lFleche, hDuree / 2);
    r.SBDureeTotaleMoins =
        QRect(droite(r.CBDureeTotale), r.CBDureeTotale.y() + hDuree / 2, lFleche, hDuree / 2);
    r.LNombreDePoints = libelle(met, QStringLiteral("Nombre de points"), pc, r.LDureeTotale.x(),
                                bas(r.CBDureeTotale) + k.V(13));
    r.CBNbPoints =
        QRect(r.CBDureeTotale.x(), bas(r.LNombreDePoints) + k.V(3), lDuree - hDuree / 2, hListe);
    r.SBNbPointsPlus = QRect(droite(r.CBNbPoints), r.CBNbPoints.y(), lFleche, hListe / 2);
    r.SBNbPointsMoins =
        QRect(droite(r.CBNbPoints), r.CBNbPoints.y() + hListe / 2, lFleche, hListe / 2);
    r.LabelTe =
        libelle(met, QStringLiteral("Intervalle:"), pc, k.H(10), bas(r.CBNbPoints) + k.V(13));
    r.iTe =
        QRect(r.CBDureeTotale.x(), bas(r.LabelTe) + k.V(3), lg - 2 * r.CBDureeTotale.x(), k.V(25));
    r.BAcquisitionPrecedente = QRect(k.H(5), bas(r.iTe) + k.V(13), lg - 2 * k.H(5), k.V(25));
    r.GBParametresTemporels.setHeight(bas(r.BAcquisitionPrecedente) + k.V(5));

    // Trigger group (its gap to the timing group is not scaled).
    r.GBDeclenchement = QRect(k.H(6), bas(r.GBParametresTemporels) + 10, lg, k.V(217));
    const int ld = r.GBDeclenchement.width();
    r.LType = libelle(met, QStringLiteral("Type"), pc, k.H(10), k.V(20));
    const int lType = k.H(120);
    r.CBTypeDeclenchement = QRect((ld - lType) / 2, bas(r.LType) + k.V(3), lType, pair(k.V(24)));
    const int hType = r.CBTypeDeclenchement.height();
    r.RGSensDeclenchement = QRect(r.CBTypeDeclenchement.x(), k.V(65), lType, k.V(57));
    r.LVoieDecl = libelle(met, QStringLiteral("Voie"), pc, r.LType.x(), k.V(134));
    r.CBVoieSynchro = QRect(k.H(47), centreSur(r.LVoieDecl, hType),
                            droite(r.CBTypeDeclenchement) - k.H(47), hType);
    r.hauteurItemCBVoieSynchro = k.V(23);
    r.LSeuil = libelle(met, QStringLiteral("Seuil"), pc, k.H(10), k.V(163));
    const int hEdit = met.hauteurEdit(pc);
    r.EditUSeuilDecl =
        QRect(r.CBVoieSynchro.x(), centreSur(r.LSeuil, hEdit), r.CBVoieSynchro.width(), hEdit);
    r.LPretrig = libelle(met, QStringLiteral("Pré-trig"), pc, k.H(10), k.V(193));
    const int xPretrig = droite(r.LPretrig) + k.H(7);
    r.CBPretrigX = QRect(xPretrig, centreSur(r.LPretrig, hType),
                         droite(r.CBTypeDeclenchement) - xPretrig, hType);

    // Check boxes and the start button, in the periodic measurements panel.
    const int hCase = met.hauteurCase(pc);
    const int lCase = lp - r.LType.x() - k.H(5);
    r.CBAjouterCourbes = QRect(r.LType.x(), bas(r.GBDeclenchement) + k.V(10), lCase, hCase);
    r.CBModePermanent = QRect(r.LType.x(), bas(r.CBAjouterCourbes) + k.V(10), lCase, hCase);
    const int lAcq = lp - k.H(14);
    r.BAcquisition = QRect((lp - lAcq) / 2, bas(r.CBModePermanent) + k.V(10), lAcq, k.V(25));
    r.PanelMesuresPeriodiques.setHeight(bas(r.BAcquisition) + k.V(15));
}

// The controls of input k in a box of width W (table of the channel panel).
DispositionEntree disposerEntree(const EntreesDisposition& e, const Metriques& met,
                                 const Echelle& k, int entree, int W, bool modeDiffParCanal) {
    DispositionEntree d;
    d.canal = entree % 4;
    const int dd = modeDiffParCanal ? k.V(25) : 0;
    // The 160 between the two inputs of a box is not scaled.
    const int R = (entree / 4) * 160 + (entree / 4) * dd;
    const QString etroite = QString::fromLatin1(POLICE_VOIES);
    d.policeTitre = {std::min(k.V(13), k.H(13)), Police::Points, true, etroite};
    d.policeControles = {std::min(k.V(10), k.H(10)), Police::Points, false, etroite};
    d.titreVisible = modeDiffParCanal;
    if (modeDiffParCanal)
        d.LTitreVoies = QRect(k.H(15), k.V(30) + R, W - k.H(10), k.V(20));
    d.CBVoiesActives = QRect(k.H(15), dd + R + k.V(25), tronque(W * 2.0 / 3.0), k.V(19));
    const int lCal = W / 3;
    d.RGCalsEA = QRect(W - lCal - k.H(15), dd + R + k.V(21), lCal, k.V(110));
    Police gras = d.policeControles;
    gras.gras = true;
    const QSize tU1 = met.tailleLibelle(e.symboles[entree], gras);
    const QSize tInd = met.tailleLibelle(e.indicesSymboles[entree], d.policeControles);
    const int lU1 = tU1.width();
    const int lInd = tInd.width();
    const int lEgale = met.tailleLibelle(QStringLiteral("="), d.policeControles).width();
    // 15V high, or the font's line when that is higher: the index is not cut at its foot.
    const int h15 = std::max({k.V(15), tU1.height(), tInd.height()});
    d.LValU1 = QRect(k.H(10), bas(d.CBVoiesActives) + k.V(3), lU1, h15);
    d.LValUInd = QRect(droite(d.LValU1), d.LValU1.y() + d.LValU1.height() / 2, lInd, h15);
    d.LEgale = QRect(droite(d.LValUInd) + k.H(3), d.LValU1.y(), lEgale, h15);
    d.EditValU = QRect(droite(d.LEgale) + k.H(3), d.LValU1.y(), W / 3, k.V(20));
    const int hLegende = k.V(25);
    d.legendes = QRect(k.H(15), bas(d.RGCalsEA) - hLegende - k.V(6), k.H(35), hLegende);
    return d;
}

DispositionMesuresSurEcran disposerMesures(const Metriques& met, const Echelle& k,
                                           const QRect& scrBox) {
    DispositionMesuresSurEcran m;
    const int l = k.H(500);
    const int h = k.V(170);
    m.PanelMesuresSurEcran = QRect((scrBox.width() - l) / 2, (scrBox.height() - h) / 2, l, h);
    m.police = {std::min(k.H(15), k.V(15)), Police::HauteurCaractere};
    const int hEdit = met.hauteurEdit(m.police);
    const std::array<int, 3> tops{k.V(28), k.V(60), k.V(115)};

    m.GBMesureTemps = QRect(k.H(72), k.V(3), k.H(159), h - k.V(6));
    std::array<QRect*, 3> editsT{&m.EditT0M, &m.EditTFM, &m.EditDTM};
    std::array<QRect*, 3> libT{&m.LInstant1, &m.LInstant2, &m.LIntervallet};
    static const std::array<QString, 3> textesT{QStringLiteral("Instant 1 : "),
                                                QStringLiteral("Instant 2 : "),
                                                QStringLiteral("Intervalle : ")};
    m.GBMesureU = QRect(k.H(232), m.GBMesureTemps.y(), k.H(250), m.GBMesureTemps.height());
    std::array<QRect*, 3> editsU{&m.EditUmaxM, &m.EditUMinM, &m.EditDUM};
    std::array<QRect*, 3> libU{&m.LUMax, &m.LUMin, &m.LIntervalleU};
    static const std::array<QString, 3> textesU{QStringLiteral("Max :"), QStringLiteral("Min :"),
                                                QStringLiteral("Intervalle : ")};
    for (int i = 0; i < 3; ++i) {
        *editsT[i] = QRect(k.H(83), tops[i], k.H(55), hEdit);
        const QSize t = met.tailleLibelle(textesT[i], m.police);
        *libT[i] = QRect(editsT[i]->x() - t.width() - k.H(5), centreSur(*editsT[i], t.height()),
                         t.width(), t.height());
        *editsU[i] = QRect(k.H(69), tops[i], k.H(55), hEdit);
        const QSize u = met.tailleLibelle(textesU[i], m.police);
        *libU[i] = QRect(editsU[i]->x() - u.width() - k.H(5), libT[i]->y(), u.width(), u.height());
    }
    m.LAxeVertical = QRect(k.H(134), k.V(28), k.H(90), k.V(32));
    m.CBAxes = QRect(k.H(134), bas(m.LAxeVertical) + k.V(4), k.H(88), k.V(30));
    m.hauteurItemCBAxes = k.V(23);
    const int hFermer = k.V(25);
    m.BFermerMesuresSurEcran = QRect(k.H(4), h - hFermer - k.V(4), k.H(59), hFermer);
    return m;
}

// The channel boxes the active unit (or none) shows.
struct BoitesCanaux {
    int nbBoites = 4;
    int nbEntrees = 4;
    bool modeDiffParCanal = false;
    int hauteur = 0;
};

BoitesCanaux boitesCanaux(const EntreesDisposition& e, const Echelle& k) {
    BoitesCanaux b;
    b.hauteur = k.V(160);
    if (e.interfaceActive) {
        b.nbBoites = std::clamp(e.interfaceActive->nbCanaux_, 0, 4);
        b.nbEntrees = std::clamp(e.interfaceActive->nbEAU, 0, 8);
        b.modeDiffParCanal = e.interfaceActive->ChxModeDiff == 1;
        if (b.modeDiffParCanal)
            b.hauteur = k.V(310);
    }
    return b;
}

int coteSBRedRegVoies(const Echelle& k) {
    return std::max(k.H(15), k.V(15));
}

// Client width of the channel scroll box of a panel that wide and high: without its frame,
// and without the vertical bar when the boxes are higher than the box.
int largeurClientVoies(const EntreesDisposition& e, const Echelle& k, int largeurPanel,
                       int hauteurPanel) {
    if (e.largeurClientScrBoxVoies)
        return *e.largeurClientScrBoxVoies;
    const int cote = coteSBRedRegVoies(k);
    const int hauteurClient = hauteurPanel - 2 - 2 * e.cadreScrBoxVoies;
    const bool barreVerticale = k.V(3) + boitesCanaux(e, k).hauteur + 4 > hauteurClient;
    return largeurPanel - cote - 4 - 2 * e.cadreScrBoxVoies -
           (barreVerticale ? e.hauteurBarreDefilement : 0);
}

void disposerVoies(const EntreesDisposition& e, const Metriques& met, const Echelle& k,
                   DispositionVoies& v) {
    const int cote = coteSBRedRegVoies(k);
    v.SBRedRegVoies = QRect(1, 1, cote, cote);
    v.policeSBRedRegVoies = {k.V(13), Police::HauteurCellule};
    // The scroll box is aligned right in the panel, inside its one-pixel bevel.
    v.ScrBoxVoies = QRect(cote + 2, 1, v.PanelVoies.width() - cote - 4, v.PanelVoies.height() - 2);
    v.ScrBoxVoiesVisible = !e.pVoiesReduit;
    if (e.pVoiesReduit)
        return;

    v.mesures = disposerMesures(met, k, v.ScrBoxVoies);
    const int largeurClient = largeurClientVoies(e, k, v.PanelVoies.width(), v.PanelVoies.height());

    const int B = k.H(250);
    const BoitesCanaux boites = boitesCanaux(e, k);
    const int nbBoites = boites.nbBoites;
    const int nbEntrees = boites.nbEntrees;
    const bool modeDiffParCanal = boites.modeDiffParCanal;
    const int hauteurBoite = boites.hauteur;
    if (!e.interfaceActive)
        for (int i = 4; i < 8; ++i)
            v.entreeMasquee[i] = true;
    const int c = std::max((largeurClient - B * nbBoites) / (nbBoites + 1), 4);
    const Police policeBoite{std::min(k.V(11), k.H(11)), Police::Points, false,
                             QString::fromLatin1(POLICE_VOIES)};
    for (int j = 0; j < nbBoites; ++j) {
        DispositionBoiteCanal b;
        b.rect = QRect(c + j * (B + c), k.V(3), B, hauteurBoite);
        b.police = policeBoite;
        b.modeDiffVisible = modeDiffParCanal;
        if (modeDiffParCanal) {
            const int lDiff = k.H(100);
            b.CBModeDiff = QRect(B - lDiff - k.H(15), k.H(20), lDiff, k.V(19));
        }
        v.gbCanaux[j] = b;
    }
    for (int i = 0; i < nbEntrees; ++i)
        v.entrees[i] = disposerEntree(e, met, k, i, B, modeDiffParCanal);
}

} // namespace

int pixelsCaractere(const Police& p) {
    switch (p.unite) {
    case Police::HauteurCaractere:
        return p.valeur;
    case Police::HauteurCellule:
        return arrondi(p.valeur / 1.15);
    case Police::Points:
        return arrondi(p.valeur * 96.0 / 72.0 / 1.15);
    }
    return p.valeur;
}

Metriques Metriques::parDefaut() {
    Metriques m;
    m.tailleLibelle = [](const QString& texte, const Police& p) {
        const int px = pixelsCaractere(p);
        const double chasse = p.gras ? 0.62 : 0.55;
        return QSize(arrondi(texte.size() * chasse * px), arrondi(px * 1.25));
    };
    m.hauteurEdit = [](const Police& p) { return pixelsCaractere(p) + 8; };
    m.hauteurListe = [](const Police& p) { return pixelsCaractere(p) + 10; };
    m.hauteurCase = [](const Police& p) { return pixelsCaractere(p) + 4; };
    return m;
}

int Disposition::H(double n) const {
    return tronque(n * static_cast<double>(coDIMH));
}
int Disposition::V(double n) const {
    return tronque(n * static_cast<double>(coDimV));
}

FacteursEchelle calculerFacteurs(QSize fenetre) {
    // The factors are kept in single precision; every product with them is made in double.
    const float h = static_cast<float>(fenetre.width() / LARGEUR_NOMINALE);
    const float v = static_cast<float>(fenetre.height() / HAUTEUR_NOMINALE);
    FacteursEchelle f{};
    // The horizontal growth is damped to 80 % and capped by 70 % of the vertical growth.
    f.LarNomPParametres = std::max(tronque(((h - 1.0) * 0.8 + 1.0) * 169.0), 169);
    f.LarNomPParametres = std::min(tronque(((v - 1.0) * 0.7 + 1.0) * 169.0), f.LarNomPParametres);
    f.coDIMH = static_cast<float>(f.LarNomPParametres / 169.0);
    f.hauNomPVoies = std::max(tronque(((v - 1.0) * 0.8 + 1.0) * 180.0), 180);
    f.coDimV = static_cast<float>(f.hauNomPVoies / 180.0);
    return f;
}

Disposition calculerDisposition(const EntreesDisposition& e, const Metriques& metriques) {
    Disposition d;
    const FacteursEchelle f = calculerFacteurs(e.fenetre);
    d.coDIMH = f.coDIMH;
    d.coDimV = f.coDimV;
    d.LarNomPParametres = f.LarNomPParametres;
    d.hauNomPVoies = f.hauNomPVoies;
    const Echelle k{static_cast<double>(d.coDIMH), static_cast<double>(d.coDimV)};

    d.coPParametres = e.pParametresReduit ? 0.1f : 1.0f;
    d.coPVoies = e.pVoiesReduit ? 0.1f : 1.0f;
    d.hauteurPBoutons = arrondi(30.0 * d.coDimV);
    const int largeurParametres = e.largeurPanelParametresImposee.value_or(
        tronque(d.LarNomPParametres * static_cast<double>(d.coPParametres)));
    d.panelParametres = QRect(e.client.width() - largeurParametres, d.hauteurPBoutons,
                              largeurParametres, e.client.height() - d.hauteurPBoutons);
    int hauteurVoies = e.hauteurPanelVoiesImposee.value_or(
        tronque(d.hauNomPVoies * static_cast<double>(d.coPVoies)));
    if (!e.pVoiesReduit && !e.hauteurPanelVoiesImposee) {
        // Boxes wider than the scroll box: its horizontal bar takes room at the bottom.
        const BoitesCanaux b = boitesCanaux(e, k);
        const int largeurVoies = e.client.width() - largeurParametres - 6;
        if (b.nbBoites * k.H(250) + 4 * (b.nbBoites + 1) >
            largeurClientVoies(e, k, largeurVoies, hauteurVoies))
            hauteurVoies += e.hauteurBarreDefilement;
    }
    d.voies.PanelVoies = QRect(3, e.client.height() - hauteurVoies - 3,
                               e.client.width() - largeurParametres - 6, hauteurVoies);
    d.largeurSplitter1 = k.H(5);
    d.tailleMinSplitter1 = k.H(80);
    d.largeurSBVert = k.H(6);

    disposerOutils(e, metriques, k, d.outils);
    disposerReglages(e, metriques, k, d.panelParametres, d.reglages);
    disposerVoies(e, metriques, k, d.voies);
    d.PanelEcranTab = QRect(2, d.hauteurPBoutons + 2, d.voies.PanelVoies.width(),
                            d.voies.PanelVoies.y() - d.hauteurPBoutons - 6);
    d.tableauVisible = e.PTableauVisible;
    return d;
}

Bascule basculerPanneauVoies(EtatPanneauxLateraux& etat, int hauteurBouton, int hauNomPVoies) {
    etat.pVoiesReduit = !etat.pVoiesReduit;
    etat.coPVoies = etat.pVoiesReduit ? 0.1f : 1.0f;
    Bascule b;
    if (etat.pVoiesReduit) {
        b.legendeBouton = QStringLiteral("  ▲");
        b.taille = hauteurBouton + 2;
        b.ScrollBoxVisible = false;
    } else {
        b.legendeBouton = QStringLiteral("  ▼");
        b.taille = hauNomPVoies;
        b.legendePanneau = QString::fromUtf8(LEGENDE_PANEL_VOIES);
    }
    return b;
}

Bascule basculerPanneauParametres(EtatPanneauxLateraux& etat, int largeurBouton,
                                  int LarNomPParametres) {
    etat.pParametresReduit = !etat.pParametresReduit;
    etat.coPParametres = etat.pParametresReduit ? 0.1f : 1.0f;
    Bascule b;
    if (etat.pParametresReduit) {
        b.legendeBouton = QStringLiteral("◄");
        b.taille = largeurBouton + 2;
        b.ScrollBoxVisible = false;
        b.LReglagesVisible = false;
    } else {
        b.legendeBouton = QStringLiteral(" ►");
        b.taille = LarNomPParametres;
    }
    return b;
}
