// Every registered family against its simulator, through the table: the same steps as
// the program takes with a unit. A new family with a simulator runs them with no test of
// its own to write.
#include "centralesstandard.h"
#include "famillescentrales.h"

#include <QFileInfo>
#include <QLibrary>
#include <QThread>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <functional>
#include <type_traits>

namespace {

const QString dossierSimulateurs = QStringLiteral(KIRVANE_DOSSIER_SIMULATEURS);

std::vector<const TFamille*> famillesSimulees() {
    std::vector<const TFamille*> r;
    for (const TFamille& f : famillesCentrales())
        if (f.avecSimulateur && f.creer)
            r.push_back(&f);
    return r;
}

// The controls every simulator exports under its prefix, on a handle that stays mapped.
struct Controles {
    void (*Reinitialiser)() = nullptr;
    void (*SetBruit)(int32_t) = nullptr;
    void (*SetDebranche)(int32_t) = nullptr;
    double (*Tension)(int32_t, double) = nullptr;
};

class Conformite : public ::testing::TestWithParam<const TFamille*> {
protected:
    void SetUp() override {
        const TFamille& f = *GetParam();
        chemin = dossierSimulateurs + QLatin1Char('/') + f.simulateur.fichier();
        bibliotheque_.setFileName(chemin);
        bibliotheque_.setLoadHints(QLibrary::PreventUnloadHint);
        ASSERT_TRUE(bibliotheque_.load()) << bibliotheque_.errorString().toStdString();
        auto lier = [&](const char* nom, auto& cible) {
            const QByteArray n = QByteArray(f.simulateur.prefixeControles) + nom;
            cible = reinterpret_cast<std::remove_reference_t<decltype(cible)>>(
                bibliotheque_.resolve(n.constData()));
            ASSERT_NE(cible, nullptr) << n.constData();
        };
        lier("Reinitialiser", sim.Reinitialiser);
        lier("SetBruit", sim.SetBruit);
        lier("SetDebranche", sim.SetDebranche);
        lier("Tension", sim.Tension);
        sim.Reinitialiser();
        sim.SetBruit(0);
    }
    void TearDown() override {
        if (sim.Reinitialiser)
            sim.Reinitialiser();
    }

    // The driver as detection makes it, through the table's factory.
    std::unique_ptr<TCentrale> creer() {
        TCreationCentrale r = fabriqueCentralesStandard()(GetParam()->famille, chemin);
        EXPECT_TRUE(r.erreur.isEmpty()) << r.erreur.toStdString();
        // What the family needs on activation, as the unit manager does it.
        if (r.centrale && GetParam()->activer)
            GetParam()->activer(*r.centrale);
        return std::move(r.centrale);
    }

    // Reads until n words came, the unit stopped answering or 2 s passed; "call again"
    // is read again at once, an empty read waits a millisecond.
    static std::vector<uint16_t> lire(TCentrale& c, std::size_t n,
                                      const std::function<void(std::size_t)>& apresLecture = {}) {
        std::vector<uint16_t> mots;
        TFifoSP5 fifo{};
        const auto debut = std::chrono::steady_clock::now();
        while (mots.size() < n &&
               std::chrono::steady_clock::now() - debut < std::chrono::seconds(2)) {
            const int a = c.LireFifo(&fifo);
            if (a == LIREFIFO_RAPPELER)
                continue;
            if (a < 0)
                break;
            if (a == 0)
                QThread::msleep(1);
            EXPECT_LE(a, c.motsParLectureMax());
            mots.insert(mots.end(), fifo.begin(),
                        fifo.begin() + std::min(a, c.motsParLectureMax()));
            if (apresLecture)
                apresLecture(mots.size());
        }
        return mots;
    }

    // The engine's order up to the start.
    static void armer(TCentrale& c) {
        c.Reset();
        c.prepareTousPRX(true);
        c.TailleTransfertFifo(c.NbPtsFifo);
        c.ViderFifo();
        c.declencheAcq();
    }

