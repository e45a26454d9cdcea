// The Calc transfer's decisions against a recording office: new workbook or new sheet, a free
// sheet name, the cells and formats written, the progress, and the messages of each failure.
#include "calc_enregistreur.h"
#include "exemple_export.h"
#include "transfertregressi.h"

namespace {

struct CasMode {
    bool premiere;
    int option;
    bool vivant;
    TModeCalc attendu;
};

class ModeCalc : public testing::TestWithParam<CasMode> {};

TEST_P(ModeCalc, SelonOptionEtClasseur) {
    const CasMode& c = GetParam();
    EXPECT_EQ(modeTransfertCalc(c.premiere, c.option, c.vivant), c.attendu);
}

using enum TModeCalc;
INSTANTIATE_TEST_SUITE_P(
    Cas, ModeCalc,
    testing::Values(CasMode{true, OPTION_TOO_NOUVELLE_FEUILLE, true, NouveauClasseur},
                    CasMode{true, OPTION_TOO_DEMANDER, true, NouveauClasseur},
                    CasMode{false, OPTION_TOO_NOUVEAU_CLASSEUR, true, NouveauClasseur},
                    CasMode{false, OPTION_TOO_NOUVELLE_FEUILLE, true, NouvelleFeuille},
                    CasMode{false, OPTION_TOO_NOUVELLE_FEUILLE, false, NouveauClasseur},
                    CasMode{false, OPTION_TOO_DEMANDER, true, Demander},
                    CasMode{false, OPTION_TOO_DEMANDER, false, NouveauClasseur},
                    CasMode{false, 7, true, NouveauClasseur}));

TEST(NomFeuilleLibre, UnNomQuAucuneFeuilleNePorte) {
    const struct {
        QStringList feuilles;
        QString attendu;
    } cas[] = {
        {{"Transfert", "Transfert2"}, "Transfert3"},
        {{"Transfert", "TRANSFERT3"}, "Transfert3a"},
        {{"transfert3", "Transfert3A", "TRANSFERT3b"}, "Transfert3c"},
        {{}, "Transfert3"},
    };
    for (const auto& c : cas)
        EXPECT_EQ(nomFeuilleLibre(QStringLiteral("Transfert3"), c.feuilles), c.attendu)
            << c.feuilles.join(u',').toStdString();
    // Past "z" the suffix takes two letters.
    QStringList pleines{QStringLiteral("F")};
    for (char l = 'a'; l <= 'z'; ++l)
        pleines << QStringLiteral("F") + QChar(l);
    EXPECT_EQ(nomFeuilleLibre(QStringLiteral("F"), pleines), QStringLiteral("Faa"));
}

class TransfertCalcEssai : public testing::Test {
protected:
    CalcEnregistreur* calc = nullptr;
    FenetreEnregistreuse fenetre;
    TExecuteurCalcImmediat executeur;
    std::unique_ptr<TTransfertCalc> transfert;
    std::optional<TIssueTransfertCalc> issue;

