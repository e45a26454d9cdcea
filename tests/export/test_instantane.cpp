// The snapshot taken from the series store and the unit: committed series only, the last
// acquisition's timing, the cursors and option of the window, the regional formats.
#include "centrale_neutre.h"
#include "fichierregressi.h"
#include "formats.h"
#include "instantaneexport.h"
#include "seriesmesurees.h"

#include <QCoreApplication>
#include <QDir>
#include <gtest/gtest.h>

namespace {

class CentraleExport : public TCentraleNeutre {
public:
    CentraleExport() : TCentraleNeutre(1) {
        nomCentrale = QStringLiteral("SYSAM SP5");
        dtAX = 0.002;
        nbPtsAX = 3;
        dt0X = 0.5; // current settings, not those of the series: never read
        nbPts0X = 1000;
    }
};

TSeriesMesurees storeDeDeuxSeries() {
    TSeriesMesurees store;
    store.nbVoiesMesurees = 2;
    store.tv2 = {{1.0f, 2.0f, 3.0f}, {-1.0f, -2.0f, -3.0f}, {9.0f}}; // the third is not committed
    store.voiesMesurees.resize(3);
    store.voiesMesurees[0].sEnteteVM = QStringLiteral("u[0_M]");
    store.voiesMesurees[0].clVM = 0x02000090;
    store.voiesMesurees[0].calVM = 2;
    store.voiesMesurees[0].capCommRegvoie1VM = QStringLiteral("EA0");
    store.voiesMesurees[1].sEnteteVM = QStringLiteral("u[1_5]");
    store.voiesMesurees[1].ModeDiffVM = true;
    store.voiesMesurees[1].capCommRegvoie1VM = QStringLiteral("EA1");
    store.voiesMesurees[1].capCommRegvoie2VM = QStringLiteral("EA5");
    store.heureAcq = QDateTime(QDate(2026, 12, 9), QTime(10, 15, 0));
    return store;
}

TEST(Instantane, RempliDepuisLeStoreEtLaCentrale) {
    const TSeriesMesurees store = storeDeDeuxSeries();
    const CentraleExport centrale;
    const QChar ancien = separateurDecimal();
    setSeparateurDecimal(u',');
    const QDateTime avant = QDateTime::currentDateTime();
    const TInstantaneExport e = instantaneExport(store, centrale, {0.25f, 0.75, 0});
    setSeparateurDecimal(ancien);

    ASSERT_EQ(e.series.size(), 2u);
    EXPECT_EQ(e.series[0].sEnteteVM, "u[0_M]");
    EXPECT_EQ(e.series[0].clVM, 0x02000090u);
    EXPECT_EQ(e.series[0].calVM, 2);
    EXPECT_EQ(e.series[0].capCommRegvoie1VM, "EA0");
    EXPECT_EQ(e.series[0].valeurs, (std::vector<float>{1.0f, 2.0f, 3.0f}));
    EXPECT_TRUE(e.series[1].ModeDiffVM);
    EXPECT_EQ(e.series[1].capCommRegvoie2VM, "EA5");
    EXPECT_EQ(e.series[1].valeurs, (std::vector<float>{-1.0f, -2.0f, -3.0f}));
    EXPECT_EQ(e.dtAX, 0.002);
    EXPECT_EQ(e.nbPtsAX, 3);
    EXPECT_EQ(e.nomCentrale, "SYSAM SP5");
    EXPECT_EQ(e.t0, 0.25f);
    EXPECT_EQ(e.tFin, 0.75);
    EXPECT_EQ(e.OptionCouleursRegressi, 0);
    EXPECT_EQ(e.heureAcq, store.heureAcq);
    EXPECT_GE(e.maintenant, avant);
    EXPECT_EQ(e.separateur, u',');
    EXPECT_EQ(e.cheminExecutable,
              QDir::toNativeSeparators(QCoreApplication::applicationFilePath()));
    EXPECT_TRUE(e.titreProgramme.startsWith("Kirvane - "));
    EXPECT_EQ(e.titreProgramme.count(u'.'), 3) << e.titreProgramme.toStdString();
    EXPECT_EQ(e.commentairePerso, texteComPersoDefaut);
}

// A store whose count says more series than it holds columns: only the series it holds.
TEST(Instantane, CompteSuperieurAuxColonnes) {
    TSeriesMesurees store = storeDeDeuxSeries();
    store.nbVoiesMesurees = 5;
    const CentraleExport centrale;
    EXPECT_EQ(instantaneExport(store, centrale, {}).series.size(), 3u);
    store.nbVoiesMesurees = -1;
    EXPECT_TRUE(instantaneExport(store, centrale, {}).series.empty());
}

// Short date, and the long time without its time zone: the file's date line.
TEST(Instantane, FormatsRegionaux) {
    const QLocale francais(QLocale::French, QLocale::France);
    const TFormatsRegionaux f = formatsRegionaux(francais);
    EXPECT_FALSE(f.heure.contains(u't')) << f.heure.toStdString();
    TInstantaneExport e;
    e.nomCentrale = QStringLiteral("SYSAM SP5");
    e.locale = francais;
    e.formatDate = f.date;
    e.formatHeure = f.heure;
    const QDateTime moment(QDate(2026, 12, 9), QTime(10, 15, 0));
    EXPECT_EQ(texteMesuresRealisees(e, moment),
              QString::fromUtf8("Mesures réalisées avec l'interface SYSAM SP5 le 09/12/2026 à "
                                "10:15:00"));

    // Another locale: the seconds stay, the zone goes.
    const QLocale americain(QLocale::English, QLocale::UnitedStates);
    EXPECT_FALSE(formatsRegionaux(americain).heure.contains(u't'));
    EXPECT_TRUE(formatsRegionaux(americain).heure.contains(QStringLiteral("ss")));
}

} // namespace
