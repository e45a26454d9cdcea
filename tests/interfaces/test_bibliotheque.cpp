// Loading a unit's library by absolute path and resolving its functions into a table.
#include "bibliotheque.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdint>

namespace {

const QString cheminEssai = QStringLiteral(KIRVANE_BIBLIO_ESSAI);

bool leurre() {
    return false;
}

struct TableEssai {
    bool(KIRVANE_STDCALL* Present)() = nullptr;
    uint8_t(KIRVANE_STDCALL* LireRegistre)(uint8_t) = nullptr;
    void(KIRVANE_STDCALL* EcrireRegistre)(uint8_t, uint8_t) = nullptr;
    int32_t(KIRVANE_STDCALL* NombreAppels)() = nullptr;

    std::vector<TLienFonction> liens() {
        return {lienFonction("Present", Present), lienFonction("LireRegistre", LireRegistre),
                lienFonction("EcrireRegistre", EcrireRegistre),
                lienFonction("NombreAppels", NombreAppels)};
    }
};

TEST(Bibliotheque, ChargeParCheminAbsoluEtAppelleLesFonctions) {
    ASSERT_TRUE(QFileInfo(cheminEssai).isAbsolute());
    TableEssai table;
    TBibliotheque biblio;
    ASSERT_TRUE(biblio.charger(cheminEssai)) << biblio.raisonEchec().toStdString();
    EXPECT_TRUE(biblio.chargee());
    EXPECT_EQ(biblio.resoudre(table.liens()), QString());

    const int32_t avant = table.NombreAppels();
    EXPECT_TRUE(table.Present());
    table.EcrireRegistre(24, 0x5A);
    table.EcrireRegistre(25, 0xA5);
    EXPECT_EQ(table.LireRegistre(24), 0x5A);
    EXPECT_EQ(table.LireRegistre(25), 0xA5);
    EXPECT_EQ(table.NombreAppels(), avant + 5);
}

TEST(Bibliotheque, FonctionAbsenteDonneLeTexteDeLaPremiere) {
    TableEssai table;
    bool (*absente)() = &leurre; // must come back null
    uint8_t (*autre)(uint8_t) = nullptr;
    TBibliotheque biblio;
    ASSERT_TRUE(biblio.charger(cheminEssai));
    const QString erreur =
        biblio.resoudre({lienFonction("Present", table.Present), lienFonction("Absente", absente),
                         lienFonction("AutreAbsente", autre)});
    EXPECT_EQ(erreur, QStringLiteral("Erreur lors du chargement de Absente"));
    EXPECT_NE(table.Present, nullptr);
    EXPECT_EQ(absente, nullptr);
    EXPECT_EQ(autre, nullptr);
}

TEST(Bibliotheque, CheminsRefuses) {
    const QFileInfo essai(cheminEssai);
    const QString ancienDossier = QDir::currentPath();
    // From the library's own folder, its bare name and a relative path designate an
    // existing file: they are refused all the same.
    ASSERT_TRUE(QDir::setCurrent(essai.absolutePath()));
    QTemporaryDir vide;
    const struct {
        const char* nom;
        QString chemin;
    } cas[] = {
        {"nom nu", essai.fileName()}, {"relatif", QStringLiteral("./") + essai.fileName()},
        {"vide", QString()},          {"absent", vide.path() + QStringLiteral("/introuvable.so")},
        {"dossier", vide.path()},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        TBibliotheque biblio;
        EXPECT_FALSE(biblio.charger(c.chemin));
        EXPECT_FALSE(biblio.chargee());
        EXPECT_FALSE(biblio.raisonEchec().isEmpty());
        TableEssai table;
        EXPECT_EQ(biblio.resoudre(table.liens()),
                  QStringLiteral("%1 n'est pas chargé").arg(c.chemin));
        EXPECT_EQ(table.Present, nullptr);
    }
    QDir::setCurrent(ancienDossier);
}

TEST(Bibliotheque, FichierQuiNestPasUneBibliotheque) {
    QTemporaryDir dossier;
    const QString chemin = dossier.path() + QStringLiteral("/faux.so");
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("pas une bibliothèque");
    f.close();
    TBibliotheque biblio;
    EXPECT_FALSE(biblio.charger(chemin));
    EXPECT_FALSE(biblio.chargee());
}

TEST(Bibliotheque, LibererVideLaTableEtDecharge) {
    TableEssai table;
    TBibliotheque biblio;
    ASSERT_TRUE(biblio.charger(cheminEssai));
    ASSERT_EQ(biblio.resoudre(table.liens()), QString());
    biblio.liberer();
    EXPECT_FALSE(biblio.chargee());
    EXPECT_EQ(table.Present, nullptr);
    EXPECT_EQ(table.LireRegistre, nullptr);
    EXPECT_EQ(table.EcrireRegistre, nullptr);
    EXPECT_EQ(table.NombreAppels, nullptr);
    EXPECT_EQ(biblio.adresse(QStringLiteral("Present")), nullptr);
    // Loading again works.
    ASSERT_TRUE(biblio.charger(cheminEssai));
    EXPECT_EQ(biblio.resoudre(table.liens()), QString());
    EXPECT_TRUE(table.Present());
}

TEST(Bibliotheque, LaDestructionDecharge) {
    // The library keeps its counter in its own data: once truly unloaded, a new load
    // starts it again from zero.
    {
        TableEssai table;
        TBibliotheque biblio;
        ASSERT_TRUE(biblio.charger(cheminEssai));
        ASSERT_EQ(biblio.resoudre(table.liens()), QString());
        table.Present();
        table.Present();
        ASSERT_GE(table.NombreAppels(), 2);
    }
    TableEssai table;
    TBibliotheque biblio;
    ASSERT_TRUE(biblio.charger(cheminEssai));
    ASSERT_EQ(biblio.resoudre(table.liens()), QString());
    EXPECT_EQ(table.NombreAppels(), 0);
}

TEST(Bibliotheque, TextesDErreur) {
    EXPECT_EQ(texteErreurChargementFonction(QStringLiteral("LireFifo")),
              QStringLiteral("Erreur lors du chargement de LireFifo"));
    EXPECT_EQ(texteBibliothequeNonChargee(QStringLiteral("SP5.DLL")),
              QStringLiteral("SP5.DLL n'est pas chargé"));
    const EErreurBibliotheque e(texteBibliothequeNonChargee(QStringLiteral("SP5SIM.DLL")));
    EXPECT_EQ(e.texte(), QStringLiteral("SP5SIM.DLL n'est pas chargé"));
    EXPECT_EQ(QString::fromStdString(e.what()), e.texte());
}

} // namespace

namespace {

TEST(Bibliotheque, DeuxDetenteursDuMemeFichierNeSeRetirentPasLaBibliotheque) {
    // Detection keeps one driver while switching makes another on the same file: releasing
    // the first must leave the second's functions callable.
    TableEssai premiere, seconde;
    TBibliotheque a, b;
    ASSERT_TRUE(a.charger(cheminEssai));
    ASSERT_TRUE(b.charger(cheminEssai));
    ASSERT_EQ(a.resoudre(premiere.liens()), QString());
    ASSERT_EQ(b.resoudre(seconde.liens()), QString());
    const int32_t avant = seconde.NombreAppels();
    a.liberer();
    EXPECT_EQ(premiere.Present, nullptr);
    EXPECT_TRUE(b.chargee());
    seconde.Present();
    EXPECT_GT(seconde.NombreAppels(), avant); // still the same loaded copy, counting on
}

} // namespace
