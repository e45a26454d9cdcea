// The V6 byte protocol, byte for byte, without any link.
#include "codecv6.h"
#include "transport_v6_script.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

std::vector<uint8_t> octets(const std::string& s) {
    return {s.begin(), s.end()};
}

TEST(CodecV6, ChampsHexadecimauxToujoursSurQuatreChiffres) {
    const struct {
        int64_t valeur;
        const char* attendu;
    } cas[] = {{0, "0000"},       {1, "0001"},       {0xF830, "F830"}, {0xFFFF, "FFFF"},
               {0x10000, "FFFF"}, {-156686, "0000"}, {-1, "0000"},     {1234567, "FFFF"}};
    for (const auto& c : cas)
        EXPECT_EQ(TCodecV6::hex4(c.valeur), c.attendu) << c.valeur;
}

TEST(CodecV6, BaseDeTemps) {
    const struct {
        int mode;
        double dt;
        int voies;
        const char* attendu;
    } cas[] = {
        {0, 1e-4, 1, "PF830"}, // 65536 - 2000
        {0, 3e-5, 3, "PFF38"}, // 10 µs per input: 65536 - 200
        {0, 1e-4, 2, "PFC18"},
        {0, 1e-5, 1, "PFF38"},  // shortest period
        {0, 0.011, 1, "P0000"}, // would be negative: never formatted below 0
        {1, 1e-3, 1, "P0000"},
        {1, 2e-3, 1, "P0001"},
        {1, 65.536, 1, "PFFFF"},
        {1, 100.0, 1, "PFFFF"}, // beyond 16 bits: capped
        {1, std::numeric_limits<double>::quiet_NaN(), 1, "PFFFF"},
    };
    for (const auto& c : cas)
        EXPECT_EQ(TCodecV6::commandeTempsEch(c.mode, c.dt, c.voies), c.attendu)
            << c.mode << " " << c.dt;
}

TEST(CodecV6, EntreesNombreDePointsEtPretrig) {
    const std::vector<int> v02 = {0, 2, -1};
    const std::vector<int> v1 = {1, -1, -1};
    const std::vector<int> tout = {0, 1, 2};
    EXPECT_EQ(TCodecV6::commandeVoies(v02, true), "V00040F0F0F");
    EXPECT_EQ(TCodecV6::commandeVoies(v1, true), "V020F0F0F0F");
    EXPECT_EQ(TCodecV6::commandeVoies(tout, true), "V0002040F0F");
    EXPECT_EQ(TCodecV6::commandeVoies(tout, false), "V0F0F0F0F0F");
    // Threshold, 25 % of 1001 shown points: 1002 to acquire, 4 hidden, 10 spare.
    EXPECT_EQ(TCodecV6::commandeNbPoints(1002, 4), "N03F8");
    EXPECT_EQ(TCodecV6::commandeNbPoints(100000, 0), "NFFFF");
    EXPECT_EQ(TCodecV6::commandePretrig(250, 4), "O00FE");
    EXPECT_EQ(TCodecV6::commandePretrig(-10, 0), "O0000");
    EXPECT_EQ(TCodecV6::nbPtsPretrigPour(1, 25.0f, 1002), 250);
    EXPECT_EQ(TCodecV6::nbPtsPretrigPour(0, 25.0f, 1002), 0);
    EXPECT_EQ(TCodecV6::nbPtsPretrigPour(2, 0.0f, 1002), 1);
    EXPECT_EQ(TCodecV6::commandeMesure(2), "A4");
}

TEST(CodecV6, Declenchement) {
    const struct {
        int mode;
        bool montant;
        int code;
        int voie;
        bool presente;
        const char* attendu;
    } cas[] = {
        {0, true, 0x7FF, 0, true, "E0000000"},  {1, true, 0x7FF, 0, true, "E2027FF0"},
        {1, false, 0x123, 1, true, "E3021232"}, {1, true, 0xFFF, 2, true, "E202FFF4"},
        {1, true, 9999, 0, true, "E202FFF0"},   {1, true, -5, 0, true, "E2020000"},
        {1, true, 0x7FF, 2, false, "E2028004"}, // absent: mid-scale, eight characters
        {2, true, 0, 0, true, "E1020000"},
    };
    for (const auto& c : cas) {
        const std::string e =
            TCodecV6::commandeSynchro(c.mode, c.montant, c.code, c.voie, c.presente);
        EXPECT_EQ(e, c.attendu);
        EXPECT_EQ(e.size(), 8u);
    }
}

