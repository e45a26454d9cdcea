// Layout of the main window: scale factors, tool bar, settings panel, channel panel and the
// reduce/restore of the side panels.
#include "disposition.h"

#include <gtest/gtest.h>

namespace {

EntreesDisposition entrees(int largeur, int hauteur) {
    EntreesDisposition e;
    e.fenetre = {largeur, hauteur};
    e.client = {largeur - 16, hauteur - 39};
    return e;
}

InterfaceActive interfaceSP5(int chxModeDiff) {
    return {chxModeDiff, 4, 8};
}

TEST(Disposition, FacteursDesExemples) {
    struct Cas {
        int l, h;
        int larNom;
        double coH;
        int hauNom;
        double coV;
    };
    const Cas cas[] = {
        {1060, 725, 169, 1.0, 180, 1.0},
        {1910, 990, 212, 1.2544, 232, 1.2889},
        {1356, 678, 161, 0.9527, 180, 1.0},
        {640, 480, 129, 0.7633, 180, 1.0},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(testing::Message() << c.l << " x " << c.h);
        const Disposition d = calculerDisposition(entrees(c.l, c.h));
        EXPECT_EQ(d.LarNomPParametres, c.larNom);
        EXPECT_NEAR(d.coDIMH, c.coH, 5e-5);
        EXPECT_EQ(d.hauNomPVoies, c.hauNom);
        EXPECT_NEAR(d.coDimV, c.coV, 5e-5);
        // The settings panel and the channel panel take their nominal sizes.
        EXPECT_EQ(d.panelParametres.width(), c.larNom);
        EXPECT_EQ(d.voies.PanelVoies.height(), c.hauNom);
    }
}

TEST(Disposition, BarreOutilsSelonLaTaille) {
    struct Cas {
        int l, h;
        int s, q, hauteurBarre;
    };
    // 1910 × 990: min(26 × 1.2889, 26 × 1.2544) = 32; round(30 × 1.2889) = 39.
    // 640 × 480: min(26, 26 × 0.7633) = 19, raised to 26.
    const Cas cas[] = {{1060, 725, 26, 2, 30}, {1910, 990, 32, 2, 39}, {640, 480, 26, 2, 30}};
    for (const Cas& c : cas) {
        SCOPED_TRACE(testing::Message() << c.l << " x " << c.h);
        const Disposition d = calculerDisposition(entrees(c.l, c.h));
        EXPECT_EQ(d.outils.s, c.s);
        EXPECT_EQ(d.outils.q, c.q);
        EXPECT_EQ(d.hauteurPBoutons, c.hauteurBarre);
        for (const QRect& r : d.outils.boutons) {
            EXPECT_EQ(r.width(), c.s);
            EXPECT_EQ(r.height(), c.s);
            EXPECT_EQ(r.y(), c.q);
        }
    }
}

TEST(Disposition, PositionsDesBoutonsALaTailleNominale) {
    // Table of lefts with s = 26 and q = 2: q, s + 2q, 2s + 3q, 3s + 4q, 4s + 9q, 5s + 10q,
    // 6s + 11q, 7s + 15q, 8s + 16q, 9s + 20q, 10s + 21q.
    const int attendus[] = {2, 30, 58, 86, 122, 150, 178, 212, 240, 274, 302};
    struct Cas {
        int nbCentralesGerees;
        std::vector<int> centrales;
        int quitter;
    };
    const Cas cas[] = {{0, {}, 342}, {1, {}, 342}, {2, {334, 427}, 528}, {3, {334, 427, 520}, 621}};
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nbCentralesGerees);
        EntreesDisposition e = entrees(1060, 725);
        e.nbCentralesGerees = c.nbCentralesGerees;
        const Disposition d = calculerDisposition(e);
        for (int i = 0; i < DispositionOutils::SBQuitter; ++i)
            EXPECT_EQ(d.outils.boutons[i].x(), attendus[i]) << "bouton " << i;
        ASSERT_EQ(d.outils.SBCentrales_.size(), c.centrales.size());
        for (std::size_t i = 0; i < c.centrales.size(); ++i) {
            EXPECT_EQ(d.outils.SBCentrales_[i].x(), c.centrales[i]);
            EXPECT_EQ(d.outils.SBCentrales_[i].width(), 91);
            EXPECT_EQ(d.outils.SBCentrales_[i].height(), 26);
        }
        EXPECT_EQ(d.outils.boutons[DispositionOutils::SBQuitter].x(), c.quitter);
        // PPointage 4q right of SBQuitter, Panel2 4q right of PPointage.
        EXPECT_EQ(d.outils.PPointage.x(), c.quitter + 26 + 8);
        EXPECT_EQ(d.outils.Panel2.x(), droite(d.outils.PPointage) + 8);
        EXPECT_EQ(d.outils.Panel2.width(), 460);
    }
}

