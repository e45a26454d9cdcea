#pragma once
// Test helpers: the simulated V6 through its D2XX functions, as a host speaks to it, with
// bounded waits only.
#include "v6sim.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace v6test {

using namespace d2xx;
using Octets = std::vector<uint8_t>;

inline Octets octets(const std::string& texte) {
    return Octets(texte.begin(), texte.end());
}

// Opens the device and sets the port as the driver does.
inline FT_HANDLE ouvrePort() {
    char description[] = "Sysam-V6";
    FT_HANDLE h = nullptr;
    EXPECT_EQ(FT_OpenEx(description, FT_OPEN_BY_DESCRIPTION, &h), FT_OK);
    EXPECT_EQ(FT_SetBaudRate(h, 1250000), FT_OK);
    EXPECT_EQ(FT_SetDataCharacteristics(h, FT_BITS_8, FT_STOP_BITS_1, FT_PARITY_NONE), FT_OK);
    EXPECT_EQ(FT_SetFlowControl(h, FT_FLOW_RTS_CTS, 0x11, 0x13), FT_OK);
    EXPECT_EQ(FT_SetChars(h, 0, 0, 0, 0), FT_OK);
    EXPECT_EQ(FT_SetTimeouts(h, 100, 1000), FT_OK);
    EXPECT_EQ(FT_SetRts(h), FT_OK);
    EXPECT_EQ(FT_Purge(h, FT_PURGE_RX), FT_OK);
    EXPECT_EQ(FT_Purge(h, FT_PURGE_TX), FT_OK);
    return h;
}

inline void ecrit(FT_HANDLE h, const std::string& texte) {
    std::string copie = texte;
    DWORD ecrits = 0;
    ASSERT_EQ(FT_Write(h, copie.data(), static_cast<DWORD>(copie.size()), &ecrits), FT_OK);
    ASSERT_EQ(ecrits, copie.size());
}

// Reads until n bytes have come or limite seconds have passed (real time).
inline Octets lit(FT_HANDLE h, std::size_t n, double limite = 2) {
    Octets r;
    uint8_t tampon[4096];
    const auto fin = std::chrono::steady_clock::now() + std::chrono::duration<double>(limite);
    while (r.size() < n && std::chrono::steady_clock::now() < fin) {
        DWORD attente = 0;
        if (FT_GetQueueStatus(h, &attente) != FT_OK)
            break;
        if (attente == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            continue;
        }
        DWORD lus = 0;
        const DWORD k = static_cast<DWORD>(std::min<std::size_t>({attente, n - r.size(), 4096}));
        EXPECT_EQ(FT_Read(h, tampon, k, &lus), FT_OK);
        r.insert(r.end(), tampon, tampon + lus);
    }
    return r;
}

// Everything that comes within limite seconds.
inline Octets litTout(FT_HANDLE h, double limite) {
    return lit(h, SIZE_MAX, limite);
}

// A command as the driver sends it: each character then its echo; returns every byte
// received (echoes included) up to the CR of the reply, or what came within 1 s.
inline Octets commande(FT_HANDLE h, const std::string& texte) {
    Octets recu;
    for (const char c : texte) {
        ecrit(h, std::string(1, c));
        const Octets echo = lit(h, 1, 1);
        recu.insert(recu.end(), echo.begin(), echo.end());
        if (echo.empty())
            return recu;
    }
    const auto fin = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (std::chrono::steady_clock::now() < fin) {
        const Octets o = lit(h, 1, 0.05);
        recu.insert(recu.end(), o.begin(), o.end());
        if (!o.empty() && o[0] == '\r')
            break;
    }
    return recu;
}

// The texts of a command's echo and framed reply.
inline Octets attendu(const std::string& commande, const std::string& reponse) {
    return octets(commande + ":" + reponse + "@\n\r");
}

inline std::string hex4(uint32_t v) {
    char t[5];
    std::snprintf(t, sizeof t, "%04X", v & 0xFFFF);
    return t;
}

// The codes of the sample bytes (low byte first).
inline std::vector<int> codes(const Octets& o, std::size_t debut = 0) {
    std::vector<int> r;
    for (std::size_t k = debut; k + 1 < o.size(); k += 2)
        r.push_back(o[k] | (o[k + 1] << 8));
    return r;
}

inline double volts(int entree, int code) {
    double gain = 0, offset = 0;
    SimV6_Coefficients(entree, &gain, &offset);
    return offset + gain * code;
}

inline int codeDe(int entree, double u) {
    double gain = 0, offset = 0;
    SimV6_Coefficients(entree, &gain, &offset);
    return static_cast<int>(std::lround((u - offset) / gain));
}

// What comes after a start order up to the data: the order's echo, the report (the count
// of time steps in 4 hex digits) and, on the fast timebase, the "D" exchange.
struct Debut {
    Octets recu;
    bool complet = false;
};

inline Debut demarre(FT_HANDLE h, char ordre, uint16_t etapes, double limite = 2) {
    Debut d;
    ecrit(h, std::string(1, ordre));
    const Octets rapport = octets(std::string(1, ordre) + ":" + hex4(etapes) + "@\n\r");
    d.recu = lit(h, rapport.size(), limite);
    if (d.recu != rapport)
        return d;
    if (ordre == 'F') {
        ecrit(h, "D");
        const Octets dd = lit(h, 2, 1);
        d.recu.insert(d.recu.end(), dd.begin(), dd.end());
        d.complet = dd == octets("D:");
    } else {
        const Octets dp = lit(h, 1, 1);
        d.recu.insert(d.recu.end(), dp.begin(), dp.end());
        d.complet = dp == octets(":");
    }
    return d;
}

class SimulateurV6 : public ::testing::Test {
protected:
    void SetUp() override {
        SimV6_Reinitialiser();
        SimV6_SetBruit(0);
        h = ouvrePort();
    }
    void TearDown() override { SimV6_Reinitialiser(); }

    // Programs a run: inputs, timebase, points, trigger, pretrigger.
    void programme(const std::string& v, uint16_t p, uint16_t n, const std::string& e, uint16_t o) {
        for (const std::string& c : {v, "P" + hex4(p), "N" + hex4(n), e, "O" + hex4(o)})
            ASSERT_EQ(commande(h, c), attendu(c, "OK")) << c;
    }

    FT_HANDLE h = nullptr;
};

} // namespace v6test
