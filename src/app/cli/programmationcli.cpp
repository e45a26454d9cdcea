#include "programmationcli.h"

#include "formats.h"

#include <algorithm>
#include <cmath>

namespace {

QString guillemets(const QString& t) {
    return QStringLiteral("« ") + t + QStringLiteral(" »");
}

// The input's number when the unit has it, else the message.
int entreeDeLaCentrale(const TCentrale& u, const QString& nom, QString& erreur) {
    const int n = numeroEntree(nom);
    if (n < 0 || n >= u.nbEAU || n >= static_cast<int>(u.sEntrees.size())) {
        erreur = QStringLiteral("La centrale ") + u.nomCentrale +
                 QStringLiteral(" n'a pas d'entrée ") + nom + QLatin1Char('.');
        return -1;
    }
    return n;
}

// The range item whose value in volts is the typed one.
int indexCalibre(const TCentrale& u, const QString& volts) {
    double v = 0.0;
    if (!TReglagesAcq::lireValeur(volts, v, u"V"))
        return -1;
    const int n = std::min<int>(u.nbCalEAKirvane, static_cast<int>(u.calibresDispo.size()));
    for (int r = 0; r < n; ++r) {
        const double c = u.calibresDispo[static_cast<std::size_t>(r)];
        if (c > 0.0 && std::fabs(std::fabs(v) - c) <= 1e-6 * c)
            return r;
    }
    return -1;
}

QString calibresProposes(const TCentrale& u) {
    QStringList t;
    for (int r = 0; r < u.nbCalEAKirvane && r < static_cast<int>(u.sCalibres.size()); ++r)
        t << u.sCalibres[static_cast<std::size_t>(r)];
    return t.join(QStringLiteral(", "));
}

QString appliquerVoies(TReglagesAcq& r, const TOptionsCli& o) {
    TCentrale& u = *r.centrale();
    QString erreur;
    for (int k : o.differentiels) {
        if (u.ChxModeDiff != 1 || k >= u.nbCanaux_)
            return QStringLiteral("Le canal ") + QString::number(k) +
                   QStringLiteral(" ne peut pas être mis en mode différentiel sur la centrale ") +
                   u.nomCentrale + QLatin1Char('.');
        r.clicModeDiff(k, true);
    }
    if (!o.entrees.isEmpty()) {
        std::vector<int> voulues;
        for (const QString& nom : o.entrees) {
            const int n = entreeDeLaCentrale(u, nom, erreur);
            if (n < 0)
                return erreur;
            if (!r.etat.voieActivable[static_cast<std::size_t>(n)])
                return QStringLiteral("L'entrée ") + nom +
                       QStringLiteral(" ne peut pas être activée : son canal est en mode "
                                      "différentiel.");
            voulues.push_back(n);
        }
        // The requested inputs first: the last active input is never switched off.
        for (int n : voulues)
            if (!r.etat.voieActive[static_cast<std::size_t>(n)])
                r.clicVoieActive(n, true);
        for (int i = 0; i < 8; ++i)
            if (r.etat.voieActive[static_cast<std::size_t>(i)] &&
                std::find(voulues.begin(), voulues.end(), i) == voulues.end())
                r.clicVoieActive(i, false);
    }
    for (const TCalibreCli& c : o.calibres) {
        const int n = entreeDeLaCentrale(u, c.entree, erreur);
        if (n < 0)
            return erreur;
        if (!r.etat.calibreActif[static_cast<std::size_t>(n)])
            return QStringLiteral("Le calibre de l'entrée ") + c.entree +
                   QStringLiteral(" ne peut pas être choisi : l'entrée n'est pas activée.");
        const int idx = indexCalibre(u, c.volts);
        if (idx < 0)
            return QStringLiteral("Calibre incorrect pour ") + c.entree + QStringLiteral(" : ") +
                   guillemets(c.volts) + QStringLiteral(" (calibres de la centrale : ") +
                   calibresProposes(u) + QStringLiteral(").");
        r.clicCalibre(n, idx);
    }
    return {};
}

QString appliquerTemps(TReglagesAcq& r, const TOptionsCli& o) {
    // Typed into the list and the field left, as in the window.
    if (o.duree) {
        r.entreeDureeTotale();
        r.saisieDureeTotale(*o.duree);
        const TEffetsReglages e = r.sortieDureeTotale();
        if (!e.information.isEmpty())
            return e.information;
    }
    if (o.points) {
        r.entreeNbPoints();
        r.saisieNbPoints(*o.points);
        const TEffetsReglages e = r.sortieNbPoints();
        if (!e.information.isEmpty())
            return e.information;
    }
    return {};
}

QString appliquerDeclenchement(TReglagesAcq& r, const TOptionsCli& o) {
    TCentrale& u = *r.centrale();
    if (o.declenchement >= 0)
        r.clicTypeDeclenchement(o.declenchement);
    if (!o.voieSynchro.isEmpty()) {
        const int n = numeroEntree(o.voieSynchro);
        const auto& signaux = u.VoiesActivesSignaux;
        const auto it = std::find(signaux.begin(), signaux.end(), n);
        if (!r.etat.itemsVoieSynchro.contains(o.voieSynchro) || it == signaux.end())
            return QStringLiteral("L'entrée ") + o.voieSynchro +
                   QStringLiteral(" ne peut pas servir au déclenchement : elle n'est pas "
                                  "activée.");
        r.clicVoieSynchro(static_cast<int>(it - signaux.begin()));
    }
    if (o.seuil) {
        r.entreeSeuil();
        r.saisieSeuil(*o.seuil);
        const TEffetsReglages e = r.sortieSeuil();
        if (!e.information.isEmpty())
            return e.information;
    }
    if (o.sens >= 0) {
        if (!r.etat.RGSensDeclenchement)
            return QStringLiteral("Le sens du déclenchement ne peut pas être choisi sur la "
                                  "centrale ") +
                   u.nomCentrale + QLatin1Char('.');
        r.clicSensDeclenchement(o.sens);
    }
    if (o.pretrig > 0 && !r.etat.CBPretrigX)
        return QStringLiteral("Le prédéclenchement n'est pas proposé avec ces réglages (durée "
                              "totale trop longue).");
    if (o.pretrig >= 0 && r.etat.CBPretrigX)
        r.clicPretrig(o.pretrig);
    return {};
}

} // namespace

