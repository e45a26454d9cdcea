// The command-line tool's options: what each accepted line gives, and the French message
// of each refused one.
#include "centrale.h"
#include "consolecli.h"
#include "optionscli.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

QStringList mots(const char* ligne) {
    return QString::fromUtf8(ligne).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

struct CasValide {
    const char* ligne;
    std::function<void(TOptionsCli&)> attendu; // applied to the defaults with a .csv
};

TEST(OptionsCli, LignesAcceptees) {
    const CasValide cas[] = {
        {"--csv m.csv", [](TOptionsCli&) {}},
        {"--centrale simulation-sp5 --csv m.csv",
         [](TOptionsCli& o) { o.typeCentrale = CENTRALE_SIMULATION_SP5; }},
        {"--centrale=CAMPUS --csv m.csv", [](TOptionsCli& o) { o.typeCentrale = CENTRALE_CAMPUS; }},
        {"--centrale v6 --csv m.csv", [](TOptionsCli& o) { o.typeCentrale = CENTRALE_V6; }},
        {"--entrees ea1,EA0,EA1 --csv m.csv",
         [](TOptionsCli& o) {
             o.entrees = {QStringLiteral("EA1"), QStringLiteral("EA0")};
         }},
        {"--calibre EA0=1 --calibre ea3=0,2 --csv m.csv",
         [](TOptionsCli& o) {
             o.calibres = {{QStringLiteral("EA0"), QStringLiteral("1")},
                           {QStringLiteral("EA3"), QStringLiteral("0,2")}};
         }},
        {"--differentiel 2 --differentiel Canal0 --differentiel 2 --csv m.csv",
         [](TOptionsCli& o) {
             o.differentiels = {2, 0};
         }},
        {"--duree 2.10-3s --points 60000 --csv m.csv",
         [](TOptionsCli& o) {
             o.duree = QStringLiteral("2.10-3s");
             o.points = QStringLiteral("60000");
         }},
        {"--declenchement seuil --voie-synchro ea1 --seuil -0,5 --sens descendant --pretrig 25% "
         "--csv m.csv",
         [](TOptionsCli& o) {
             o.declenchement = 1;
             o.voieSynchro = QStringLiteral("EA1");
             o.seuil = QStringLiteral("-0,5");
             o.sens = 1;
             o.pretrig = 1;
         }},
        {"--declenchement externe --pretrig 100 --csv m.csv",
         [](TOptionsCli& o) {
             o.declenchement = 2;
             o.pretrig = 4;
         }},
        {"--declenchement manuel --pretrig 0 --csv m.csv",
         [](TOptionsCli& o) {
             o.declenchement = 0;
             o.pretrig = 0;
         }},
        // The extension of the format, as the save dialog gives it.
        {"--csv m", [](TOptionsCli&) {}},
        {"--csv m.dat", [](TOptionsCli&) {}},
        {"--regressi d.v2/essai.v2.txt --txt - --csv m.csv",
         [](TOptionsCli& o) {
             o.regressi = QStringLiteral("d.v2/essai.rw3");
             o.txt = QStringLiteral("-");
         }},
        {"--attente-max 500ms --csv m.csv", [](TOptionsCli& o) { o.attenteMax = 0.5; }},
        {"--declenchement seuil --seuil -1 --csv m.csv",
         [](TOptionsCli& o) {
             o.declenchement = 1;
             o.seuil = QStringLiteral("-1");
         }},
        {"--csv-virgule --csv m.csv", [](TOptionsCli& o) { o.csvVirgule = true; }},
        {"--trames 3 --regressi a.rw3 --txt a.txt --csv m.csv",
         [](TOptionsCli& o) {
             o.trames = 3;
             o.regressi = QStringLiteral("a.rw3");
             o.txt = QStringLiteral("a.txt");
         }},
    };
    for (const CasValide& c : cas) {
        SCOPED_TRACE(c.ligne);
        const TAnalyseCli r = analyserOptions(mots(c.ligne));
        EXPECT_EQ(r.erreur.toStdString(), "");
        TOptionsCli attendu;
        attendu.csv = QStringLiteral("m.csv");
        c.attendu(attendu);
        EXPECT_TRUE(r.options == attendu);
    }
}

TEST(OptionsCli, AideEtListeSansFichier) {
    // No file is needed to ask for help or the list of units.
    for (const char* ligne : {"--help", "--aide", "-h", "--entrees EA1 --help"}) {
        SCOPED_TRACE(ligne);
        const TAnalyseCli r = analyserOptions(mots(ligne));
        EXPECT_TRUE(r.erreur.isEmpty());
        EXPECT_TRUE(r.options.aide);
    }
    const TAnalyseCli l = analyserOptions({QStringLiteral("--lister")});
    EXPECT_TRUE(l.erreur.isEmpty());
    EXPECT_TRUE(l.options.lister);
}

TEST(OptionsCli, DureeVideDonneeTelleQuelle) {
    // An empty value is not "no value": the settings routine refuses it with its message.
    const TAnalyseCli r = analyserOptions(mots("--duree= --csv m.csv"));
    ASSERT_TRUE(r.erreur.isEmpty());
    ASSERT_TRUE(r.options.duree.has_value());
    EXPECT_TRUE(r.options.duree->isEmpty());
}

struct CasRefuse {
    const char* ligne;
    const char* message;
};

TEST(OptionsCli, LignesRefusees) {
    const CasRefuse cas[] = {
        {"--foo --csv m.csv", "Option inconnue : --foo."},
        {"mesure.csv", "Argument inattendu : « mesure.csv »."},
        {"--csv", "L'option --csv attend une valeur."},
        {"--csv=", "L'option --csv attend un nom de fichier."},
        // The next option is no value: the file would be named «--txt».
        {"--csv --txt a.txt", "L'option --csv attend une valeur."},
        {"--duree --points 11 --csv m.csv", "L'option --duree attend une valeur."},
        {"--attente-max 0 --csv m.csv",
         "Valeur incorrecte pour --attente-max : « 0 » (durée positive, par exemple « 30 s »)."},
        {"--attente-max 1h --csv m.csv",
         "Valeur incorrecte pour --attente-max : « 1h » (durée positive, par exemple « 30 s »)."},
        {"--txt - --csv -", "Les options --txt et --csv désignent le même fichier : « - »."},
        {"--centrale sp6 --csv m.csv",
         "Valeur incorrecte pour --centrale : « sp6 » (simulation-sp5, sp5, simulation-v6, v6, "
         "simulation-campus ou campus)."},
        {"--entrees EA0,EA8 --csv m.csv",
         "Valeur incorrecte pour --entrees : « EA0,EA8 » (entrées séparées par des virgules, par "
         "exemple EA0,EA1)."},
        {"--calibre EA0 --csv m.csv",
         "Valeur incorrecte pour --calibre : « EA0 » (entrée=calibre en volts, par exemple "
         "EA0=1)."},
        {"--differentiel 4 --csv m.csv",
         "Valeur incorrecte pour --differentiel : « 4 » (numéro de canal de 0 à 3)."},
        {"--declenchement auto --csv m.csv",
         "Valeur incorrecte pour --declenchement : « auto » (manuel, seuil ou externe)."},
        {"--sens haut --csv m.csv",
         "Valeur incorrecte pour --sens : « haut » (montant ou descendant)."},
        {"--pretrig 30 --csv m.csv",
         "Valeur incorrecte pour --pretrig : « 30 » (0, 25, 50, 75 ou 100)."},
        {"--trames 0 --csv m.csv",
         "Valeur incorrecte pour --trames : « 0 » (nombre entier de trames, au moins 1)."},
        {"--entrees EA0",
         "Aucun fichier demandé : indiquez au moins une des options --regressi, --txt ou --csv."},
        {"--seuil 1 --csv m.csv",
         "Les options --voie-synchro et --seuil demandent --declenchement seuil."},
        {"--declenchement externe --voie-synchro EA0 --csv m.csv",
         "Les options --voie-synchro et --seuil demandent --declenchement seuil."},
        {"--pretrig 50 --csv m.csv",
         "Les options --sens et --pretrig demandent --declenchement seuil ou externe."},
        {"--csv-virgule --txt a.txt", "L'option --csv-virgule demande --csv."},
    };
    for (const CasRefuse& c : cas) {
        SCOPED_TRACE(c.ligne);
        EXPECT_EQ(analyserOptions(mots(c.ligne)).erreur.toStdString(), std::string(c.message));
    }
} // namespace

TEST(OptionsCli, NomsDEntrees) {
    const std::pair<const char*, int> cas[] = {{"EA0", 0}, {" ea7 ", 7}, {"EA8", -1},
                                               {"A0", -1}, {"EA", -1},   {"EA01", -1}};
    for (const auto& [texte, n] : cas) {
        SCOPED_TRACE(texte);
        EXPECT_EQ(numeroEntree(QString::fromUtf8(texte)), n);
    }
}

TEST(ConsoleCli, Barre) {
    EXPECT_EQ(TConsoleCli::texteBarre(0.0, 10), QStringLiteral("[----------]   0 %"));
    EXPECT_EQ(TConsoleCli::texteBarre(0.456, 10), QStringLiteral("[####------]  45 %"));
    EXPECT_EQ(TConsoleCli::texteBarre(1.0, 10), QStringLiteral("[##########] 100 %"));
    // Out of range or not a number: kept inside the bar.
    EXPECT_EQ(TConsoleCli::texteBarre(1.7, 4), QStringLiteral("[####] 100 %"));
    EXPECT_EQ(TConsoleCli::texteBarre(std::nan(""), 4), QStringLiteral("[----]   0 %"));
}

TEST(ConsoleCli, FinsDeLigne) {
    EXPECT_EQ(TConsoleCli::texteConsole(QStringLiteral("a\n\rb\r\nc\rd")),
              QStringLiteral("a\nb\nc\nd"));
}

} // namespace
