// Stored settings: the INI store of QSettings and the reading/writing rules.
#include "reglages.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <vector>

namespace {

using namespace NomsReglages;

class Reglages : public ::testing::Test {
protected:
    QTemporaryDir dossier;
    // The sub-folder does not exist yet: the store creates it when it writes.
    QString ini() const { return dossier.path() + QStringLiteral("/Kirvane/Kirvane.ini"); }

    // One run of the program: read at start, count the start, write at exit.
    TReglagesKirvane executer(const std::function<void(TReglagesKirvane&)>& pendant = {}) {
        TMagasinReglagesQSettings magasin(ini());
        TReglagesKirvane r;
        r.lire(magasin);
        r.compterUtilisation();
        if (pendant)
            pendant(r);
        r.ecrire(magasin);
        EXPECT_TRUE(magasin.synchroniser());
        return r;
    }
};

TEST_F(Reglages, PremierLancementEcritLesValeursParDefautAvecLeursTypes) {
    {
        TMagasinReglagesQSettings magasin(ini());
        EXPECT_FALSE(magasin.cleExiste());
    }
    executer();

    TMagasinReglagesQSettings relu(ini());
    EXPECT_TRUE(relu.cleExiste());
    EXPECT_EQ(relu.lireEntier(NOMBRE_UTILISATIONS), 1);
    EXPECT_EQ(relu.lireReel(DUREE_TOTALE), 0.02);
    EXPECT_EQ(relu.lireEntier(NOMBRE_POINTS), 1001);
    EXPECT_EQ(relu.lireEntier(VERSION_REGRESSI), 1); // a number 0 or 1, not "true"
    EXPECT_EQ(relu.lireBooleen(VERSION_REGRESSI), true);
    EXPECT_EQ(relu.lireTexte(CHEMIN_REGRESSI), QString());
    EXPECT_EQ(relu.lireEntier(OPTION_REGRESSI), 0);
    EXPECT_EQ(relu.lireEntier(OPTION_EXCEL), 0);
    EXPECT_EQ(relu.lireEntier(OPTION_OOO), 0);
    EXPECT_EQ(relu.lireEntier(COULEURS_REGRESSI), 1);
    EXPECT_EQ(relu.lireReel(SEUIL_PRETRIG), 5.0);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(relu.lireEntier(couleurVoie(i)), static_cast<std::int32_t>(clsV0[i])) << i;
    EXPECT_EQ(relu.lireEntier(SEPARATEUR_CSV), 0);                // the point, as the format has it
    EXPECT_FALSE(relu.lireTexte(INTERFACE_UTILISEE).has_value()); // never written

    // The second start counts on from the stored value.
    const TReglagesKirvane deuxieme = executer();
    EXPECT_EQ(deuxieme.nbUtilisations, 2);
    EXPECT_EQ(deuxieme.OptionCouleursRegressi, 1);
}

TEST_F(Reglages, UneCouleurNEstGardeeQueSiLUtilisateurLeDemande) {
    const TColor rose = 0x00FF80FF;
    for (const bool garder : {false, true}) {
        SCOPED_TRACE(garder);
        executer([&](TReglagesKirvane& r) {
            r.clsVX[2] = rose;
            r.enregistrerCouleurs = garder;
        });
        TMagasinReglagesQSettings magasin(ini());
        TReglagesKirvane suivant;
        suivant.lire(magasin);
        EXPECT_EQ(suivant.clsVX[2], garder ? rose : clsV0[2]);
        EXPECT_EQ(suivant.clsVX[3], clsV0[3]);
    }
}

TEST_F(Reglages, InterfaceUtiliseeSensibleALaCasse) {
    const struct {
        const char* texte;
        int type;
    } cas[] = {{"SYSAM SP5", 1},      {"SYSAM V6", 2}, {"SYSAM CAMPUS", 3},
               {"SIMULATION SP5", 4}, {"AUDIO", 5},    {"sysam sp5", 0},
               {"SYSAM SP5 ", 0},     {"Sysam V6", 0}, {"", 0}};
    for (const auto& c : cas) {
        SCOPED_TRACE(c.texte);
        {
            TMagasinReglagesQSettings magasin(ini());
            magasin.ecrireTexte(INTERFACE_UTILISEE, QString::fromUtf8(c.texte));
        }
        TMagasinReglagesQSettings magasin(ini());
        TReglagesKirvane r;
        r.typeDERNCentraleUtilisee = 9;
        r.lire(magasin);
        EXPECT_EQ(r.typeDERNCentraleUtilisee, c.type);
    }
}

// A value of the wrong type counts as absent: the default of a present key applies.
TEST_F(Reglages, UnTexteAuLieuDUnNombreCompteCommeAbsent) {
    {
        TMagasinReglagesQSettings magasin(ini());
        magasin.ecrireTexte(NOMBRE_POINTS, QStringLiteral("abc"));
        magasin.ecrireTexte(DUREE_TOTALE, QStringLiteral("vingt ms"));
        magasin.ecrireTexte(VERSION_REGRESSI, QStringLiteral("peut-être"));
        magasin.ecrireTexte(SEUIL_PRETRIG, QStringLiteral("5,0"));
        magasin.ecrireTexte(couleurVoie(3), QStringLiteral("rouge"));
        magasin.ecrireTexte(NOMBRE_UTILISATIONS, QStringLiteral("12 fois"));
    }
    TMagasinReglagesQSettings magasin(ini());
    EXPECT_FALSE(magasin.lireEntier(NOMBRE_POINTS).has_value());
    EXPECT_FALSE(magasin.lireReel(DUREE_TOTALE).has_value());
    TReglagesKirvane r;
    r.clsVX[3] = 0x123456;
    r.lire(magasin);
    EXPECT_EQ(r.NbPtsDFT, 1001);
    EXPECT_EQ(r.DureeTotaleDFT, 0.02);
    EXPECT_TRUE(r.versionRegressiDefaut);
    EXPECT_EQ(r.tMaxPretrigDispo, 5.0);
    EXPECT_EQ(r.clsVX[3], 0x123456u); // a colour is replaced only by a readable value
    EXPECT_EQ(r.nbUtilisations, 0);
    // The key exists without "Couleurs Kirvane dans Regressi": 0, not the option default.
    EXPECT_EQ(r.OptionCouleursRegressi, 0);
}

// An INI file as a user may write it by hand, in the format QSettings reads.
TEST_F(Reglages, FichierIniEcritALaMain) {
    QDir().mkpath(dossier.path() + QStringLiteral("/Kirvane"));
    QFile f(ini());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[General]\n"
            "Nombre%20de%20points = 2001\n"
            "Dur%U00e9e%20totale=0.5\n"
            "voie%205=4278190335\n" // 0xFF0000FF as an unsigned 32-bit number
            "Version%20de%20Regressi=0\n"
            "Chemin%20de%20REGRESSI%20non%20d%U00e9faut=C:\\\\Regressi\\\\regressi.exe\n");
    f.close();
    TMagasinReglagesQSettings magasin(ini());
    TReglagesKirvane r;
    QString vu;
    r.lire(magasin, [&](const QString& chemin) {
        vu = chemin;
        return true;
    });
    EXPECT_EQ(r.NbPtsDFT, 2001);
    EXPECT_EQ(r.DureeTotaleDFT, 0.5);
    EXPECT_EQ(r.clsVX[5], 0xFF0000FFu);
    EXPECT_FALSE(r.versionRegressiDefaut);
    EXPECT_EQ(vu, QStringLiteral("C:\\Regressi\\regressi.exe"));
    EXPECT_EQ(r.cheminREGRESSINonDefautX, vu);
}