TEST(Disposition, BoutonsDeCentralesGrandissentSansLimite) {
    // Their width is 3.5 m, m not raised to 26: at 640 × 480 m = 19, so trunc(66.5) = 66.
    EntreesDisposition e = entrees(640, 480);
    e.nbCentralesGerees = 2;
    const Disposition d = calculerDisposition(e);
    ASSERT_EQ(d.outils.SBCentrales_.size(), 2u);
    EXPECT_EQ(d.outils.SBCentrales_[0].width(), 66);
    EXPECT_EQ(d.outils.SBCentrales_[1].x(), droite(d.outils.SBCentrales_[0]) + 2);
}

TEST(Disposition, PointageCentreDansSonPanneau) {
    Metriques m = Metriques::parDefaut();
    m.hauteurEdit = [](const Police&) { return 20; };
    m.tailleLibelle = [](const QString& t, const Police&) { return QSize(t.size() * 7, 15); };
    const Disposition d = calculerDisposition(entrees(1060, 725), m);
    const DispositionOutils& o = d.outils;
    EXPECT_EQ(o.LSerie, QRect(3, 5, 42, 15));
    EXPECT_EQ(o.EditSerieP, QRect(45, 3, 76, 20));
    EXPECT_EQ(o.Lpoint, QRect(124, 5, 35, 15));
    EXPECT_EQ(o.EditPointP, QRect(162, 3, 148, 20));
    EXPECT_EQ(o.PPointage.width(), 314);
    EXPECT_EQ(o.EditMessageX, QRect(3, 3, 220, 20));
    EXPECT_EQ(o.EditPresence, QRect(226, 3, 230, 20));
    EXPECT_EQ(o.PBarExcel, o.EditPresence);
    EXPECT_EQ(o.policeLibellesPointage.hauteurSignee(), -12);
    EXPECT_EQ(o.policeEditsPointage.hauteurSignee(), -11);
}

TEST(Disposition, PanneauxPrincipaux) {
    const Disposition d = calculerDisposition(entrees(1060, 725)); // client 1044 × 686
    EXPECT_EQ(d.panelParametres, QRect(1044 - 169, 30, 169, 686 - 30));
    EXPECT_EQ(d.voies.PanelVoies, QRect(3, 686 - 180 - 3, 1044 - 169 - 6, 180));
    EXPECT_EQ(d.PanelEcranTab, QRect(2, 32, 1044 - 169 - 6, 686 - 180 - 3 - 30 - 6));
    EXPECT_EQ(d.largeurSplitter1, 5);
    EXPECT_EQ(d.tailleMinSplitter1, 80);
    EXPECT_EQ(d.largeurSBVert, 6);
}

TEST(Disposition, BoitesDesCanauxALaTailleNominale) {
    struct Cas {
        int largeurClient;
        int nbCanaux;
        std::vector<int> gauches;
    };
    const Cas cas[] = {
        {1200, 4, {40, 330, 620, 910}}, // (1200 - 1000) div 5 = 40
        {1200, 3, {112, 474, 836}},     // (1200 - 750) div 4 = 112
        {846, 4, {4, 258, 512, 766}},   // too narrow: the gap stays 4
        {1003, 4, {4, 258, 512, 766}},  // (1003 - 1000) div 5 = 0, raised to 4
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(testing::Message() << c.largeurClient << " / " << c.nbCanaux);
        EntreesDisposition e = entrees(1060, 725);
        e.interfaceActive = InterfaceActive{2, c.nbCanaux, c.nbCanaux};
        e.largeurClientScrBoxVoies = c.largeurClient;
        const Disposition d = calculerDisposition(e);
        for (int j = 0; j < 4; ++j) {
            if (j >= c.nbCanaux) {
                EXPECT_FALSE(d.voies.gbCanaux[j].has_value());
                continue;
            }
            ASSERT_TRUE(d.voies.gbCanaux[j].has_value());
            EXPECT_EQ(d.voies.gbCanaux[j]->rect, QRect(c.gauches[j], 3, 250, 160));
            EXPECT_EQ(d.voies.gbCanaux[j]->police,
                      (Police{11, Police::Points, false, POLICE_VOIES}));
        }
    }
}