    void SetUp() override {
        auto c = std::make_unique<CalcEnregistreur>();
        calc = c.get();
        transfert = std::make_unique<TTransfertCalc>(std::move(c), executeur, fenetre);
    }
    TIssueTransfertCalc transferer(const TInstantaneExport& e, int option) {
        issue.reset();
        transfert->TransfertOOCalcPP(e, option, [this](TIssueTransfertCalc i) { issue = i; });
        EXPECT_TRUE(issue.has_value());
        EXPECT_FALSE(transfert->enCours());
        return issue.value_or(TIssueTransfertCalc::EnCours);
    }
};

TEST_F(TransfertCalcEssai, ExempleDansUnNouveauClasseur) {
    ASSERT_EQ(transferer(exempleExport(), OPTION_TOO_NOUVELLE_FEUILLE),
              TIssueTransfertCalc::Transfere);
    const QStringList attendus = {
        "connecter",
        "nouveauClasseur Transfert",
        "suspendreAffichage 1",
        "fusionner $A$1:$G$1",
        "alignement $A$1:$G$1 1",
        "fusionner $A$2:$G$2",
        "alignement $A$2:$G$2 1",
        QString::fromUtf8(
            "ecrireTextes 1 Mesures réalisées avec l'interface SYSAM SP5 le 09/12/2026 à 10:15:00"),
        QString::fromUtf8("ecrireTextes 2 5 points répartis sur 4,000 ms   2 séries mesurées "),
        "ecrireTextes 3 t|u0_M|u1_5",
        "ecrireTextes 4 s|V|V",
        "ecrireNombres 5 5x3",
        "couleurFond $A$1:$A$2 9816575",
        "gras $A$1:$A$2",
        "gras $A$3:$C4",
        "couleurFond $A$3:$C4 16774599",
        "alignement $A$3:$C4 2",
        "formatNombres A5:C9",
        "alignement A5:C9 2",
        "selectionner $D5",
        "suspendreAffichage 0",
    };
    EXPECT_EQ(calc->appels, attendus);
    // Numbers as the 6-digit texts read them: the time from the left cursor, then each curve.
    const std::vector<double> nombres = {0,     0,     -0.25, 0.001, 0.5,   -0.25, 0.002, 1,
                                         -0.25, 0.003, 1.5,   -0.25, 0.004, 2,     -0.25};
    EXPECT_EQ(calc->nombres, nombres);
    EXPECT_EQ(fenetre.debuts, 1);
    EXPECT_EQ(fenetre.fins, 1);
    EXPECT_EQ(fenetre.messagesX, (QStringList{messageConnexionCalc(), messageTransfertCalcEnCours(),
                                              messageTransfertCalcTermine()}));
    EXPECT_EQ(fenetre.progressions, (QList<int>{0, 100}));
    EXPECT_TRUE(fenetre.messages.isEmpty());
    EXPECT_EQ(transfert->numTransfertOOO_CC, 1);
}

TEST_F(TransfertCalcEssai, EnteteAvecPointVirguleEtGuillemetsResteUnTexte) {
    TInstantaneExport e = exempleExport();
    e.series[0].sEnteteVM = QStringLiteral("a;\"b\"");
    transferer(e, OPTION_TOO_NOUVEAU_CLASSEUR);
    EXPECT_EQ(calc->appelsDe("ecrireTextes 3"),
              QStringList{QStringLiteral("ecrireTextes 3 t|a;\"b\"|u1_5")});
    EXPECT_EQ(calc->appelsDe("ecrireNombres"), QStringList{"ecrireNombres 5 5x3"});
}

TEST_F(TransfertCalcEssai, ProgressionParLignesEcritesDepuisLeCurseurGauche) {
    TInstantaneExport e = exempleExport();
    e.series.clear();
    for (int j = 0; j < 5; ++j)
        e.series.push_back(serieRampe(QStringLiteral("u%1").arg(j), 10001, 0.001f));
    e.dtAX = 1e-4;
    e.nbPtsAX = 10001;
    e.dureeTotaleAX = 1.0;
    e.t0 = 0.25f; // sample 2500
    e.tFin = 1.0;
    ASSERT_EQ(transferer(e, OPTION_TOO_NOUVEAU_CLASSEUR), TIssueTransfertCalc::Transfere);
    // 7501 rows of 6 cells, 2000 rows per block, following each other from row 5.
    EXPECT_EQ(calc->appelsDe("ecrireNombres"),
              (QStringList{"ecrireNombres 5 2000x6", "ecrireNombres 2005 2000x6",
                           "ecrireNombres 4005 2000x6", "ecrireNombres 6005 1501x6"}));
    EXPECT_EQ(fenetre.progressions, (QList<int>{0, 27, 53, 80, 100}));
    ASSERT_EQ(calc->nombres.size(), 7501u * 6);
    EXPECT_EQ(calc->nombres[0], 0.0);                 // the first row's time
    EXPECT_NEAR(calc->nombres[1], 2.5, 1e-6);         // sample 2500 of a ramp
    EXPECT_NEAR(calc->nombres[7500 * 6], 0.75, 1e-9); // the last row's time
    EXPECT_EQ(calc->appelsDe("formatNombres"), QStringList{"formatNombres A5:F7505"});
    EXPECT_EQ(calc->appelsDe("selectionner"), QStringList{"selectionner $G5"});
}

TEST_F(TransfertCalcEssai, LignesBorneesParLesSeriesValidees) {
    // Markers left where a longer duration put them: only the samples acquired are written.
    TInstantaneExport e = exempleExport();
    e.series = {serieRampe("u0", 1001, 0.01f), serieRampe("u1", 1001, 0.02f)};
    e.dtAX = 1e-5;
    e.nbPtsAX = 1001;
    e.dureeTotaleAX = 0.01;
    e.t0 = 0.0f;
    e.tFin = 0.05;
    ASSERT_EQ(transferer(e, OPTION_TOO_NOUVEAU_CLASSEUR), TIssueTransfertCalc::Transfere);
    EXPECT_EQ(calc->appelsDe("ecrireNombres"), QStringList{"ecrireNombres 5 1001x3"});
    EXPECT_EQ(calc->appelsDe("formatNombres"), QStringList{"formatNombres A5:C1005"});
    EXPECT_EQ(calc->appelsDe("selectionner"), QStringList{"selectionner $D5"});
}

TEST_F(TransfertCalcEssai, SansValeurEntreLesCurseursRienNEstFait) {
    TInstantaneExport e = exempleExport();
    e.t0 = 0.004f; // the last sample: nothing after it
    EXPECT_EQ(transferer(e, OPTION_TOO_NOUVEAU_CLASSEUR), TIssueTransfertCalc::AucuneValeur);
    EXPECT_TRUE(calc->appels.isEmpty());
    EXPECT_EQ(fenetre.debuts, 0);
    EXPECT_EQ(fenetre.fins, 0);
    EXPECT_EQ(fenetre.messages, QStringList{messageAucuneValeurTransfert()});
}

TEST_F(TransfertCalcEssai, TransfertsSuivantsSelonLOption) {
    const TInstantaneExport e = exempleExport();
    transferer(e, OPTION_TOO_NOUVELLE_FEUILLE);
    calc->feuilles << QStringLiteral("TRANSFERT3"); // a sheet the user added
    transferer(e, OPTION_TOO_NOUVELLE_FEUILLE);
    transferer(e, OPTION_TOO_NOUVELLE_FEUILLE);
    EXPECT_EQ(calc->appelsDe("nouve"),
              (QStringList{"nouveauClasseur Transfert", "nouvelleFeuille Transfert2",
                           "nouvelleFeuille Transfert3a"}));
    EXPECT_EQ(calc->appels.count("connecter"), 1);

    // The user closed the workbook: a new one, without a question even when asked to ask.
    calc->vivant = false;
    transferer(e, OPTION_TOO_DEMANDER);
    EXPECT_EQ(fenetre.questions, 0);
    EXPECT_EQ(calc->appelsDe("nouve").last(), QStringLiteral("nouveauClasseur Transfert"));

    // Open again and asked: the answer decides; abandoned, nothing is written.
    fenetre.choix = TModeCalc::NouvelleFeuille;
    transferer(e, OPTION_TOO_DEMANDER);
    EXPECT_EQ(calc->appelsDe("nouve").last(), QStringLiteral("nouvelleFeuille Transfert5"));
    fenetre.choix.reset();
    calc->appels.clear();
    const int fins = fenetre.fins;
    EXPECT_EQ(transferer(e, OPTION_TOO_DEMANDER), TIssueTransfertCalc::Abandonne);
    EXPECT_EQ(fenetre.questions, 2);
    EXPECT_EQ(calc->appels, (QStringList{"classeurVivant"}));
    EXPECT_EQ(fenetre.fins, fins + 1);
    EXPECT_EQ(transfert->numTransfertOOO_CC, 5);
}

TEST_F(TransfertCalcEssai, EchecDeConnexionDesactiveLeBoutonPourLaSession) {
    calc->repond = false;
    EXPECT_EQ(transferer(exempleExport(), OPTION_TOO_NOUVEAU_CLASSEUR),
              TIssueTransfertCalc::SansConnexion);
    EXPECT_EQ(fenetre.messages, QStringList{messageCalcIntrouvable()});
    EXPECT_EQ(fenetre.genres, QList<TGenreMessageCalc>{TGenreMessageCalc::Information});
    EXPECT_TRUE(fenetre.boutonDesactive);
    EXPECT_FALSE(transfert->aATransfertDirectOOCalcDisponible);
    EXPECT_EQ(fenetre.fins, 1);
    EXPECT_EQ(calc->appels, QStringList{"connecter"});
    // Nothing more is tried during this run.
    EXPECT_EQ(transferer(exempleExport(), OPTION_TOO_NOUVEAU_CLASSEUR),
              TIssueTransfertCalc::Indisponible);
    EXPECT_EQ(calc->appels, QStringList{"connecter"});
}

TEST_F(TransfertCalcEssai, OfficeFermeeEntreDeuxTransferts) {
    transferer(exempleExport(), OPTION_TOO_NOUVELLE_FEUILLE);
    calc->vivant = false;
    calc->repond = false;
    EXPECT_EQ(transferer(exempleExport(), OPTION_TOO_NOUVELLE_FEUILLE),
              TIssueTransfertCalc::SansConnexion);
    EXPECT_EQ(fenetre.messages, QStringList{messageCalcIntrouvableReconnexion()});
    EXPECT_TRUE(fenetre.boutonDesactive);
}

TEST_F(TransfertCalcEssai, ErreursDeLOffice) {
    const struct {
        const char* echecSur;
        TIssueTransfertCalc issue;
        QString message;
        TGenreMessageCalc genre;
        bool donneesEcrites;
    } cas[] = {
        {"nouveauClasseur", TIssueTransfertCalc::ErreurCreation, messageErreurCreationCalc(),
         TGenreMessageCalc::Information, false},
        {"ecrireNombres", TIssueTransfertCalc::Erreur, messageErreurTransfertCalc(),
         TGenreMessageCalc::Avertissement, false},
        {"gras", TIssueTransfertCalc::Erreur, messageErreurTransfertCalc(),
         TGenreMessageCalc::Avertissement, true},
        // The header's error is told with the office's own words; the data still go in.
        {"ecrireTextes 1", TIssueTransfertCalc::Transfere,
         QStringLiteral("refus de ecrireTextes 1 ") +
             texteMesuresRealisees(exempleExport(), exempleExport().heureAcq) +
             QStringLiteral("\ncom.sun.star.uno.RuntimeException"),
         TGenreMessageCalc::Simple, true},
    };
    for (const auto& c : cas) {
        SetUp();
        calc->echecSur = QLatin1StringView(c.echecSur);
        EXPECT_EQ(transferer(exempleExport(), OPTION_TOO_NOUVEAU_CLASSEUR), c.issue) << c.echecSur;
        EXPECT_EQ(fenetre.messages.value(fenetre.messages.size() - 1), c.message) << c.echecSur;
        EXPECT_EQ(fenetre.genres.value(fenetre.genres.size() - 1), c.genre) << c.echecSur;
        EXPECT_EQ(calc->nombres.size() == 15, c.donneesEcrites) << c.echecSur;
        // Calc's screen is always given back once its updates were held.
        if (calc->appels.contains("suspendreAffichage 1")) {
            EXPECT_EQ(calc->appels.last(), QStringLiteral("suspendreAffichage 0")) << c.echecSur;
        }
        EXPECT_EQ(fenetre.messagesX.last(), messageTransfertCalcTermine()) << c.echecSur;
    }
}

} // namespace