TEST_F(Reglages, ValeursHorsLimitesRameneesDansLesLimites) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double duree;
        std::int32_t points;
        double seuil;
        std::int32_t option;
        std::int32_t couleursRegressi;
        std::int32_t utilisations;
        double dureeLue;
        std::int64_t pointsLus;
        double seuilLu;
        int optionLue;
        int couleursRegressiLue;
        int utilisationsLues;
    } cas[] = {
        {0.0, 5, -1.0, 2, 7, -4, 1e-6, 11, 5.0, 0, 1, 0},
        {1e9, 1000000, inf, 3, -2, 7, 3600.0, 50001, 5.0, 3, 0, 7},
        {nan, 11, nan, 1, 1, 0, 0.02, 11, 5.0, 1, 1, 0},
        {-3.0, -1, 0.0, -1, 0, 3, 1e-6, 11, 5.0, 0, 0, 3},
        {2.5e-3, 50001, 0.05, 0, 1, 41, 2.5e-3, 50001, 0.05, 0, 1, 41},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.duree);
        {
            TMagasinReglagesQSettings magasin(ini());
            magasin.ecrireReel(DUREE_TOTALE, c.duree);
            magasin.ecrireEntier(NOMBRE_POINTS, c.points);
            magasin.ecrireReel(SEUIL_PRETRIG, c.seuil);
            magasin.ecrireEntier(OPTION_REGRESSI, c.option);
            magasin.ecrireEntier(OPTION_EXCEL, c.option);
            magasin.ecrireEntier(OPTION_OOO, c.option);
            magasin.ecrireEntier(COULEURS_REGRESSI, c.couleursRegressi);
            magasin.ecrireEntier(NOMBRE_UTILISATIONS, c.utilisations);
        }
        TMagasinReglagesQSettings magasin(ini());
        TReglagesKirvane r;
        r.lire(magasin);
        EXPECT_EQ(r.DureeTotaleDFT, c.dureeLue);
        EXPECT_EQ(r.NbPtsDFT, c.pointsLus);
        EXPECT_EQ(r.tMaxPretrigDispo, c.seuilLu);
        EXPECT_EQ(r.optionTransfertREGRESSI, c.optionLue);
        EXPECT_EQ(r.optionTransfertEXCEL, c.optionLue);
        EXPECT_EQ(r.optionTransfertOOo, c.optionLue);
        EXPECT_EQ(r.OptionCouleursRegressi, c.couleursRegressiLue);
        EXPECT_EQ(r.nbUtilisations, c.utilisationsLues);
    }
}

