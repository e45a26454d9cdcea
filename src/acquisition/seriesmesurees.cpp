#include "seriesmesurees.h"

#include "lettres.h"

#include <algorithm>
#include <cmath>

namespace {

bool estMinuscule(QChar c) {
    return c >= QLatin1Char('a') && c <= QLatin1Char('z');
}

// Length of the letter code that ends a header ("a", "b", ... "aa"), 0 when none. The
// unit's labels all end with "]", so only letters after a "]" are a code.
qsizetype longueurSuffixe(const QString& h) {
    qsizetype i = h.size();
    while (i > 0 && estMinuscule(h[i - 1]))
        --i;
    if (i == h.size() || i == 0 || h[i - 1] != QLatin1Char(']'))
        return 0;
    return h.size() - i;
}

QString enteteDeBase(const QString& h) {
    return h.left(h.size() - longueurSuffixe(h));
}

// The count q spelled by a letter code ("a" 1, "z" 26, "aa" 27); 0 without a code.
int rangSuffixe(const QString& h) {
    const qsizetype n = longueurSuffixe(h);
    int q = 0;
    for (qsizetype i = h.size() - n; i < h.size(); ++i) {
        if (q > 1'000'000) // far beyond any real count; avoids overflow on odd names
            return q;
        q = q * 26 + (h[i].unicode() - 'a' + 1);
    }
    return q;
}

void choisirUnite(TVoieMesuree& d, bool micro, bool volt) {
    if (micro) {
        d.multVM = 1'000'000.0f;
        d.sUniteVM = QString::fromUtf8("µV");
    } else if (volt) {
        d.multVM = 1.0f;
        d.sUniteVM = QStringLiteral("V");
    } else {
        d.multVM = 1000.0f;
        d.sUniteVM = QStringLiteral("mV");
    }
}

QString deuxChiffres(int v) {
    return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0'));
}

} // namespace

void TSeriesMesurees::PrepareTV2(const TCentrale& centrale, bool modeDoubleTrameX) {
    if (!ajouterLesCourbesX)
        nbVoiesMesurees = 0;
    const int m = nbVoiesMesurees;
    const int n = std::max(0, centrale.nbVoiesSignaux);
    const int64_t nbPts = std::max<int64_t>(0, centrale.nbPts0X);
    tv2.resize(m + n);
    voiesMesurees.resize(m + n);
    for (int s = m; s < m + n; ++s) {
        tv2[s].assign(modeDoubleTrameX ? 2 * nbPts : nbPts, 0.0f);
        voiesMesurees[s] = TVoieMesuree{};
    }
}

void TSeriesMesurees::recopierDerniereTrame(int64_t nbPts0X) {
    for (size_t s = nbVoiesMesurees; s < tv2.size(); ++s) {
        auto& col = tv2[s];
        if (nbPts0X <= 0 || static_cast<int64_t>(col.size()) < 2 * nbPts0X)
            continue;
        std::copy(col.begin() + nbPts0X, col.begin() + 2 * nbPts0X, col.begin());
    }
}

