#include "instantaneexport.h"

#include "arrondis.h"
#include "formats.h"
#include "seriesmesurees.h"
#include "systeme.h"

#include <QCoreApplication>
#include <QDir>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Removes the time-zone fields ("t" to "tttt") outside quoted text: the files write the
// clock time alone.
QString sansFuseau(const QString& format) {
    QString r;
    bool entreApostrophes = false;
    for (const QChar c : format) {
        if (c == u'\'')
            entreApostrophes = !entreApostrophes;
        if (!entreApostrophes && c == u't')
            continue;
        r += c;
    }
    return r.simplified();
}

// Number of samples that the series from 0 to nbSeries - 1 all hold.
int64_t longueurCommune(const std::vector<TSerieExport>& series, std::size_t nbSeries) {
    int64_t n = INT64_MAX;
    for (std::size_t j = 0; j < nbSeries && j < series.size(); ++j)
        n = std::min(n, static_cast<int64_t>(series[j].valeurs.size()));
    return n;
}

// The left cursor lies before the end of the committed series, in time and in samples.
bool curseurGaucheDansLaSerie(const TInstantaneExport& e) {
    if (!(static_cast<double>(e.t0) < e.dureeTotaleAX))
        return false;
    if (!(e.dtAX > 0) || !std::isfinite(e.dtAX))
        return false;
    return arrondi64(static_cast<double>(e.t0) / e.dtAX) < e.nbPtsAX - 1;
}

} // namespace

TFormatsRegionaux formatsRegionaux(const QLocale& locale) {
    return {locale.dateFormat(QLocale::ShortFormat),
            sansFuseau(locale.timeFormat(QLocale::LongFormat))};
}

TInstantaneExport instantaneExport(const TSeriesMesurees& store, const TCentrale& centrale,
                                   const TContexteExport& contexte) {
    TInstantaneExport e;
    const int nb =
        std::clamp(store.nbVoiesMesurees, 0,
                   static_cast<int>(std::min(store.tv2.size(), store.voiesMesurees.size())));
    e.series.reserve(nb);
    for (int j = 0; j < nb; ++j) {
        const TVoieMesuree& v = store.voiesMesurees[j];
        e.series.push_back({v.sEnteteVM, v.clVM, v.calVM, v.ModeDiffVM, v.capCommRegvoie1VM,
                            v.capCommRegvoie2VM, store.tv2[j]});
    }
    e.dtAX = centrale.dtAX;
    e.nbPtsAX = centrale.nbPtsAX;
    e.dureeTotaleAX = centrale.dureeTotaleAX;
    e.nomCentrale = centrale.nomCentrale;
    e.t0 = contexte.t0;
    e.tFin = contexte.tFin;
    e.OptionCouleursRegressi = contexte.OptionCouleursRegressi;
    e.separateurCSV = contexte.separateurCSV == ',' ? ',' : '.';
    e.heureAcq = store.heureAcq;
    e.maintenant = QDateTime::currentDateTime();
    e.locale = QLocale::system();
    const TFormatsRegionaux formats = formatsRegionaux(e.locale);
    e.formatDate = formats.date;
    e.formatHeure = formats.heure;
    e.separateur = separateurDecimal();
    if (QCoreApplication::instance() != nullptr)
        e.cheminExecutable = QDir::toNativeSeparators(QCoreApplication::applicationFilePath());
    e.titreProgramme = QStringLiteral("Kirvane - ") + versionProgramme();
    return e;
}

std::optional<TSelection> selectionEchantillons(double dtAX, float t0, double tFin,
                                                int64_t dernierIndex) {
    if (!(dtAX > 0) || !std::isfinite(dtAX) || std::isnan(t0) || std::isnan(tFin))
        return std::nullopt;
    TSelection s;
    s.i0 = std::max<int64_t>(0, arrondi64(static_cast<double>(t0) / dtAX));
    s.i1 = std::min(dernierIndex, arrondi64(tFin / dtAX));
    if (s.i1 < s.i0)
        return std::nullopt;
    return s;
}

std::optional<TSelection> selectionRegressi(const TInstantaneExport& e) {
    return selectionPremieresSeries(e, 6);
}

std::optional<TSelection> selectionPremieresSeries(const TInstantaneExport& e,
                                                   std::size_t nbSeries) {
    const std::size_t n = std::min(nbSeries, e.series.size());
    if (n == 0 || !curseurGaucheDansLaSerie(e))
        return std::nullopt;
    // A series holding fewer values than nbPtsAX bounds the rows too: no value is ever
    // read beyond the end of a column.
    const int64_t nb = std::min(e.nbPtsAX, longueurCommune(e.series, n));
    return selectionEchantillons(e.dtAX, e.t0, e.tFin, nb - 1);
}

std::optional<TSelection> selectionTableaux(const TInstantaneExport& e) {
    if (e.series.empty() || !curseurGaucheDansLaSerie(e))
        return std::nullopt;
    const int64_t nb = longueurCommune(e.series, e.series.size());
    return selectionEchantillons(e.dtAX, e.t0, e.tFin, nb - 1);
}

double tempsDepuisCurseur(const TInstantaneExport& e, int64_t i0, int64_t i) {
    const double t0 = e.t0;
    double ecart = static_cast<double>(i0) * e.dtAX - t0;
    // Half a unit in the last place of a float is |t0| × FLT_EPSILON / 2 at most.
    if (std::fabs(ecart) <= std::fabs(t0) * std::numeric_limits<float>::epsilon())
        ecart = 0.0;
    return static_cast<double>(i - i0) * e.dtAX + ecart;
}

QString texteDate(const TInstantaneExport& e, const QDateTime& moment) {
    return e.locale.toString(moment.date(), e.formatDate);
}

QString texteHeure(const TInstantaneExport& e, const QDateTime& moment) {
    return e.locale.toString(moment.time(), e.formatHeure);
}

QString texteMesuresRealisees(const TInstantaneExport& e, const QDateTime& moment) {
    return QString::fromUtf8("Mesures réalisées avec l'interface ") + e.nomCentrale +
           QStringLiteral(" le ") + texteDate(e, moment) + QString::fromUtf8(" à ") +
           texteHeure(e, moment);
}
