#include "inscriptionregressi.h"

#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(InscriptionRegressi, PremierePlaceLibreDejaInscritOuComplet) {
    struct Cas {
        const char* nom;
        std::vector<std::pair<QString, QString>> avant;
        bool ecrit;
        QString place;
    };
    const QString nous = QStringLiteral("C:\\Prog\\Kirvane.exe");
    const Cas cas[] = {
        {"vide", {}, true, "0"},
        {"0 et 1 pris", {{"0", "C:\\A.exe"}, {"1", "C:\\B.exe"}}, true, "2"},
        {"deja sous 3 (casse)",
         {{"0", "a"}, {"1", "b"}, {"2", "c"}, {"3", "c:\\prog\\kirvane.exe"}},
         false,
         ""},
        {"complet",
         {{"0", "a"}, {"1", "b"}, {"2", "c"}, {"3", "d"}, {"4", "e"}, {"5", "f"}},
         false,
         ""},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        QTemporaryDir dossier;
        QSettings reglages(dossier.path() + "/regressi.ini", QSettings::IniFormat);
        for (const auto& [n, v] : c.avant)
            reglages.setValue(n, v);
        EXPECT_EQ(inscrireAupresDeRegressi(reglages, nous), c.ecrit);
        if (c.ecrit) {
            EXPECT_EQ(reglages.value(c.place).toString(), nous);
        }
        for (const auto& [n, v] : c.avant)
            EXPECT_EQ(reglages.value(n).toString(), v); // nothing else is touched
    }
}

} // namespace