QString programmerCli(TReglagesAcq& reglages, const TOptionsCli& options,
                      QStringList* ajustements) {
    if (reglages.centrale() == nullptr)
        return QStringLiteral("Aucune centrale n'est active.");
    const TCentrale& u = *reglages.centrale();
    // What the settings hold before the options: the defaults an option left alone.
    const double dureeAvant = u.dureeTotale0X;
    const int64_t pointsAvant = u.nbPtsAffX;
    const float seuilAvant = u.USeuilDecl;
    QString erreur = appliquerVoies(reglages, options);
    if (erreur.isEmpty())
        erreur = appliquerTemps(reglages, options);
    if (erreur.isEmpty())
        erreur = appliquerDeclenchement(reglages, options);
    if (!erreur.isEmpty() || ajustements == nullptr)
        return erreur;

    // Each value as the window's fields show it; a difference there is a change the user
    // would see, rounding below it is not.
    const auto duree = [](double d) { return formatReel(4, 4, d) + u's'; };
    const auto seuil = [](double s) {
        return texteG6(static_cast<float>(s)) + QStringLiteral(" V");
    };
    const auto demande = [](const std::optional<QString>& option, const QString& defaut) {
        return option ? guillemets(*option) : defaut + QStringLiteral(" (valeur par défaut)");
    };
    double v = 0.0;
    const QString dureeDemandee = options.duree && TReglagesAcq::lireValeur(*options.duree, v, u"s")
                                      ? duree(v)
                                      : duree(dureeAvant);
    if (duree(u.dureeTotale0X) != dureeDemandee)
        *ajustements << QStringLiteral("Durée totale ajustée : ") + duree(u.dureeTotale0X) +
                            QStringLiteral(" au lieu de ") +
                            demande(options.duree, duree(dureeAvant)) + QLatin1Char('.');
    int64_t n = pointsAvant;
    if (options.points)
        n = options.points->trimmed().toLongLong();
    if (u.nbPtsAffX != n)
        *ajustements << QStringLiteral("Nombre de points ajusté : ") +
                            QString::number(u.nbPtsAffX) + QStringLiteral(" au lieu de ") +
                            demande(options.points, QString::number(pointsAvant)) +
                            QLatin1Char('.');
    if (u.modeDecl == 1) {
        const QString seuilDemande =
            options.seuil && TReglagesAcq::lireValeur(*options.seuil, v, u"V") ? seuil(v)
                                                                               : seuil(seuilAvant);
        if (seuil(u.USeuilDecl) != seuilDemande)
            *ajustements << QStringLiteral("Seuil de déclenchement ajusté : ") +
                                seuil(u.USeuilDecl) + QStringLiteral(" au lieu de ") +
                                demande(options.seuil, seuil(seuilAvant)) + QLatin1Char('.');
    }
    return {};
}