TEST(Disposition, ModeDiffParCanalHuitEntrees) {
    EntreesDisposition e = entrees(1910, 990);
    e.interfaceActive = interfaceSP5(1);
    const Disposition d = calculerDisposition(e);
    const int V25 = d.V(25);
    ASSERT_EQ(V25, 32);
    for (int j = 0; j < 4; ++j) {
        ASSERT_TRUE(d.voies.gbCanaux[j]);
        EXPECT_EQ(d.voies.gbCanaux[j]->rect.height(), d.V(310));
        EXPECT_TRUE(d.voies.gbCanaux[j]->modeDiffVisible);
        const int W = d.H(250);
        EXPECT_EQ(d.voies.gbCanaux[j]->CBModeDiff,
                  QRect(W - d.H(100) - d.H(15), d.H(20), d.H(100), d.V(19)));
    }
    for (int k = 0; k < 8; ++k)
        ASSERT_TRUE(d.voies.entrees[k]) << k;
    const DispositionEntree& e1 = *d.voies.entrees[1];
    const DispositionEntree& e5 = *d.voies.entrees[5];
    EXPECT_EQ(e5.canal, 1);
    EXPECT_TRUE(e5.titreVisible);
    // The second input of the box stands 160 + 25V lower, title included.
    for (auto membre : {&DispositionEntree::LTitreVoies, &DispositionEntree::CBVoiesActives,
                        &DispositionEntree::RGCalsEA, &DispositionEntree::LValU1,
                        &DispositionEntree::EditValU, &DispositionEntree::legendes}) {
        EXPECT_EQ((e5.*membre).y() - (e1.*membre).y(), 160 + V25);
        EXPECT_EQ((e5.*membre).x(), (e1.*membre).x());
    }
    // Input 1: title at 30V, check box at d + 25V, range group at d + 21V.
    EXPECT_EQ(e1.LTitreVoies.y(), d.V(30));
    EXPECT_EQ(e1.CBVoiesActives.y(), V25 + d.V(25));
    EXPECT_EQ(e1.RGCalsEA.y(), V25 + d.V(21));
    EXPECT_EQ(e1.policeTitre,
              (Police{std::min(d.V(13), d.H(13)), Police::Points, true, POLICE_VOIES}));
}

TEST(Disposition, ModeDiffGlobalSansTitres) {
    EntreesDisposition e = entrees(1060, 725);
    e.interfaceActive = InterfaceActive{2, 4, 4};
    const Disposition d = calculerDisposition(e);
    for (int j = 0; j < 4; ++j) {
        EXPECT_EQ(d.voies.gbCanaux[j]->rect.height(), 160);
        EXPECT_FALSE(d.voies.gbCanaux[j]->modeDiffVisible);
    }
    for (int k = 0; k < 4; ++k) {
        EXPECT_FALSE(d.voies.entrees[k]->titreVisible);
        EXPECT_EQ(d.voies.entrees[k]->CBVoiesActives.y(), 25);
    }
    for (int k = 4; k < 8; ++k) {
        EXPECT_FALSE(d.voies.entrees[k]) << k; // beyond nbEAU: left alone
        EXPECT_FALSE(d.voies.entreeMasquee[k]);
    }
}

