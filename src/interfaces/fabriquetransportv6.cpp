#include "fabriquetransportv6.h"

#include <QFileInfo>

bool estBibliothequeSimulateurV6(const QString& chemin) {
    const QString nom = QFileInfo(chemin).fileName();
    return nom.compare(QStringLiteral("V6SIM.DLL"), Qt::CaseInsensitive) == 0 ||
           nom.compare(QStringLiteral("libv6sim.so"), Qt::CaseInsensitive) == 0;
}

QString placeLibftdiV6() {
    return QStringLiteral("libftdi1:Sysam-V6");
}

bool libftdiDisponible() {
    return false;
}

TCreationTransportV6 creerTransportV6(const QString& chemin) {
    (void)chemin;
    return {};
}
