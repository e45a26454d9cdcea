// The byte link over the D2XX functions, against the V6 simulator library loaded by
// absolute path: loading, the open sequence and port settings as the unit's bridge records
// them, write/read/queue/purge, the holders of the shared link, an absent or unplugged unit.
#include "simulateur_v6_essai.h"
#include "transport_d2xx.h"

#include <QFileInfo>
#include <QThread>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace {

const QString cheminSimulateur = QStringLiteral(KIRVANE_V6SIM);

using Octets = std::vector<uint8_t>;

Octets octets(const std::string& texte) {
    return Octets(texte.begin(), texte.end());
}

// Reads until n bytes came or limite seconds passed.
Octets lire(TTransportOctets& t, std::size_t n, double limite = 1) {
    Octets r;
    uint8_t tampon[256];
    const auto fin = std::chrono::steady_clock::now() + std::chrono::duration<double>(limite);
    while (r.size() < n && std::chrono::steady_clock::now() < fin) {
        const std::size_t k = t.lire(tampon, std::min<std::size_t>(sizeof tampon, n - r.size()));
        if (k == 0)
            QThread::msleep(1);
        r.insert(r.end(), tampon, tampon + k);
    }
    return r;
}

bool ecrire(TTransportOctets& t, const std::string& texte) {
    return t.ecrire(reinterpret_cast<const uint8_t*>(texte.data()), texte.size());
}

const std::string sequenceOuverture =
    "FT_OpenEx(Sysam-V6,2);FT_SetBaudRate(1250000);FT_SetDataCharacteristics(8,0,0);"
    "FT_SetFlowControl(0x0100,0x11,0x13);FT_SetChars(0,0,0,0);FT_SetTimeouts(100,1000);"
    "FT_SetRts;FT_Purge(1);FT_Purge(2);";

class TransportD2XX : public SimulateurV6Essai {
protected:
    void SetUp() override { chargerSimulateur(cheminSimulateur); }
};

TEST_F(TransportD2XX, ChargeLesDouzeFonctionsEtOuvreAvecLesReglagesDuPort) {
    TTransportD2XX t(cheminSimulateur);
    ASSERT_TRUE(t.installe());
    EXPECT_TRUE(t.erreurChargement().isEmpty());
    EXPECT_FALSE(t.ouvert());
    ASSERT_TRUE(t.ouvrir());
    EXPECT_TRUE(t.ouvert());
    EXPECT_EQ(sim.journal(), sequenceOuverture);
    // Opening again closes first: one handle.
    sim.ViderJournal();
    ASSERT_TRUE(t.ouvrir());
    EXPECT_EQ(sim.journal(), "FT_Close;" + sequenceOuverture);
    sim.ViderJournal();
    t.fermer();
    EXPECT_FALSE(t.ouvert());
    EXPECT_EQ(sim.journal(), "FT_Close;");
}

TEST_F(TransportD2XX, EcritLitCompteEtPurge) {
    TTransportD2XX t(cheminSimulateur);
    ASSERT_TRUE(t.ouvrir());
    EXPECT_EQ(t.enAttente(), 0u);
    ASSERT_TRUE(ecrire(t, "2"));
    const Octets attendu = octets("2:V6SIMUL@\n\r");
    // Everything arrives within a bounded wait, and the queue counts it.
    const auto fin = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (t.enAttente() < attendu.size() && std::chrono::steady_clock::now() < fin)
        QThread::msleep(1);
    EXPECT_EQ(t.enAttente(), attendu.size());
    uint8_t debut[3] = {};
    EXPECT_EQ(t.lire(debut, 3), 3u);
    EXPECT_EQ(Octets(debut, debut + 3), octets("2:V"));
    EXPECT_EQ(t.enAttente(), attendu.size() - 3);
    EXPECT_EQ(lire(t, 100, 0.05), octets("6SIMUL@\n\r")) << "never more than waits";
    // A purge drops what waits.
    ASSERT_TRUE(ecrire(t, "I"));
    EXPECT_EQ(lire(t, 1), octets("I"));
    t.purger();
    EXPECT_EQ(t.enAttente(), 0u);
    // Long writes go through in blocks.
    const std::string longue(3000, 'x');
    ASSERT_TRUE(ecrire(t, longue));
    EXPECT_EQ(lire(t, 3000, 2).size(), 3000u);
    EXPECT_EQ(sim.OctetsRecus(), 2 + 3000);
    EXPECT_FALSE(t.erreurLien());
}