QString TSeriesMesurees::valider(TCentrale& centrale, TTypeValidation type,
                                 const TContexteValidation& ctx) {
    const bool permanente = type == TTypeValidation::Permanente;
    centrale.acquisitionFaite = true;
    centrale.memoriseParametresTemporels();
    centrale.dtAX = centrale.dt0X;
    centrale.nbPtsAX = centrale.nbPts0X;
    centrale.dureeTotaleAX = centrale.dureeTotale0X;

    const int m = nbVoiesMesurees;
    const int n = static_cast<int>(tv2.size()) - m;
    const int64_t nbPtsAX = std::max<int64_t>(0, centrale.nbPtsAX);
    for (int c = 0; c < n; ++c) {
        TVoieMesuree& d = voiesMesurees[m + c];
        auto& col = tv2[m + c];
        // Frames of double-frame mode are cut back: every committed column holds one
        // acquisition of nbPtsAX values, never two frames.
        if (static_cast<int64_t>(col.size()) > nbPtsAX)
            col.resize(nbPtsAX);
        // A column that received no sample keeps what it holds (zeros), not ±120 V.
        if (d.max < d.min && !col.empty()) {
            const auto [mn, mx] = std::minmax_element(col.begin(), col.end());
            d.min = *mn;
            d.max = *mx;
        } else if (d.max < d.min) {
            d.min = d.max = 0.0f;
        }

        const int voie = c < static_cast<int>(centrale.VoiesActivesSignaux.size())
                             ? centrale.VoiesActivesSignaux[c]
                             : c;
        const int canaux = std::max(1, centrale.nbCanauxUt);
        const int canal = voie % canaux;
        // The labels are those of the input that carries the signal, and the second input
        // of a differential pair is the one of the same channel.
        d.sEnteteVM = centrale.getCapVM(voie);
        d.ModeDiffVM = canal >= 0 && canal < static_cast<int>(centrale.canauxDiff.size()) &&
                       centrale.canauxDiff[canal];
        d.capCommRegvoie1VM = centrale.getCapEA(voie);
        d.capCommRegvoie2VM = d.ModeDiffVM ? centrale.getCapEA(voie + canaux) : QString();
        const bool voieConnue = voie >= 0 && voie < static_cast<int>(centrale.VoiesX.size());
        d.calVM = voieConnue ? centrale.VoiesX[voie].idxCalibreUt : 0;
        const bool huitVoies = voie >= 0 && voie < 8;
        d.echVM = huitVoies ? ctx.echsVoies[voie] : 0.0f;
        d.clVM = huitVoies ? ctx.clsVX[voie] : 0;
        // A single acquisition judges its unit on the signed maximum, permanent mode on the
        // larger magnitude.
        if (permanente) {
            const float e = std::max(std::fabs(d.max), std::fabs(d.min));
            choisirUnite(d, e < 0.001f, e >= 1.0f);
        } else {
            choisirUnite(d, std::fabs(d.max) < 0.001f, d.max >= 1.0f);
        }
    }

    if (!ajouterLesCourbesX) {
        sUMesurees.clear();
        nbUMesurees.clear();
        nPrem.clear();
    }
    for (int c = 0; c < n; ++c)
        grouperNouvelleSerie(m + c);
    nbVoiesMesurees = m + n;

    heureAcq = ctx.maintenant;
    sDateAcq0 = texteDateAcq(heureAcq, ctx.locale);
    const QString secondes = QString::number(heureAcq.time().second()) + QLatin1Char('s');
    sdateAcqX = permanente ? sDateAcq0 + secondes : sDateAcq0 + QLatin1Char(' ') + secondes;
    enregistrerX = true;
    return texteCompteurSeries(nbVoiesMesurees);
}

void TSeriesMesurees::grouperNouvelleSerie(int s) {
    QString& h = voiesMesurees[s].sEnteteVM;
    const QString base = enteteDeBase(h);
    const auto it = std::find(sUMesurees.begin(), sUMesurees.end(), base);
    if (it == sUMesurees.end()) {
        sUMesurees.push_back(base);
        nbUMesurees.push_back(1);
        nPrem.push_back(s);
        return;
    }
    const auto g = it - sUMesurees.begin();
    QString& premier = voiesMesurees[nPrem[g]].sEnteteVM;
    if (nbUMesurees[g] == 1 && longueurSuffixe(premier) == 0)
        premier += lettresSerie(0);
    // The next unused letter: after the highest one the group carries, so that a name
    // is never given twice, also after a deletion.
    int plusHaut = 0;
    for (int i = 0; i < s; ++i) {
        const QString& autre = voiesMesurees[i].sEnteteVM;
        if (enteteDeBase(autre) == base)
            plusHaut = std::max(plusHaut, rangSuffixe(autre));
    }
    ++nbUMesurees[g];
    h = base + lettresSerie(plusHaut);
}

void TSeriesMesurees::MAJEntetesVM() {
    sUMesurees.clear();
    nbUMesurees.clear();
    nPrem.clear();
    for (int i = 0; i < nbVoiesMesurees; ++i) {
        const QString base = enteteDeBase(voiesMesurees[i].sEnteteVM);
        const auto it = std::find(sUMesurees.begin(), sUMesurees.end(), base);
        if (it != sUMesurees.end()) {
            ++nbUMesurees[it - sUMesurees.begin()];
        } else {
            sUMesurees.push_back(base);
            nbUMesurees.push_back(1);
            nPrem.push_back(i);
        }
    }
}

