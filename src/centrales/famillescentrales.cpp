#include "famillescentrales.h"

#include "fabriquetransportv6.h"
#include "sp5.h"
#include "sysamcampus.h"
#include "sysamv6.h"

#include <QDir>
#include <QFileInfo>

namespace {

TCreationCentrale creerSP5(const QString& chemin) {
    auto sp5 = std::make_unique<TSP5>(chemin, 1);
    TCreationCentrale r;
    r.erreur = sp5->erreurChargement;
    r.centrale = std::move(sp5);
    return r;
}

TCreationCentrale creerCAMPUS(const QString& chemin) {
    TCreationCentrale r;
    // The simulator missing from one of its places is no error: the next place is tried.
    // The maker's library missing where the FTDI library says it belongs is one.
    if (estBibliothequeSimulateurCAMPUS(chemin) && !QFileInfo(chemin).isFile())
        return r;
    try {
        r.centrale = std::make_unique<TSYSAMCAMPUS>(chemin, 1);
    } catch (const EErreurBibliotheque& e) {
        r.erreur = e.texte();
    }
    return r;
}

QStringList dossiersSysteme(const TDossiersCentrales& d, const QString& fichier) {
    if (d.windows.isEmpty())
        return {};
    return {d.windows + QStringLiteral("/system32/") + fichier,
            d.windows + QStringLiteral("/SysWOW64/") + fichier};
}

QStringList placesSP5(const TDossiersCentrales& d) {
    return dossiersSysteme(d, QStringLiteral("SP5.DLL"));
}

// FTDI's own library where it is installed; on Linux without it, a real unit is still
// reached through libftdi1 (the place named by placeLibftdiV6) when the program was built
// with it.
QStringList placesV6(const TDossiersCentrales& d) {
#if defined(Q_OS_WIN)
    return dossiersSysteme(d, QStringLiteral("FTD2XX-V6.DLL"));
#else
    (void)d;
    QStringList r;
    for (const char* p : {"/usr/local/lib/libftd2xx.so", "/usr/lib/libftd2xx.so"})
        if (QFileInfo::exists(QString::fromLatin1(p)))
            r << QString::fromLatin1(p);
    if (r.isEmpty() && libftdiDisponible())
        r << placeLibftdiV6();
    return r;
#endif
}

TCreationCentrale creerV6(const QString& chemin) {
    TCreationCentrale r;
    TCreationTransportV6 t = creerTransportV6(chemin);
    r.erreur = t.erreur;
    const int type = estBibliothequeSimulateurV6(chemin) ? CENTRALE_SIMULATION_V6 : CENTRALE_V6;
    r.centrale = std::make_unique<TSYSAMV6>(std::move(t.transport), 1, type);
    return r;
}

// The CAMPUS library lies in the program's folder, and is tried only when the V6's FTDI
// library is on the machine.
QStringList placesCAMPUS(const TDossiersCentrales& d) {
    for (const QString& ftdi : dossiersSysteme(d, QStringLiteral("FTD2XX-V6.dll")))
        if (QFileInfo::exists(ftdi))
            return {d.programme + QStringLiteral("/Campus.DLL")};
    return {};
}

void activerV6(TCentrale& c) {
    c.acquisitionUtilisateur = true;
}

void activerCAMPUS(TCentrale& c) {
    c.tAttenteCAMPUSAuDeclX = 50;
}

std::vector<TFamille> table() {
    TFamille sp5;
    sp5.famille = FAMILLE_SP5;
    sp5.typeCentrale = CENTRALE_SP5;
    sp5.option = "sp5";
    sp5.nom = sp5.nomConnexion = "SYSAM SP5";
    sp5.placesConstructeur = placesSP5;
    sp5.creer = creerSP5;
    sp5.avecSimulateur = true;
    sp5.simulateur = {CENTRALE_SIMULATION_SP5, "simulation-sp5", "libsp5sim.so", "SP5SIM.DLL",
                      "SimSP5_"};

    TFamille v6;
    v6.famille = FAMILLE_V6;
    v6.typeCentrale = CENTRALE_V6;
    v6.option = "v6";
    v6.nom = v6.nomConnexion = "SYSAM V6";
    v6.placesConstructeur = placesV6;
    v6.creer = creerV6;
    v6.activer = activerV6;
    v6.avecSimulateur = true;
    v6.simulateur = {CENTRALE_SIMULATION_V6, "simulation-v6", "libv6sim.so", "V6SIM.DLL", "SimV6_"};

    TFamille campus;
    campus.famille = FAMILLE_CAMPUS;
    campus.typeCentrale = CENTRALE_CAMPUS;
    campus.option = "campus";
    campus.nom = "SYSAM CAMPUS";
    campus.nomConnexion = "CAMPUS";
    campus.placesConstructeur = placesCAMPUS;
    campus.creer = creerCAMPUS;
    campus.activer = activerCAMPUS;
    campus.avecSimulateur = true;
    campus.simulateur = {CENTRALE_SIMULATION_CAMPUS, "simulation-campus", "libcampussim.so",
                         "CAMPUSSIM.DLL", "SimCampus_"};
    return {sp5, v6, campus};
}

} // namespace

QString TSimulateurCentrale::fichier() const {
#if defined(Q_OS_WIN)
    return QString::fromLatin1(fichierWindows);
#else
    return QString::fromLatin1(fichierLinux);
#endif
}

QStringList TFamille::places(const TDossiersCentrales& d) const {
    QStringList r = placesConstructeur ? placesConstructeur(d) : QStringList();
    if (avecSimulateur && !d.programme.isEmpty()) {
        r << d.programme + QLatin1Char('/') + simulateur.fichier();
        if (!d.bibliothequesRelatif.isEmpty())
            r << QDir::cleanPath(d.programme + QLatin1Char('/') + d.bibliothequesRelatif +
                                 QLatin1Char('/') + simulateur.fichier());
    }
    return r;
}

const std::vector<TFamille>& famillesCentrales() {
    static const std::vector<TFamille> familles = table();
    return familles;
}

const TFamille* familleParNumero(int famille) {
    for (const TFamille& f : famillesCentrales())
        if (f.famille == famille)
            return &f;
    return nullptr;
}

const TFamille* familleDuType(int typeCentrale) {
    for (const TFamille& f : famillesCentrales())
        if (f.possedeType(typeCentrale))
            return &f;
    return nullptr;
}

bool estTypeSimule(int typeCentrale) {
    for (const TFamille& f : famillesCentrales())
        if (f.avecSimulateur && f.simulateur.typeCentrale == typeCentrale)
            return true;
    return false;
}

int typeParOption(const QString& option) {
    for (const TFamille& f : famillesCentrales()) {
        if (option.compare(QLatin1String(f.option), Qt::CaseInsensitive) == 0)
            return f.typeCentrale;
        if (f.avecSimulateur &&
            option.compare(QLatin1String(f.simulateur.option), Qt::CaseInsensitive) == 0)
            return f.simulateur.typeCentrale;
    }
    return 0;
}

QStringList optionsCentrales() {
    QStringList r;
    for (const TFamille& f : famillesCentrales()) {
        if (f.avecSimulateur)
            r << QString::fromLatin1(f.simulateur.option);
        r << QString::fromLatin1(f.option);
    }
    return r;
}