// The comma comes back at the next start; any other stored value is the point.
TEST_F(Reglages, SeparateurDesFichiersCSV) {
    executer([](TReglagesKirvane& r) { r.optionSeparateurCSV = 1; });
    EXPECT_EQ(executer().optionSeparateurCSV, 1);
    for (const std::int32_t stocke : {0, 2, -1}) {
        {
            TMagasinReglagesQSettings magasin(ini());
            magasin.ecrireEntier(SEPARATEUR_CSV, stocke);
        }
        TMagasinReglagesQSettings magasin(ini());
        TReglagesKirvane r;
        r.lire(magasin);
        EXPECT_EQ(r.optionSeparateurCSV, 0) << stocke;
    }
}

TEST_F(Reglages, CouleursGardeesTellesQuEnregistreesOctetHautCompris) {
    const std::array<TColor, 8> couleurs{0xFF0000FF, 0x02000090, 0,          0x00FFFFFF,
                                         0x80808080, 0x7FFFFFFF, 0xFFFFFFFF, 0x01020304};
    executer([&](TReglagesKirvane& r) {
        r.clsVX = couleurs;
        r.enregistrerCouleurs = true;
    });
    TMagasinReglagesQSettings magasin(ini());
    TReglagesKirvane r;
    r.lire(magasin);
    EXPECT_EQ(r.clsVX, couleurs);
}

TEST_F(Reglages, CheminDeRegressiLuSeulementHorsVersionParDefautEtVideSIlNExistePlus) {
    QFile regressi(dossier.path() + QStringLiteral("/Régressi é.exe"));
    ASSERT_TRUE(regressi.open(QIODevice::WriteOnly));
    regressi.close();
    const struct {
        bool versionDefaut;
        QString chemin;
        QString lu;
    } cas[] = {
        {false, regressi.fileName(), regressi.fileName()},
        {false, dossier.path() + QStringLiteral("/parti.exe"), QString()},
        {false, dossier.path(), QString()}, // a folder is not a program
        {true, regressi.fileName(), QString()},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.chemin.toStdString());
        {
            TMagasinReglagesQSettings magasin(ini());
            magasin.ecrireBooleen(VERSION_REGRESSI, c.versionDefaut);
            magasin.ecrireTexte(CHEMIN_REGRESSI, c.chemin);
        }
        TMagasinReglagesQSettings magasin(ini());
        TReglagesKirvane r;
        r.lire(magasin);
        EXPECT_EQ(r.versionRegressiDefaut, c.versionDefaut);
        EXPECT_EQ(r.cheminREGRESSINonDefautX, c.lu);
    }
}

