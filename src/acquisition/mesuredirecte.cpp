#include "mesuredirecte.h"

#include "formats.h"

#include <algorithm>
#include <exception>

QString TMesureDirecte::texteValeur(double volts) {
    return QStringLiteral("  ") + formatReel(4, 4, volts) + QStringLiteral("V");
}

TValeursDirectes TMesureDirecte::rafraichir(TCentrale* centrale, TModeGeneral modeGeneral) const {
    TValeursDirectes r;
    if (bloqueTimerAcqDirecte || centrale == nullptr || acquisitionEnCours(modeGeneral))
        return r;
    TCentrale& u = *centrale;
    const int nbSignaux =
        std::min<int>(u.nbVoiesSignaux, static_cast<int>(u.VoiesActivesSignaux.size()));
    auto entree = [&](int i) {
        const int v = u.VoiesActivesSignaux[i];
        return v >= 0 && v < 8 && v < static_cast<int>(u.VoiesX.size()) ? v : -1;
    };
    bool presente = false;
    try {
        presente = u.Presente();
        if (presente) {
            u.MesureDirecte();
            for (int i = 0; i < nbSignaux; ++i)
                if (const int v = entree(i); v >= 0)
                    r.EditValU[v] = texteValeur(u.Ux(v, u.VoiesX[v].mesDir));
            r.lu = true;
        }
    } catch (const std::exception&) {
        // A library that fails is handled as a unit gone: the presence poll reports it.
        presente = false;
    }
    if (!presente) {
        r = TValeursDirectes{};
        r.centraleAbsente = true;
        for (int i = 0; i < nbSignaux; ++i)
            if (const int v = entree(i); v >= 0)
                r.EditValU[v] = QString();
    }
    return r;
}
