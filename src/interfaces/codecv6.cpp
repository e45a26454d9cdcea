#include "codecv6.h"

#include "arrondis.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

float lireSingle(const uint8_t* p) {
    const uint32_t b = static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                       static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
    float f;
    std::memcpy(&f, &b, sizeof f);
    return f;
}

QString lireTexte(const uint8_t* p, int n) {
    int k = 0;
    while (k < n && p[k] != 0)
        ++k;
    return QString::fromLatin1(reinterpret_cast<const char*>(p), k);
}

std::vector<uint8_t> octets(const std::string& s) {
    return {s.begin(), s.end()};
}

// Code of input 0, 1, 2 in the inputs and trigger commands.
char codeVoie(int voie) {
    static const char codes[] = "02461357";
    return voie >= 0 && voie < 8 ? codes[voie] : '0';
}

} // namespace

TCalibrageV6 TCalibrageV6::decoder(std::span<const uint8_t, taille> o) {
    TCalibrageV6 c;
    const uint8_t* p = o.data();
    for (int i = 0; i < 4; ++i) {
        c.AmpliCan[i] = lireSingle(p + 4 * i);
        c.OffsetCan[i] = lireSingle(p + 16 + 4 * i);
    }
    c.AmpliDac = lireSingle(p + 32);
    c.OffsetDac = lireSingle(p + 36);
    c.ReglageZeroDAc = static_cast<uint16_t>(p[40] | p[41] << 8);
    c.ST_NS = static_cast<uint32_t>(p[42]) | static_cast<uint32_t>(p[43]) << 8 |
              static_cast<uint32_t>(p[44]) << 16 | static_cast<uint32_t>(p[45]) << 24;
    c.ST_OK = p[46];
    c.NumeroSerie = lireTexte(p + 64, 16);
    c.DateCalibration = lireTexte(p + 80, 16);
    return c;
}

bool TCalibrageV6::entreeValide(int i) const {
    if (i < 0 || i >= 4)
        return false;
    return std::isfinite(AmpliCan[i]) && std::isfinite(OffsetCan[i]) && AmpliCan[i] != 0.0f;
}

std::string TCodecV6::hex4(int64_t valeur) {
    static const char chiffres[] = "0123456789ABCDEF";
    const auto v = static_cast<uint32_t>(std::clamp<int64_t>(valeur, 0, 0xFFFF));
    std::string s(4, '0');
    for (int k = 0; k < 4; ++k)
        s[3 - k] = chiffres[(v >> (4 * k)) & 0xF];
    return s;
}

int64_t TCodecV6::valeurTempsEch(int modeAcq, double dt0X, int nbVoiesES) {
    if (!std::isfinite(dt0X))
        return modeAcq == 0 ? 0 : 0xFFFF;
    double v;
    if (modeAcq == 0)
        v = 65536.0 - dt0X / std::max(nbVoiesES, 1) * 2e7;
    else
        v = (dt0X * 1e6 - 1000.0) / 1000.0;
    return std::clamp<int64_t>(arrondi64(std::clamp(v, -1.0, 65536.0)), 0, 0xFFFF);
}

std::string TCodecV6::commandeTempsEch(int modeAcq, double dt0X, int nbVoiesES) {
    return "P" + hex4(valeurTempsEch(modeAcq, dt0X, nbVoiesES));
}

std::string TCodecV6::commandeVoies(std::span<const int> voiesActives, bool annoncer) {
    std::string s = "V0F0F0F0F0F";
    if (!annoncer)
        return s;
    std::size_t pos = 2;
    for (int v : voiesActives) {
        if (v < 0 || pos > 8)
            break;
        s[pos] = codeVoie(v);
        pos += 2;
    }
    return s;
}

std::string TCodecV6::commandeNbPoints(int64_t nbPts0X, int pretrigCache) {
    return "N" + hex4(nbPts0X + pretrigCache + 10);
}

std::string TCodecV6::commandeSynchro(int modeDecl, bool montant, int codeSeuil, int voie,
                                      bool presente) {
    if (modeDecl == 2)
        return "E1020000";
    if (modeDecl != 1)
        return "E0000000";
    std::string s = "E";
    s += montant ? '2' : '3';
    s += "02";
    // The threshold code always fills three digits: an absent unit gets mid-scale.
    s += presente ? hex4(std::clamp(codeSeuil, 0, 4095)).substr(1) : std::string("800");
    s += codeVoie(voie);
    return s;
}

std::string TCodecV6::commandePretrig(int64_t nbPtsPretrig, int pretrigCache) {
    return "O" + hex4(std::max<int64_t>(nbPtsPretrig + pretrigCache, 0));
}

std::string TCodecV6::commandeMesure(int voie) {
    return "A" + std::to_string(2 * voie);
}

int64_t TCodecV6::nbPtsPretrigPour(int modeDecl, float tauxPretrig, int64_t nbPts0X) {
    if (modeDecl != 1 && modeDecl != 2)
        return 0;
    const int64_t n = arrondi64(static_cast<double>(tauxPretrig) / 100.0 *
                                static_cast<double>(std::max<int64_t>(nbPts0X - 1, 0)));
    return modeDecl == 2 ? std::max<int64_t>(1, n) : std::max<int64_t>(0, n);
}