// Writes are recorded in order; reads answer from the recorded values.
class MagasinEnregistreur : public TMagasinReglages {
public:
    std::vector<QString> ordre;
    std::map<QString, QVariant> valeurs;
    bool cleExiste() const override { return !valeurs.empty(); }
    std::optional<std::int32_t> lireEntier(const QString& n) const override {
        return lire<std::int32_t>(n, QMetaType::Int);
    }
    std::optional<double> lireReel(const QString& n) const override {
        return lire<double>(n, QMetaType::Double);
    }
    std::optional<bool> lireBooleen(const QString& n) const override {
        return lire<bool>(n, QMetaType::Bool);
    }
    std::optional<QString> lireTexte(const QString& n) const override {
        return lire<QString>(n, QMetaType::QString);
    }
    void ecrireEntier(const QString& n, std::int32_t v) override { noter(n, v); }
    void ecrireReel(const QString& n, double v) override { noter(n, v); }
    void ecrireBooleen(const QString& n, bool v) override { noter(n, v); }
    void ecrireTexte(const QString& n, const QString& v) override { noter(n, v); }

private:
    void noter(const QString& n, const QVariant& v) {
        ordre.push_back(n);
        valeurs[n] = v;
    }
    template <class T> std::optional<T> lire(const QString& n, int type) const {
        const auto it = valeurs.find(n);
        if (it == valeurs.end() || it->second.typeId() != type)
            return std::nullopt;
        return it->second.value<T>();
    }
};

TEST(ReglagesEcriture, OrdreEtTypesDesValeurs) {
    MagasinEnregistreur magasin;
    TReglagesKirvane r;
    r.versionRegressiDefaut = false;
    r.cheminREGRESSINonDefautX = QStringLiteral("/opt/regressi");
    r.ecrire(magasin);
    const std::vector<QString> attendu{
        NOMBRE_UTILISATIONS, DUREE_TOTALE,   NOMBRE_POINTS,  VERSION_REGRESSI,  CHEMIN_REGRESSI,
        OPTION_REGRESSI,     OPTION_EXCEL,   OPTION_OOO,     COULEURS_REGRESSI, SEUIL_PRETRIG,
        couleurVoie(0),      couleurVoie(1), couleurVoie(2), couleurVoie(3),    couleurVoie(4),
        couleurVoie(5),      couleurVoie(6), couleurVoie(7), SEPARATEUR_CSV};
    EXPECT_EQ(magasin.ordre, attendu);
    EXPECT_EQ(magasin.valeurs[DUREE_TOTALE].typeId(), QMetaType::Double);
    EXPECT_EQ(magasin.valeurs[NOMBRE_POINTS].typeId(), QMetaType::Int);
    EXPECT_EQ(magasin.valeurs[VERSION_REGRESSI].typeId(), QMetaType::Bool);
    EXPECT_EQ(magasin.valeurs[CHEMIN_REGRESSI].toString(), QStringLiteral("/opt/regressi"));

    // What was written reads back whole through the same rules.
    TReglagesKirvane relu;
    relu.lire(magasin, [](const QString&) { return true; });
    EXPECT_FALSE(relu.versionRegressiDefaut);
    EXPECT_EQ(relu.cheminREGRESSINonDefautX, r.cheminREGRESSINonDefautX);
    EXPECT_EQ(relu.DureeTotaleDFT, r.DureeTotaleDFT);
    EXPECT_EQ(relu.NbPtsDFT, r.NbPtsDFT);
    EXPECT_EQ(relu.OptionCouleursRegressi, 1);
}

// The folders of the save dialogs follow the colours, only those a file was saved in, and
// read back; an older store without them leaves them empty.
TEST(ReglagesEcriture, DossiersDesEnregistrements) {
    MagasinEnregistreur magasin;
    TReglagesKirvane r;
    r.dossiersEnregistrement = {QStringLiteral("/home/eleve/tp"), QString(),
                                QStringLiteral("C:\\Mesures")};
    r.ecrire(magasin);
    ASSERT_EQ(magasin.ordre.size(), 21u);
    EXPECT_EQ(magasin.ordre[18], SEPARATEUR_CSV);
    EXPECT_EQ(magasin.ordre[19], DOSSIERS_ENREGISTREMENT[0]);
    EXPECT_EQ(magasin.ordre[20], DOSSIERS_ENREGISTREMENT[2]);

    TReglagesKirvane relu;
    relu.lire(magasin, [](const QString&) { return true; });
    EXPECT_EQ(relu.dossiersEnregistrement, r.dossiersEnregistrement);

    MagasinEnregistreur ancien;
    TReglagesKirvane().ecrire(ancien);
    TReglagesKirvane vide;
    vide.dossiersEnregistrement[1] = QStringLiteral("/x");
    vide.lire(ancien, [](const QString&) { return true; });
    EXPECT_EQ(vide.dossiersEnregistrement, (std::array<QString, 3>{}));
}