TEST(Disposition, TableauDUneEntreeALaTailleNominale) {
    Metriques m = Metriques::parDefaut();
    m.tailleLibelle = [](const QString& t, const Police&) { return QSize(t.size() * 8, 14); };
    EntreesDisposition e = entrees(1060, 725);
    e.interfaceActive = InterfaceActive{2, 4, 4};
    e.symboles[2] = "u";
    e.indicesSymboles[2] = "12";
    const Disposition d = calculerDisposition(e, m);
    const DispositionEntree& x = *d.voies.entrees[2];
    EXPECT_EQ(x.CBVoiesActives, QRect(15, 25, 166, 19)); // 250 × 2 / 3 = 166
    EXPECT_EQ(x.RGCalsEA, QRect(250 - 83 - 15, 21, 83, 110));
    EXPECT_EQ(x.LValU1, QRect(10, 47, 8, 15));
    EXPECT_EQ(x.LValUInd, QRect(18, 47 + 7, 16, 15));
    EXPECT_EQ(x.LEgale, QRect(37, 47, 8, 15));
    EXPECT_EQ(x.EditValU, QRect(48, 47, 83, 20));
    EXPECT_EQ(x.legendes, QRect(15, 131 - 25 - 6, 35, 25));
}

TEST(Disposition, SansCentraleQuatreBoites) {
    EntreesDisposition e = entrees(1060, 725);
    e.largeurClientScrBoxVoies = 1100;
    const Disposition d = calculerDisposition(e);
    for (int j = 0; j < 4; ++j) {
        ASSERT_TRUE(d.voies.gbCanaux[j]);
        EXPECT_EQ(d.voies.gbCanaux[j]->rect, QRect(20 + j * 270, 3, 250, 160)); // 100 div 5
        EXPECT_FALSE(d.voies.gbCanaux[j]->modeDiffVisible);
    }
    for (int k = 0; k < 4; ++k) {
        ASSERT_TRUE(d.voies.entrees[k]);
        EXPECT_FALSE(d.voies.entrees[k]->titreVisible);
        EXPECT_EQ(d.voies.entrees[k]->CBVoiesActives.y(), 25);
        EXPECT_FALSE(d.voies.entreeMasquee[k]);
    }
    for (int k = 4; k < 8; ++k) {
        EXPECT_FALSE(d.voies.entrees[k]);
        EXPECT_TRUE(d.voies.entreeMasquee[k]);
    }
}

TEST(Disposition, ReduireEtRestaurerLePanneauDesVoies) {
    EtatPanneauxLateraux etat;
    const Bascule reduit = basculerPanneauVoies(etat, 15, 180);
    EXPECT_TRUE(etat.pVoiesReduit);
    EXPECT_FLOAT_EQ(etat.coPVoies, 0.1f);
    EXPECT_EQ(reduit.legendeBouton, QStringLiteral("  ▲"));
    EXPECT_EQ(reduit.taille, 17);
    EXPECT_FALSE(reduit.ScrollBoxVisible);
    EXPECT_TRUE(reduit.legendePanneau.isEmpty());

    // The window lays the channel panel out again with the strip's height.
    EntreesDisposition e = entrees(1060, 725);
    e.pVoiesReduit = true;
    e.hauteurPanelVoiesImposee = reduit.taille;
    Disposition d = calculerDisposition(e);
    EXPECT_EQ(d.voies.PanelVoies.height(), 17);
    EXPECT_EQ(d.PanelEcranTab.height(), d.voies.PanelVoies.y() - 30 - 6);
    EXPECT_FALSE(d.voies.ScrBoxVoiesVisible);
    EXPECT_FALSE(d.voies.mesures);
    EXPECT_FALSE(d.voies.gbCanaux[0]);

    // A later full pass sizes it from the 0.1 factor.
    e.hauteurPanelVoiesImposee.reset();
    d = calculerDisposition(e);
    EXPECT_EQ(d.voies.PanelVoies.height(), 18);
    EXPECT_FALSE(d.voies.ScrBoxVoiesVisible);

    const Bascule restaure = basculerPanneauVoies(etat, 15, 180);
    EXPECT_FALSE(etat.pVoiesReduit);
    EXPECT_FLOAT_EQ(etat.coPVoies, 1.0f);
    EXPECT_EQ(restaure.legendeBouton, QStringLiteral("  ▼"));
    EXPECT_EQ(restaure.taille, 180);
    EXPECT_TRUE(restaure.ScrollBoxVisible);
    EXPECT_EQ(restaure.legendePanneau, QStringLiteral("La patience est la clé du paradis..."));
}