int TCodecV6::codeTension(double ca, double cb, double U) {
    if (ca == 0.0 || !std::isfinite(ca) || !std::isfinite(cb) || !std::isfinite(U))
        return 2048;
    const double code = std::clamp((U - cb) / ca, -1.0, 4096.0);
    return static_cast<int>(std::clamp<int64_t>(arrondi64(code), 0, 4095));
}

std::vector<std::vector<uint8_t>> TCodecV6::commandesProgrammation(const TCentrale& c) const {
    const int cache = pretrigCache(c.modeDecl);
    const int nES = std::max(c.nbVoiesActivesX, 1);
    std::vector<std::vector<uint8_t>> r;
    r.push_back(octets(commandeVoies(c.VoiesActivesX, c.acquisitionUtilisateur)));
    r.push_back(octets(commandeTempsEch(c.modeAcq, c.dt0X, nES)));
    r.push_back(octets(commandeNbPoints(c.nbPts0X, cache)));
    const int v = c.voieSynchro;
    const bool valide = v >= 0 && v < static_cast<int>(c.VoiesX.size());
    int code = 2048;
    bool montant = c.sensDeclSeuil == 0;
    if (valide) {
        const TVoie& voie = c.VoiesX[v];
        code = codeTension(voie.ca[0], voie.cb[0], c.USeuilDecl);
        // A sensor that converts with a negative direction crosses the other way.
        if (voie.sensConv < 0)
            montant = !montant;
    }
    r.push_back(
        octets(commandeSynchro(c.modeDecl, montant, code, valide ? v : 0, c.CentralePresente)));
    r.push_back(
        octets(commandePretrig(nbPtsPretrigPour(c.modeDecl, c.tauxPretrig, c.nbPts0X), cache)));
    return r;
}

TReponseCodec TCodecV6::reponse(std::span<const uint8_t> o) const {
    TReponseCodec r;
    std::size_t k = 0;
    while (k < o.size() && o[k] != ':')
        ++k;
    if (k == o.size()) {
        r.consommes = k;
        return r;
    }
    ++k;
    const std::size_t debut = k;
    while (k < o.size() && o[k] != '@') {
        if (k - debut >= longueurMaxReponse) {
            r.etat = TEtatReponse::Invalide;
            r.consommes = k;
            return r;
        }
        ++k;
    }
    if (k == o.size()) {
        r.consommes = debut - 1; // the text is not whole yet: nothing is taken
        return r;
    }
    const std::size_t arobase = k;
    if (arobase + 1 < o.size() && o[arobase + 1] != LF) {
        r.etat = TEtatReponse::Invalide;
        r.consommes = arobase + 1;
        return r;
    }
    if (arobase + 2 < o.size() && o[arobase + 2] != CR) {
        r.etat = TEtatReponse::Invalide;
        r.consommes = arobase + 2;
        return r;
    }
    if (arobase + 2 >= o.size()) {
        r.consommes = debut - 1;
        return r;
    }
    r.etat = TEtatReponse::Complete;
    r.texte.assign(o.begin() + static_cast<std::ptrdiff_t>(debut),
                   o.begin() + static_cast<std::ptrdiff_t>(arobase));
    r.consommes = arobase + 3;
    return r;
}

bool TCodecV6::calibrage(std::span<const uint8_t> e, TCentrale& c) const {
    if (e.size() != TCalibrageV6::taille)
        return false;
    const TCalibrageV6 cal = TCalibrageV6::decoder(e.first<TCalibrageV6::taille>());
    const int n = std::min<int>(static_cast<int>(c.VoiesX.size()), 4);
    for (int i = 0; i < n; ++i)
        if (!cal.entreeValide(i))
            return false;
    for (int i = 0; i < n; ++i) {
        if (i < static_cast<int>(c.a1.size()) && !c.a1[i].empty())
            c.a1[i][0] = cal.AmpliCan[i];
        if (i < static_cast<int>(c.b1.size()) && !c.b1[i].empty())
            c.b1[i][0] = cal.OffsetCan[i];
        c.VoiesX[i].ca = {cal.AmpliCan[i], cal.AmpliCan[i]};
        c.VoiesX[i].cb = {cal.OffsetCan[i], cal.OffsetCan[i]};
    }
    c.numeroSerie = cal.NumeroSerie;
    return true;
}

std::size_t TCodecV6::echantillons(std::span<const uint8_t> o, std::span<uint16_t> mots,
                                   std::size_t& consommes) const {
    const std::size_t n = std::min(o.size() / 2, mots.size());
    for (std::size_t k = 0; k < n; ++k) {
        const unsigned code = (o[2 * k] | o[2 * k + 1] << 8) & 0x0FFF;
        mots[k] = static_cast<uint16_t>(code << 4);
    }
    consommes = 2 * n;
    return n;
}

bool TCodecV6::lireHex(const std::string& texte, int& valeur) {
    if (texte.empty() || texte.size() > 8)
        return false;
    int64_t v = 0;
    for (char ch : texte) {
        int d;
        if (ch >= '0' && ch <= '9')
            d = ch - '0';
        else if (ch >= 'A' && ch <= 'F')
            d = ch - 'A' + 10;
        else if (ch >= 'a' && ch <= 'f')
            d = ch - 'a' + 10;
        else
            return false;
        v = v * 16 + d;
    }
    if (v > 0x7FFFFFFF)
        return false;
    valeur = static_cast<int>(v);
    return true;
}