TEST(CodecV6, CadrageDesReponses) {
    const TCodecV6 codec;
    const struct {
        std::string octets;
        TEtatReponse etat;
        const char* texte;
    } cas[] = {
        {":1234@\n\r", TEtatReponse::Complete, "1234"},
        {"V0F:OK@\n\r", TEtatReponse::Complete, "OK"}, // echoes before ":" are skipped
        {":@\n\r", TEtatReponse::Complete, ""},
        {":1234@\r", TEtatReponse::Invalide, ""}, // CR without LF
        {":1234@\n\n", TEtatReponse::Invalide, ""},
        {":1234@\n", TEtatReponse::Incomplete, ""},
        {":12", TEtatReponse::Incomplete, ""},
        {"abc", TEtatReponse::Incomplete, ""},
        {":" + std::string(300, 'x'), TEtatReponse::Invalide, ""}, // chattering is capped
    };
    for (const auto& c : cas) {
        const std::vector<uint8_t> o = octets(c.octets);
        const TReponseCodec r = codec.reponse(o);
        EXPECT_EQ(r.etat, c.etat) << c.octets.substr(0, 20);
        EXPECT_EQ(r.texte, c.texte) << c.octets.substr(0, 20);
        EXPECT_LE(r.consommes, o.size());
    }
    // A complete reply reports exactly the bytes it used.
    const std::vector<uint8_t> deux = octets(":A@\n\r:B@\n\r");
    const TReponseCodec r = codec.reponse(deux);
    EXPECT_EQ(r.consommes, 5u);
    EXPECT_EQ(codec.reponse(std::span(deux).subspan(r.consommes)).texte, "B");
}

class CentraleCodec : public ::testing::Test {
protected:
    v6script::HorlogeVirtuelle h;
    TSYSAMV6 c{nullptr, 1, CENTRALE_V6, &h};
};

TEST_F(CentraleCodec, EnregistrementDeCalibrage) {
    const TCodecV6 codec;
    const std::vector<uint8_t> bon =
        v6script::enregistrement({0.0123f, 0.0122f, 0.0121f}, {-25.1f, -24.9f, -25.05f}, "V6-42");
    ASSERT_TRUE(codec.calibrage(bon, c));
    EXPECT_FLOAT_EQ(c.VoiesX[1].ca[0], 0.0122f);
    EXPECT_FLOAT_EQ(c.VoiesX[1].cb[1], -24.9f);
    EXPECT_DOUBLE_EQ(c.a1[2][0], 0.0121f);
    EXPECT_DOUBLE_EQ(c.b1[0][0], -25.1f);
    EXPECT_EQ(c.numeroSerie, "V6-42");

    // Unusable records leave the coefficients as they were.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const std::vector<std::vector<uint8_t>> mauvais = {
        v6script::enregistrement({0.0f, 0.0122f, 0.0121f}, {-25.f, -25.f, -25.f}),
        v6script::enregistrement({0.0123f, nan, 0.0121f}, {-25.f, -25.f, -25.f}),
        v6script::enregistrement({0.0123f, 0.0122f, 0.0121f}, {-25.f, -25.f, inf}),
        std::vector<uint8_t>(bon.begin(), bon.begin() + 100),
    };
    for (const auto& m : mauvais) {
        EXPECT_FALSE(codec.calibrage(m, c));
        EXPECT_FLOAT_EQ(c.VoiesX[1].ca[0], 0.0122f);
        EXPECT_EQ(c.numeroSerie, "V6-42");
    }
}

TEST(CodecV6, EchantillonsParPairesOctetImpairGarde) {
    const TCodecV6 codec;
    const std::vector<uint8_t> o = {0xFF, 0x0F, 0x00, 0x08, 0x34, 0xF2, 0x7F};
    std::array<uint16_t, 8> mots{};
    std::size_t consommes = 0;
    EXPECT_EQ(codec.echantillons(o, mots, consommes), 3u);
    EXPECT_EQ(consommes, 6u); // the lone last byte waits for its pair
    EXPECT_EQ(mots[0], 0xFFF0);
    EXPECT_EQ(mots[1], 0x8000);
    EXPECT_EQ(mots[2], 0x2340); // only 12 bits count
    // Never more words than room.
    EXPECT_EQ(codec.echantillons(o, std::span(mots).first(2), consommes), 2u);
    EXPECT_EQ(consommes, 4u);
}

TEST(CodecV6, CommandesDesReglagesDansLOrdre) {
    v6script::HorlogeVirtuelle h;
    TSYSAMV6 c(nullptr, 1, CENTRALE_V6, &h);
    c.acquisitionUtilisateur = true;
    c.activeVoieA(2, false);
    c.setModeDeclenchement(1, false);
    c.setDurees(0.1, 1001, false);
    c.setPretrig(1, false);
    c.setVoieSynchro(2, false);
    c.setSeuilDecl(0.0f);
    const auto cmds = TCodecV6().commandesProgrammation(c);
    ASSERT_EQ(cmds.size(), 5u);
    std::vector<std::string> t;
    for (const auto& o : cmds)
        t.emplace_back(o.begin(), o.end());
    EXPECT_EQ(t[0], "V00040F0F0F");
    EXPECT_EQ(t[1], "PFC18"); // 100 µs for two inputs: 50 µs each, 1000 steps of 50 ns
    EXPECT_EQ(t[2], "N03F8");
    EXPECT_EQ(t[3], "E2028004"); // absent unit: no code of its own
    EXPECT_EQ(t[4], "O00FE");
}

} // namespace