TEST(Disposition, ReduireEtRestaurerLePanneauDesReglages) {
    EtatPanneauxLateraux etat;
    const Bascule reduit = basculerPanneauParametres(etat, 14, 212);
    EXPECT_TRUE(etat.pParametresReduit);
    EXPECT_FLOAT_EQ(etat.coPParametres, 0.1f);
    EXPECT_EQ(reduit.legendeBouton, QStringLiteral("◄"));
    EXPECT_EQ(reduit.taille, 16);
    EXPECT_FALSE(reduit.ScrollBoxVisible);
    EXPECT_FALSE(reduit.LReglagesVisible);

    EntreesDisposition e = entrees(1910, 990);
    e.pParametresReduit = true;
    const Disposition d = calculerDisposition(e);
    EXPECT_EQ(d.panelParametres.width(), 21); // trunc(0.1 × 212)
    EXPECT_FALSE(d.reglages.ScrollBox1Visible);
    // The channel panel widens into the freed room.
    EXPECT_EQ(d.voies.PanelVoies.width(), e.client.width() - 21 - 6);

    const Bascule restaure = basculerPanneauParametres(etat, 14, 212);
    EXPECT_FALSE(etat.pParametresReduit);
    EXPECT_EQ(restaure.legendeBouton, QStringLiteral(" ►"));
    EXPECT_EQ(restaure.taille, 212);
    EXPECT_TRUE(restaure.ScrollBoxVisible && restaure.LReglagesVisible);
}

TEST(Disposition, PanneauDesReglagesALaTailleNominale) {
    Metriques m = Metriques::parDefaut();
    m.tailleLibelle = [](const QString& t, const Police&) { return QSize(t.size() * 6, 16); };
    m.hauteurEdit = [](const Police&) { return 21; };
    m.hauteurListe = [](const Police&) { return 23; }; // made even: 22
    m.hauteurCase = [](const Police&) { return 17; };
    const Disposition d = calculerDisposition(entrees(1060, 725), m);
    const DispositionReglages& r = d.reglages;
    EXPECT_EQ(r.PTitreReglagesTemporels, QRect(0, 0, 169, 18));
    EXPECT_EQ(r.SBRedRegTemp, QRect(1, 3, 14, 14));
    EXPECT_EQ(r.ScrollBox1, QRect(0, 18, 169, d.panelParametres.height() - 18));
    EXPECT_EQ(r.policeControles.hauteurSignee(), -13);
    EXPECT_EQ(r.policeBoutons.hauteurSignee(), -12);
    EXPECT_EQ(r.policeSBRedRegTemp.hauteurSignee(), 13);

    struct Ligne {
        const char* nom;
        QRect obtenu;
        QRect attendu;
    };
    // PanelMesuresPeriodiques 169 - 6 - 4 = 159 wide, groups 159 - 12 = 147 wide.
    const Ligne lignes[] = {
        {"GBParametresTemporels", r.GBParametresTemporels, QRect(6, 2, 147, 226)},
        {"LDureeTotale", r.LDureeTotale, QRect(10, 23, 72, 16)},
        {"CBDureeTotale", r.CBDureeTotale, QRect(21, 42, 90, 30)}, // (147 - 105) div 2
        {"SBDureeTotalePlus", r.SBDureeTotalePlus, QRect(111, 42, 14, 15)},
        {"SBDureeTotaleMoins", r.SBDureeTotaleMoins, QRect(111, 57, 14, 15)},
        {"LNombreDePoints", r.LNombreDePoints, QRect(10, 85, 96, 16)},
        {"CBNbPoints", r.CBNbPoints, QRect(21, 104, 75, 22)},
        {"SBNbPointsPlus", r.SBNbPointsPlus, QRect(96, 104, 14, 11)},
        {"SBNbPointsMoins", r.SBNbPointsMoins, QRect(96, 115, 14, 11)},
        {"LabelTe", r.LabelTe, QRect(10, 139, 66, 16)},
        {"iTe", r.iTe, QRect(21, 158, 105, 25)},
        {"BAcquisitionPrecedente", r.BAcquisitionPrecedente, QRect(5, 196, 137, 25)},
        {"GBDeclenchement", r.GBDeclenchement, QRect(6, 238, 147, 217)},
        {"LType", r.LType, QRect(10, 20, 24, 16)},
        {"CBTypeDeclenchement", r.CBTypeDeclenchement, QRect(13, 39, 120, 24)},
        {"RGSensDeclenchement", r.RGSensDeclenchement, QRect(13, 65, 120, 57)},
        {"LVoieDecl", r.LVoieDecl, QRect(10, 134, 24, 16)},
        {"CBVoieSynchro", r.CBVoieSynchro, QRect(47, 130, 86, 24)}, // 134 + (16 - 24) div 2
        {"LSeuil", r.LSeuil, QRect(10, 163, 30, 16)},
        {"EditUSeuilDecl", r.EditUSeuilDecl, QRect(47, 161, 86, 21)}, // 163 + (16 - 21) div 2
        {"LPretrig", r.LPretrig, QRect(10, 193, 48, 16)},
        {"CBPretrigX", r.CBPretrigX, QRect(65, 189, 68, 24)},
        {"CBAjouterCourbes", r.CBAjouterCourbes, QRect(10, 465, 144, 17)},
        {"CBModePermanent", r.CBModePermanent, QRect(10, 492, 144, 17)},
        {"BAcquisition", r.BAcquisition, QRect(7, 519, 145, 25)},
        {"PanelMesuresPeriodiques", r.PanelMesuresPeriodiques, QRect(3, 6, 159, 559)},
    };
    for (const Ligne& l : lignes)
        EXPECT_EQ(l.obtenu, l.attendu) << l.nom;
}