bool TSeriesMesurees::supprimerSerie(int s, TCentrale& centrale) {
    if (s < 0 || s >= nbVoiesMesurees || s >= static_cast<int>(tv2.size()))
        return false;
    // Whole columns move: what a series holds does not depend on the current settings.
    tv2.erase(tv2.begin() + s);
    voiesMesurees.erase(voiesMesurees.begin() + s);
    --nbVoiesMesurees;
    tv2.resize(nbVoiesMesurees);
    voiesMesurees.resize(nbVoiesMesurees);
    MAJEntetesVM();
    if (nbVoiesMesurees == 0)
        centrale.nbPtsAX = 0;
    return true;
}

QString TSeriesMesurees::questionSuppression(int s) const {
    const QString nom = s >= 0 && s < static_cast<int>(voiesMesurees.size())
                            ? voiesMesurees[s].sEnteteVM
                            : QString();
    return QString::fromUtf8("Supprimer effectivement la série de mesures ") + nom +
           QStringLiteral(" ?");
}

void TSeriesMesurees::RAZ(const TCentrale& centrale) {
    nbVoiesMesurees = 0;
    ajouterLesCourbesX = false;
    PrepareTV2(centrale, false);
    sUMesurees.clear();
    nbUMesurees.clear();
    nPrem.clear();
    enregistrerX = false;
}

bool TSeriesMesurees::ajoutPossible(TCentrale& centrale) const {
    return centrale.memesParametresTemporels() && centrale.acquisitionFaite && nbVoiesMesurees > 0;
}

int64_t TSeriesMesurees::nbPointsSerie(int s) const {
    if (s < 0 || s >= nbVoiesMesurees || s >= static_cast<int>(tv2.size()))
        return 0;
    return static_cast<int64_t>(tv2[s].size());
}

int64_t TSeriesMesurees::nbPointsCommuns(int64_t nbVoulu) const {
    int64_t n = std::max<int64_t>(0, nbVoulu);
    for (int s = 0; s < nbVoiesMesurees; ++s)
        n = std::min(n, nbPointsSerie(s));
    return n;
}

QString TSeriesMesurees::texteCompteurSeries(int n) {
    if (n == 1)
        return QString::fromUtf8(" 1 série acquise");
    return QString::number(n) + QString::fromUtf8(" séries acquises");
}

QString TSeriesMesurees::texteDateAcq(const QDateTime& t, const QLocale& locale) {
    const QDate d = t.date();
    const QTime h = t.time();
    return deuxChiffres(d.day()) + QLatin1Char(' ') +
           locale.monthName(d.month(), QLocale::ShortFormat) + QLatin1Char(' ') +
           deuxChiffres(d.year() % 100) + QStringLiteral(" - ") + deuxChiffres(h.hour()) +
           QStringLiteral("h ") + deuxChiffres(h.minute()) + QStringLiteral("mn");
}

int64_t nbPtsAffichesAX(const TCentrale& u) {
    // The duration spans the shown points: (shown − 1) intervals.
    if (u.dtAX > 0.0 && u.dureeTotaleAX > 0.0) {
        const double n = std::round(u.dureeTotaleAX / u.dtAX) + 1.0;
        if (n >= 1.0 && n <= static_cast<double>(u.nbPtsAX) + 1.0)
            return static_cast<int64_t>(n);
    }
    return u.nbPtsAX;
}

int retourAcqPrecedente(TCentrale& centrale) {
    // The shown count, not nbPtsAX: in threshold mode that one carries the extra point
    // and the unit would add another.
    centrale.setDurees(centrale.dureeTotaleAX, nbPtsAffichesAX(centrale), true);
    const int modeBalayage = centrale.dureeTotale0X <= centrale.tRemanence ? 1 : 0;
    centrale.modeRecuperation = modeBalayage;
    centrale.prepareTousPRX(true);
    return modeBalayage;
}
