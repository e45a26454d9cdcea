#pragma once
// The acquisition of the reference files: a SYSAM SP5, 5 samples at 1 ms, EA0 single-ended
// rising from 0 to 2 V and EA1 differential with EA5 at -0.25 V, cursors at 0 and 4 ms,
// default colours, "," as regional separator, acquired and written on 9 December 2026 at
// 10:15:00. Helpers read the written bytes back as lines.
#include "couleurs.h"
#include "instantaneexport.h"

#include <QByteArray>
#include <QFile>
#include <QStringList>
#include <gtest/gtest.h>

#include <ostream>

// Readable texts in the failure messages.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

inline TInstantaneExport exempleExport() {
    TInstantaneExport e;
    e.series = {
        {QStringLiteral("u[0_M]"),
         clsV0[0],
         0,
         false,
         QStringLiteral("EA0"),
         QString(),
         {0.0f, 0.5f, 1.0f, 1.5f, 2.0f}},
        {QStringLiteral("u[1_5]"), clsV0[1], 0, true, QStringLiteral("EA1"), QStringLiteral("EA5"),
         std::vector<float>(5, -0.25f)},
    };
    e.dtAX = 0.001;
    e.nbPtsAX = 5;
    e.dureeTotaleAX = 0.004;
    e.nomCentrale = QStringLiteral("SYSAM SP5");
    e.t0 = 0.0f;
    e.tFin = 0.004;
    e.heureAcq = QDateTime(QDate(2026, 12, 9), QTime(10, 15, 0));
    e.maintenant = e.heureAcq;
    e.locale = QLocale(QLocale::French, QLocale::France);
    e.formatDate = QStringLiteral("dd/MM/yyyy");
    e.formatHeure = QStringLiteral("HH:mm:ss");
    e.separateur = u',';
    e.cheminExecutable = QStringLiteral("C:\\Prog\\Kirvane.exe");
    e.titreProgramme = QStringLiteral("Kirvane - 3.2.2.0");
    e.OptionCouleursRegressi = 1;
    return e;
}

// A series of nb samples, value k × pas at sample k.
inline TSerieExport serieRampe(const QString& nom, int nb, float pas) {
    TSerieExport s{nom, 0x02000090, 0, false, QStringLiteral("EA0"), QString(), {}};
    for (int k = 0; k < nb; ++k)
        s.valeurs.push_back(static_cast<float>(k) * pas);
    return s;
}

inline QByteArray fichierAttendu(const char* nom) {
    QFile f(QStringLiteral(KIRVANE_ATTENDUS "/") + QLatin1StringView(nom));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << nom;
    return f.readAll();
}

// The lines of a written file, decoded from Windows-1252 (the texts used here lie in
// Latin-1). Every line must end with CR LF and no other line break may occur.
inline QStringList lignesFichier(const QByteArray& octets) {
    EXPECT_TRUE(octets.endsWith("\r\n"));
    QStringList r;
    qsizetype debut = 0;
    while (debut < octets.size()) {
        const qsizetype fin = octets.indexOf("\r\n", debut);
        if (fin < 0)
            break;
        const QByteArray ligne = octets.mid(debut, fin - debut);
        EXPECT_FALSE(ligne.contains('\n') || ligne.contains('\r')) << ligne.constData();
        r << QString::fromLatin1(ligne);
        debut = fin + 2;
    }
    return r;
}

// The lines following the first line equal to marque, up to the next marker line.
inline QStringList section(const QStringList& lignes, const QString& marque) {
    QStringList r;
    qsizetype i = lignes.indexOf(marque);
    if (i < 0)
        return r;
    for (++i; i < lignes.size(); ++i) {
        if (lignes[i].startsWith(u'&') || lignes[i].startsWith(u'\u00A3'))
            break;
        r << lignes[i];
    }
    return r;
}