TEST(Disposition, PanneauDesReglagesAgrandi) {
    // 1910 × 990: H = 1.2544, V = 1.2889. Lists made even: 30V = 38, 24V = 30.
    const Disposition d = calculerDisposition(entrees(1910, 990));
    const DispositionReglages& r = d.reglages;
    EXPECT_EQ(r.PTitreReglagesTemporels.height(), 23);
    EXPECT_EQ(r.SBRedRegTemp, QRect(1, (23 - 18) / 2 + 1, 18, 18));
    EXPECT_EQ(r.CBDureeTotale.size(), QSize(112, 38));
    EXPECT_EQ(r.SBDureeTotalePlus.size(), QSize(18, 19));
    EXPECT_EQ(r.CBTypeDeclenchement.height(), 30);
    EXPECT_EQ(r.GBDeclenchement.y(), bas(r.GBParametresTemporels) + 10);
    EXPECT_EQ(r.policeControles.hauteurSignee(), -16); // min(16.3, 16.7)
    EXPECT_EQ(r.hauteurItemCBVoieSynchro, 29);
}

TEST(Disposition, PanneauDeMesuresCentre) {
    Metriques m = Metriques::parDefaut();
    m.tailleLibelle = [](const QString& t, const Police&) { return QSize(t.size() * 7, 17); };
    m.hauteurEdit = [](const Police&) { return 23; };
    EntreesDisposition e = entrees(1060, 725);
    const Disposition d = calculerDisposition(e, m);
    ASSERT_TRUE(d.voies.mesures);
    const DispositionMesuresSurEcran& p = *d.voies.mesures;
    const QRect s = d.voies.ScrBoxVoies;
    EXPECT_EQ(p.PanelMesuresSurEcran,
              QRect((s.width() - 500) / 2, (s.height() - 170) / 2, 500, 170));
    EXPECT_EQ(p.GBMesureTemps, QRect(72, 3, 159, 164));
    EXPECT_EQ(p.EditDTM, QRect(83, 115, 55, 23));
    EXPECT_EQ(p.LInstant1, QRect(83 - 84 - 5, 28 + 3, 84, 17)); // "Instant 1 : " is 12 long
    EXPECT_EQ(p.LUMax, QRect(69 - 35 - 5, p.LInstant1.y(), 35, 17));
    EXPECT_EQ(p.CBAxes, QRect(134, 28 + 32 + 4, 88, 30));
    EXPECT_EQ(p.BFermerMesuresSurEcran, QRect(4, 170 - 25 - 4, 59, 25));
}

} // namespace
