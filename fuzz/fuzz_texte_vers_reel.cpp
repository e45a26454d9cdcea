// The reader of typed values: any text, with or without a unit, is read without crashing
// or hanging; a value it accepts is finite, and the text the program would show for it
// (engineering notation with the regional separator) reads back as the same value.
#include "formats.h"
#include "lecture.h"

#include <QString>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// The window shows a value with 4 significant digits: that text reads back as a value shown
// the same. With 17 digits the text names the value itself: it reads back within two units
// of the last place (the prefix's power of ten is applied after the digits are read).
void relireAffichage(double v, QStringView unite, QChar separateur) {
    const QString affiche = formatReelIng(4, v, separateur) + unite.toString();
    double relu = 0.0;
    int r = texteVersReel(affiche, relu, unite);
    if (r != 0 || formatReelIng(4, relu, separateur) + unite.toString() != affiche) {
        std::fprintf(stderr, "%.17g affiché « %s » relu %.17g (état %d)\n", v,
                     affiche.toUtf8().constData(), relu, r);
        std::abort();
    }
    const QString exact = formatReelIng(17, v, separateur) + unite.toString();
    r = texteVersReel(exact, relu, unite);
    const double ulp = std::fabs(std::nextafter(v, 0.0) - v);
    if (r != 0 || std::fabs(relu - v) > 2.0 * ulp) {
        std::fprintf(stderr, "%.17g écrit « %s » relu %.17g (état %d)\n", v,
                     exact.toUtf8().constData(), relu, r);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* donnees, size_t taille) {
    if (taille > 256)
        return 0; // the fields hold a few characters
    const QString texte =
        QString::fromUtf8(reinterpret_cast<const char*>(donnees), static_cast<qsizetype>(taille));
    // The program reads with the regional separator captured at start: both are tried.
    for (const QChar separateur : {QLatin1Char(','), QLatin1Char('.')}) {
        setSeparateurDecimal(separateur);
        for (QStringView unite : {QStringView(), QStringView(u"s"), QStringView(u"V")}) {
            double v = 0.0;
            if (texteVersReel(texte, v, unite) != 0 || texte.trimmed().isEmpty())
                continue;
            if (!std::isfinite(v)) {
                std::fprintf(stderr, "« %s » accepté comme %g\n", texte.toUtf8().constData(), v);
                std::abort();
            }
            // The display writes the prefixes beyond f and T (a, P, E…) that the reader does
            // not take; the settings bring such values into range before they are shown.
            const double a = std::fabs(v);
            if (!unite.isEmpty() && (a == 0.0 || (a >= 1e-15 && a < 999.95e12)))
                relireAffichage(v, unite, separateur);
        }
    }
    return 0;
}