TEST(ReglagesCompteur, LeCompteurDesDemarragesNeDebordePas) {
    TReglagesKirvane r;
    r.nbUtilisations = std::numeric_limits<int>::max();
    r.compterUtilisation();
    EXPECT_EQ(r.nbUtilisations, std::numeric_limits<int>::max());
}

// Every value name, and names QSettings would otherwise read as sub-keys or escape, comes
// back as written from a fresh store on the same file, each as one value of its own.
TEST_F(Reglages, NomsDeValeursRetrouvesTelsQuels) {
    std::vector<QString> noms{INTERFACE_UTILISEE, NOMBRE_UTILISATIONS, DUREE_TOTALE,
                              NOMBRE_POINTS,      VERSION_REGRESSI,    CHEMIN_REGRESSI,
                              OPTION_REGRESSI,    OPTION_EXCEL,        OPTION_OOO,
                              COULEURS_REGRESSI,  SEUIL_PRETRIG};
    for (int i = 0; i < 8; ++i)
        noms.push_back(couleurVoie(i));
    for (const char* nom : {"a/b", "a\\b", "a%2Fb", "a%5Cb", "100 %", "/début", "fin\\",
                            "clé \"citée\" ; = # [x] ü € 日本", "General", "[General]"})
        noms.push_back(QString::fromUtf8(nom));
    {
        TMagasinReglagesQSettings magasin(ini());
        for (std::size_t k = 0; k < noms.size(); ++k)
            magasin.ecrireEntier(noms[k], static_cast<std::int32_t>(k) + 100);
        magasin.ecrireTexte(QStringLiteral("texte é"), QStringLiteral("C:\\Dossier/é \"x\", y"));
    }
    TMagasinReglagesQSettings magasin(ini());
    for (std::size_t k = 0; k < noms.size(); ++k)
        EXPECT_EQ(magasin.lireEntier(noms[k]), static_cast<std::int32_t>(k) + 100)
            << noms[k].toStdString();
    EXPECT_EQ(magasin.lireTexte(QStringLiteral("texte é")),
              QStringLiteral("C:\\Dossier/é \"x\", y"));
    QSettings brut(ini(), QSettings::IniFormat);
    EXPECT_TRUE(brut.childGroups().isEmpty()); // no name became a sub-key
    EXPECT_EQ(brut.allKeys().size(), static_cast<qsizetype>(noms.size()) + 1);
}

} // namespace

TEST_F(Reglages, FichierEndommageMisDeCotePuisReecritALaSortie) {
    // An unterminated section header: the file cannot be read as a whole.
    QDir().mkpath(dossier.path() + QStringLiteral("/Kirvane"));
    const struct {
        const char* contenu;
        bool endommage;
    } cas[] = {
        {"[General\nNombre%20de%20points=2001\n", true},
        {"[General]\nNombre%20de%20points=2001\n", false},
        {"", false},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.contenu);
        QFile f(ini());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(c.contenu);
        f.close();
        TMagasinReglagesQSettings magasin(ini());
        EXPECT_EQ(magasin.endommage(), c.endommage);
    }
    // The window keeps its defaults and writes them at exit: the next start reads them.
    QFile f(ini());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("[General\nNombre%20de%20points=2001\n");
    f.close();
    {
        TMagasinReglagesQSettings magasin(ini());
        ASSERT_TRUE(magasin.endommage());
        TReglagesKirvane defauts;
        defauts.ecrire(magasin);
        EXPECT_TRUE(magasin.synchroniser());
    }
    // The damaged file is kept aside as it was.
    QFile copie(ini() + QStringLiteral(".endommage"));
    ASSERT_TRUE(copie.open(QIODevice::ReadOnly));
    EXPECT_EQ(copie.readAll(), QByteArray("[General\nNombre%20de%20points=2001\n"));
    TMagasinReglagesQSettings relu(ini());
    EXPECT_FALSE(relu.endommage());
    TReglagesKirvane r;
    r.lire(relu);
    EXPECT_EQ(r.NbPtsDFT, 1001);
}