TEST_F(TransportD2XX, UnDetenteurQuiPartNeFermeRienSousLesAutres) {
    auto a = std::make_unique<TTransportD2XX>(cheminSimulateur);
    auto b = std::make_unique<TTransportD2XX>(cheminSimulateur);
    EXPECT_EQ(a->detenteurs(), 2);
    ASSERT_TRUE(a->ouvrir());
    EXPECT_TRUE(b->ouvert()) << "one device for the process";
    ASSERT_TRUE(b->ouvrir());
    sim.ViderJournal();
    a.reset();
    EXPECT_EQ(b->detenteurs(), 1);
    EXPECT_EQ(sim.journal(), "") << "the device stays open for the other holder";
    ASSERT_TRUE(ecrire(*b, "2"));
    EXPECT_EQ(lire(*b, 12), octets("2:V6SIMUL@\n\r"));
    // A holder that never opened leaves the device to those that did.
    auto c = std::make_unique<TTransportD2XX>(cheminSimulateur);
    c->fermer();
    c.reset();
    EXPECT_TRUE(b->ouvert());
    EXPECT_EQ(sim.journal(), "");
    b.reset();
    EXPECT_EQ(sim.journal(), "FT_Close;") << "the last holder closes";
    // And the library is loaded again by the next one.
    TTransportD2XX d(cheminSimulateur);
    EXPECT_EQ(d.detenteurs(), 1);
    EXPECT_TRUE(d.ouvrir());
}

TEST_F(TransportD2XX, UneUniteAbsenteEchoueToutDeSuite) {
    sim.SetDebranche(1);
    TTransportD2XX t(cheminSimulateur);
    ASSERT_TRUE(t.installe()) << "the library is there, the unit is not";
    const auto debut = std::chrono::steady_clock::now();
    EXPECT_FALSE(t.ouvrir());
    EXPECT_LT(std::chrono::steady_clock::now() - debut, std::chrono::milliseconds(500));
    EXPECT_FALSE(t.ouvert());
    EXPECT_FALSE(t.erreurLien()) << "absent, not an I/O error";
    EXPECT_EQ(t.dernierStatut(), d2xx::FT_DEVICE_NOT_FOUND);
    uint8_t o[4];
    EXPECT_FALSE(ecrire(t, "2"));
    EXPECT_EQ(t.enAttente(), 0u);
    EXPECT_EQ(t.lire(o, 4), 0u);
    t.purger();
    EXPECT_EQ(sim.journal(), "FT_OpenEx(Sysam-V6,2);") << "nothing sent to a closed device";
}

TEST_F(TransportD2XX, DebrancherDonneDesErreursDEntreeSortie) {
    TTransportD2XX t(cheminSimulateur);
    ASSERT_TRUE(t.ouvrir());
    TTransportD2XX autre(cheminSimulateur);
    sim.SetDebranche(1);
    sim.ViderJournal();
    uint8_t o[4];
    EXPECT_EQ(t.enAttente(), 0u);
    EXPECT_TRUE(t.erreurLien());
    EXPECT_EQ(t.dernierStatut(), d2xx::FT_IO_ERROR);
    EXPECT_FALSE(t.ouvert()) << "the dead handle is closed";
    EXPECT_FALSE(autre.ouvert()) << "for every holder";
    EXPECT_EQ(sim.journal(), "FT_Close;");
    EXPECT_FALSE(ecrire(t, "2"));
    EXPECT_EQ(t.lire(o, 4), 0u);
    EXPECT_TRUE(t.erreurLien());
    EXPECT_FALSE(t.ouvrir()) << "still unplugged";
    EXPECT_TRUE(t.erreurLien()) << "until an open succeeds";
    sim.SetDebranche(0);
    ASSERT_TRUE(t.ouvrir());
    EXPECT_FALSE(t.erreurLien());
    ASSERT_TRUE(ecrire(t, "2"));
    EXPECT_EQ(lire(t, 12), octets("2:V6SIMUL@\n\r"));
}

TEST(TransportD2XXChargement, BibliothequeAbsenteOuIncomplete) {
    struct Cas {
        QString chemin;
        QString erreur;
    };
    for (const Cas& c : {Cas{QStringLiteral("/nulle/part/libftd2xx.so"), QString()},
                         Cas{QStringLiteral("libv6sim.so"), QString()}, // never searched
                         Cas{QStringLiteral(KIRVANE_BIBLIO_ESSAI),
                             QStringLiteral("Erreur lors du chargement de FT_OpenEx")}}) {
        SCOPED_TRACE(c.chemin.toStdString());
        TTransportD2XX t(c.chemin);
        EXPECT_FALSE(t.installe());
        EXPECT_EQ(t.erreurChargement(), c.erreur);
        EXPECT_FALSE(t.ouvrir());
        EXPECT_FALSE(t.ouvert());
        EXPECT_FALSE(ecrire(t, "2"));
        EXPECT_EQ(t.enAttente(), 0u);
    }
}

} // namespace
