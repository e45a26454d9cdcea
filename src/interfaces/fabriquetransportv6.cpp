#include "fabriquetransportv6.h"

#include <QFileInfo>

#include "transport_d2xx.h"
#include "transport_libftdi.h"

bool estBibliothequeSimulateurV6(const QString& chemin) {
    const QString nom = QFileInfo(chemin).fileName();
    return nom.compare(QStringLiteral("V6SIM.DLL"), Qt::CaseInsensitive) == 0 ||
           nom.compare(QStringLiteral("libv6sim.so"), Qt::CaseInsensitive) == 0;
}

QString placeLibftdiV6() {
    return QStringLiteral("libftdi1:Sysam-V6");
}

TCreationTransportV6 creerTransportV6(const QString& chemin) {
    TCreationTransportV6 r;
    if (chemin == placeLibftdiV6()) {
        std::unique_ptr<TTransportOctets> t = creerTransportLibftdi();
        // Only a plugged unit makes the kind installed there: otherwise the simulator is
        // offered, as on a machine without any V6 link.
        if (t && t->ouvrir())
            r.transport = std::move(t);
        return r;
    }
    auto t = std::make_unique<TTransportD2XX>(chemin);
    if (!t->installe()) {
        r.erreur = t->erreurChargement();
        return r;
    }
    r.transport = std::move(t);
    return r;
}
