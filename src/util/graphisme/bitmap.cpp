#include "bitmap.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// Round(numerateur / denominateur) with halves to the even neighbour, exactly, for a positive
// denominator and a numerator of either sign.
std::int64_t arrondiQuotient(std::int64_t numerateur, std::int64_t denominateur) {
    std::int64_t q = numerateur / denominateur;
    std::int64_t r = numerateur % denominateur;
    if (r < 0) { // floor division
        --q;
        r += denominateur;
    }
    if (2 * r > denominateur || (2 * r == denominateur && (q & 1) != 0))
        ++q;
    return q;
}

// Source columns (or rows) [premier, dernier] that target column i covers, with n source and
// nc target columns: from Round(n / nc × i) to Round(n / nc × (i + 1) − 1). Both are kept
// inside the source and the block holds at least one column, also when the target is larger.
struct TBloc {
    int premier;
    int dernier;
};

TBloc blocSource(int i, int n, int nc) {
    const auto premier =
        std::clamp<std::int64_t>(arrondiQuotient(std::int64_t(n) * i, nc), 0, n - 1);
    const auto dernier = std::clamp<std::int64_t>(
        arrondiQuotient(std::int64_t(n) * (i + 1) - nc, nc), premier, n - 1);
    return {int(premier), int(dernier)};
}

} // namespace

void reduireBitmap(const QImage& source, QImage& cible,
                   const std::function<void()>& traiterMessages) {
    if (source.isNull() || cible.isNull() || source.width() <= 0 || source.height() <= 0 ||
        cible.width() <= 0 || cible.height() <= 0)
        return;
    const QImage src = source.convertToFormat(QImage::Format_RGB888);
    if (cible.format() != QImage::Format_RGB888)
        cible = QImage(cible.size(), QImage::Format_RGB888);

    const int W = src.width(), H = src.height(), w = cible.width(), h = cible.height();
    std::vector<TBloc> colonnes(w);
    for (int i = 0; i < w; ++i)
        colonnes[i] = blocSource(i, W, w);

    for (int j = 0; j < h; ++j) {
        if (j % 10 == 0 && traiterMessages)
            traiterMessages();
        const TBloc lignes = blocSource(j, H, h);
        uchar* sortie = cible.scanLine(j);
        for (int i = 0; i < w; ++i) {
            const TBloc& bloc = colonnes[i];
            std::int64_t sommes[3] = {0, 0, 0};
            for (int y = lignes.premier; y <= lignes.dernier; ++y) {
                const uchar* p = src.constScanLine(y) + 3 * bloc.premier;
                for (int x = bloc.premier; x <= bloc.dernier; ++x, p += 3) {
                    sommes[0] += p[0];
                    sommes[1] += p[1];
                    sommes[2] += p[2];
                }
            }
            const std::int64_t nombre = std::int64_t(lignes.dernier - lignes.premier + 1) *
                                        (bloc.dernier - bloc.premier + 1);
            for (int k = 0; k < 3; ++k)
                sortie[3 * i + k] = uchar(arrondiQuotient(sommes[k], nombre));
        }
    }
}