    QString chemin;
    Controles sim;

private:
    QLibrary bibliotheque_;
};

TEST_P(Conformite, ChargementPresenceEtCalibrage) {
    const TFamille& f = *GetParam();
    std::unique_ptr<TCentrale> c = creer();
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(c->CentraleInstallee);
    EXPECT_EQ(c->typeCentrale, f.simulateur.typeCentrale);
    // The user is never misled: a simulated unit says so in its name.
    EXPECT_EQ(c->nomCentrale, nomLongCentrale(f.simulateur.typeCentrale));
    EXPECT_TRUE(c->nomCentrale.startsWith(QStringLiteral("SIMULATION ")));
    EXPECT_TRUE(c->Presente());
    c->RecupereCalibration();
    c->MAJCalibrage();
    EXPECT_FALSE(c->numeroSerie.isEmpty());
    // Calibrated: codes grow with the voltage over the whole range.
    for (int v = 0; v < c->nbEAU; ++v)
        EXPECT_GT(c->Ux(v, 4095), c->Ux(v, 0)) << v;
    c->liberer(true);
    EXPECT_TRUE(c->estLibere());
}

TEST_P(Conformite, AcquisitionManuelleDecodeeArretEtLiberation) {
    std::unique_ptr<TCentrale> c = creer();
    ASSERT_NE(c, nullptr);
    c->RecupereCalibration();
    c->MAJCalibrage();
    // Input 0 alone, as the program's default settings give it (a unit may start with none).
    for (int v = 1; v < c->nbEAU; ++v)
        c->desactiveVoieA(static_cast<uint8_t>(v), false);
    c->activeVoieA(0, false);
    c->setModeDeclenchement(0, false);
    c->setDurees(0.02, 201, false);
    c->prepareTousPRX(true);
    ASSERT_TRUE(c->CentralePretePourAcq);
    ASSERT_EQ(c->nbVoiesSignaux, 1);
    ASSERT_EQ(c->VoiesActivesSignaux[0], 0);
    ASSERT_GT(c->nbPts0X, 1);

    armer(*c);
    EXPECT_TRUE(c->acqPeriodiqueEnCours);
    const std::vector<uint16_t> mots = lire(*c, static_cast<std::size_t>(c->nbPts0X));
    c->arreteAcq();
    EXPECT_FALSE(c->acqPeriodiqueEnCours);
    EXPECT_EQ(c->NbProcessus, 0);
    ASSERT_GE(mots.size(), static_cast<std::size_t>(c->nbPts0X));

    // Each point is the simulator's signal at its instant, within two converter steps.
    const double pas = std::fabs(c->Ux(0, 2049) - c->Ux(0, 2048));
    const double bas = c->Ux(0, 0), haut = c->Ux(0, 4095);
    int ecarts = 0;
    for (int64_t k = 0; k < c->nbPts0X; ++k) {
        const double attendu =
            std::clamp(sim.Tension(0, static_cast<double>(k) * c->dt0X), bas, haut);
        const double lu = c->Ux(0, mots[static_cast<std::size_t>(k)] >> 4);
        if (std::fabs(lu - attendu) > 2.0 * pas && ++ecarts < 5)
            ADD_FAILURE() << "point " << k << " : " << lu << " au lieu de " << attendu;
    }
    EXPECT_EQ(ecarts, 0);

    // Stopped, nothing more arrives once the waiting samples are discarded.
    c->ViderFifo();
    TFifoSP5 fifo{};
    EXPECT_LE(c->LireFifo(&fifo), 0);

    c->liberer(true);
    EXPECT_TRUE(c->estLibere());
    // Released, the library serves a new driver as a fresh one.
    std::unique_ptr<TCentrale> d = creer();
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->Presente());
    d->liberer(true);
}

TEST_P(Conformite, DebranchementEnCoursDAcquisition) {
    std::unique_ptr<TCentrale> c = creer();
    ASSERT_NE(c, nullptr);
    c->activeVoieA(0, false);
    c->setModeDeclenchement(0, false);
    c->setDurees(1.0, 1001, false);
    armer(*c);
    // Unplugged once the first words came: no more data, the unit reported lost.
    bool debranchee = false;
    const std::vector<uint16_t> mots = lire(*c, 1001, [&](std::size_t n) {
        if (n > 0 && !debranchee) {
            sim.SetDebranche(1);
            debranchee = true;
        }
    });
    ASSERT_TRUE(debranchee);
    EXPECT_LT(mots.size(), 1001u);
    EXPECT_EQ(c->presentePendantAcq(), -1);
    EXPECT_FALSE(c->Presente());
    c->arreteAcq();
    EXPECT_EQ(c->NbProcessus, 0);
    // Plugged back, it answers again.
    sim.SetDebranche(0);
    EXPECT_TRUE(c->Presente());
    c->liberer(true);
}

std::string nomFamille(const ::testing::TestParamInfo<const TFamille*>& info) {
    std::string nom = info.param->simulateur.option;
    std::replace(nom.begin(), nom.end(), '-', '_');
    return nom;
}

INSTANTIATE_TEST_SUITE_P(Familles, Conformite, ::testing::ValuesIn(famillesSimulees()), nomFamille);

TEST(ConformiteTable, ChaqueFamilleSimuleeEstEssayee) {
    // The SP5 simulator at least: the suite above never runs empty.
    EXPECT_FALSE(famillesSimulees().empty());
    for (const TFamille* f : famillesSimulees())
        EXPECT_TRUE(QFileInfo::exists(dossierSimulateurs + '/' + f->simulateur.fichier()))
            << f->simulateur.fichier().toStdString();
}

} // namespace
