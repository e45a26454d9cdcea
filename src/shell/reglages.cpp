#include "reglages.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

// A 32-bit registry number may come back signed or unsigned (a colour with its top bit
// set is above INT32_MAX as unsigned): both give the same 32 bits.
std::optional<std::int32_t> entier32(long long v) {
    if (v < std::numeric_limits<std::int32_t>::min() ||
        v > static_cast<long long>(std::numeric_limits<std::uint32_t>::max()))
        return std::nullopt;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
}

std::optional<long long> entierDepuisTexte(const QString& texte) {
    bool ok = false;
    const long long v = texte.trimmed().toLongLong(&ok, 10);
    if (ok)
        return v;
    const qulonglong u = texte.trimmed().toULongLong(&ok, 10);
    if (ok && u <= std::numeric_limits<std::uint32_t>::max())
        return static_cast<long long>(u);
    return std::nullopt;
}

bool estEntier(int type) {
    return type == QMetaType::Int || type == QMetaType::UInt || type == QMetaType::LongLong ||
           type == QMetaType::ULongLong;
}

} // namespace

// ---- Store on QSettings ----

TMagasinReglagesQSettings::TMagasinReglagesQSettings() {
#ifdef Q_OS_WIN
    settings = std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER\\Software\\Kirvane"),
                                           QSettings::NativeFormat);
#else
    const QString dossier = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    settings = std::make_unique<QSettings>(dossier + QStringLiteral("/Kirvane/Kirvane.ini"),
                                           QSettings::IniFormat);
#endif
    settings->setFallbacksEnabled(false);
    mettreDeCoteSiEndommage();
}

TMagasinReglagesQSettings::TMagasinReglagesQSettings(const QString& cheminIni)
    : settings(std::make_unique<QSettings>(cheminIni, QSettings::IniFormat)) {
    settings->setFallbacksEnabled(false);
    mettreDeCoteSiEndommage();
}

void TMagasinReglagesQSettings::mettreDeCoteSiEndommage() {
    if (settings->status() != QSettings::FormatError)
        return;
    // QSettings never writes over a file it could not read: the damaged file is kept aside
    // (for whoever wants to look at it) and an empty one takes its place, written at exit.
    endommage_ = true;
    const QString chemin = settings->fileName();
    const QSettings::Format format = settings->format();
    settings.reset();
    const QString copie = chemin + QStringLiteral(".endommage");
    QFile::remove(copie);
    if (!QFile::rename(chemin, copie))
        QFile::remove(chemin);
    settings = std::make_unique<QSettings>(chemin, format);
    settings->setFallbacksEnabled(false);
}

TMagasinReglagesQSettings::~TMagasinReglagesQSettings() = default;

QString TMagasinReglagesQSettings::emplacement() const {
    return settings->fileName();
}

bool TMagasinReglagesQSettings::synchroniser() {
    settings->sync();
    return settings->status() == QSettings::NoError;
}

QString TMagasinReglagesQSettings::cleQSettings(const QString& nom) {
    QString cle = nom;
    cle.replace(u'%', QStringLiteral("%25"));
    cle.replace(u'/', QStringLiteral("%2F"));
    cle.replace(u'\\', QStringLiteral("%5C"));
    return cle;
}

bool TMagasinReglagesQSettings::endommage() const {
    return endommage_;
}

bool TMagasinReglagesQSettings::cleExiste() const {
    return !settings->allKeys().isEmpty();
}

std::optional<std::int32_t> TMagasinReglagesQSettings::lireEntier(const QString& nom) const {
    const QVariant v = settings->value(cleQSettings(nom));
    const int type = v.typeId();
    if (estEntier(type)) {
        if (type == QMetaType::ULongLong) {
            const qulonglong u = v.toULongLong();
            if (u > std::numeric_limits<std::uint32_t>::max())
                return std::nullopt;
            return entier32(static_cast<long long>(u));
        }
        return entier32(v.toLongLong());
    }
    if (type == QMetaType::QString) {
        if (const auto e = entierDepuisTexte(v.toString()))
            return entier32(*e);
    }
    return std::nullopt;
}

std::optional<double> TMagasinReglagesQSettings::lireReel(const QString& nom) const {
    const QVariant v = settings->value(cleQSettings(nom));
    const int type = v.typeId();
    if (type == QMetaType::Double || type == QMetaType::Float || estEntier(type))
        return v.toDouble();
    if (type == QMetaType::QString) {
        bool ok = false;
        const double d = v.toString().trimmed().toDouble(&ok); // always "." whatever the locale
        if (ok)
            return d;
        return std::nullopt;
    }
    if (type == QMetaType::QByteArray) {
        // An 8-byte binary registry value holding an IEEE double, little-endian.
        const QByteArray octets = v.toByteArray();
        if (octets.size() != 8)
            return std::nullopt;
        const quint64 bits = qFromLittleEndian<quint64>(octets.constData());
        double d;
        std::memcpy(&d, &bits, sizeof d);
        return d;
    }
    return std::nullopt;
}

std::optional<bool> TMagasinReglagesQSettings::lireBooleen(const QString& nom) const {
    const QVariant v = settings->value(cleQSettings(nom));
    const int type = v.typeId();
    if (type == QMetaType::Bool)
        return v.toBool();
    if (estEntier(type))
        return v.toLongLong() != 0;
    if (type == QMetaType::QString) {
        const QString texte = v.toString().trimmed();
        if (texte.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return true;
        if (texte.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            return false;
        if (const auto e = entierDepuisTexte(texte))
            return *e != 0;
    }
    return std::nullopt;
}

std::optional<QString> TMagasinReglagesQSettings::lireTexte(const QString& nom) const {
    const QVariant v = settings->value(cleQSettings(nom));
    if (v.typeId() == QMetaType::QString)
        return v.toString();
    // An INI line edited by hand with unquoted commas reads as a list.
    if (v.typeId() == QMetaType::QStringList)
        return v.toStringList().join(QStringLiteral(", "));
    return std::nullopt;
}

void TMagasinReglagesQSettings::ecrireEntier(const QString& nom, std::int32_t valeur) {
    settings->setValue(cleQSettings(nom), valeur);
}

void TMagasinReglagesQSettings::ecrireReel(const QString& nom, double valeur) {
    settings->setValue(cleQSettings(nom), valeur);
}

void TMagasinReglagesQSettings::ecrireBooleen(const QString& nom, bool valeur) {
    settings->setValue(cleQSettings(nom), valeur ? 1 : 0); // a number 0 or 1, as stored
}

void TMagasinReglagesQSettings::ecrireTexte(const QString& nom, const QString& valeur) {
    settings->setValue(cleQSettings(nom), valeur);
}

// ---- The settings ----

QString NomsReglages::couleurVoie(int i) {
    return QStringLiteral("voie ") + QString::number(i);
}

int typeCentraleDepuisNom(const QString& nom) {
    static const char* const noms[] = {"SYSAM SP5", "SYSAM V6", "SYSAM CAMPUS", "SIMULATION SP5",
                                       "AUDIO"};
    for (int k = 0; k < 5; ++k)
        if (nom == QLatin1String(noms[k]))
            return k + 1;
    return 0;
}

namespace {

double dureeDansLesLimites(double d) {
    if (std::isnan(d))
        return 0.02;
    return std::clamp(d, DUREE_TOTALE_MIN, DUREE_TOTALE_MAX);
}

int optionTransfert(int v) {
    return (v == 0 || v == 1 || v == 3) ? v : 0;
}

bool fichierPresent(const QString& chemin) {
    const QFileInfo info(chemin);
    return info.exists() && !info.isDir();
}

} // namespace

void TReglagesKirvane::lire(const TMagasinReglages& magasin,
                            const std::function<bool(const QString&)>& fichierExiste) {
    using namespace NomsReglages;
    if (!magasin.cleExiste()) {
        // Nothing stored yet: the option defaults stay for the transfer to Calc, the colours
        // and the colours in Regressi.
        nbUtilisations = 0;
        NbPtsDFT = 1001;
        DureeTotaleDFT = 0.02;
        versionRegressiDefaut = true;
        cheminREGRESSINonDefautX.clear();
        optionTransfertREGRESSI = 0;
        optionTransfertEXCEL = 0;
        typeDERNCentraleUtilisee = 0;
        tMaxPretrigDispo = 5.0;
        return;
    }

    const auto interface = magasin.lireTexte(INTERFACE_UTILISEE);
    typeDERNCentraleUtilisee = interface ? typeCentraleDepuisNom(*interface) : 0;
    nbUtilisations = std::max(0, magasin.lireEntier(NOMBRE_UTILISATIONS).value_or(0));
    DureeTotaleDFT = dureeDansLesLimites(magasin.lireReel(DUREE_TOTALE).value_or(0.02));
    NbPtsDFT = std::clamp<std::int64_t>(magasin.lireEntier(NOMBRE_POINTS).value_or(1001),
                                        NB_POINTS_MIN, NB_POINTS_MAX);
    versionRegressiDefaut = magasin.lireBooleen(VERSION_REGRESSI).value_or(true);
    if (!versionRegressiDefaut) {
        cheminREGRESSINonDefautX = magasin.lireTexte(CHEMIN_REGRESSI).value_or(QString());
        const bool existe = fichierExiste ? fichierExiste(cheminREGRESSINonDefautX)
                                          : fichierPresent(cheminREGRESSINonDefautX);
        if (!cheminREGRESSINonDefautX.isEmpty() && !existe)
            cheminREGRESSINonDefautX.clear();
    }
    optionTransfertREGRESSI = optionTransfert(magasin.lireEntier(OPTION_REGRESSI).value_or(0));
    optionTransfertEXCEL = optionTransfert(magasin.lireEntier(OPTION_EXCEL).value_or(0));
    optionTransfertOOo = optionTransfert(magasin.lireEntier(OPTION_OOO).value_or(0));
    OptionCouleursRegressi = std::clamp(magasin.lireEntier(COULEURS_REGRESSI).value_or(0), 0, 1);
    const double seuil = magasin.lireReel(SEUIL_PRETRIG).value_or(5.0);
    tMaxPretrigDispo = (std::isfinite(seuil) && seuil > 0.0) ? seuil : 5.0;
    for (int i = 0; i < 8; ++i)
        if (const auto c = magasin.lireEntier(couleurVoie(i)))
            clsVX[i] = static_cast<TColor>(static_cast<std::uint32_t>(*c));
    for (std::size_t k = 0; k < dossiersEnregistrement.size(); ++k)
        dossiersEnregistrement[k] =
            magasin.lireTexte(DOSSIERS_ENREGISTREMENT[k]).value_or(QString());
    optionSeparateurCSV = magasin.lireEntier(SEPARATEUR_CSV).value_or(0) == 1 ? 1 : 0;
}

void TReglagesKirvane::ecrire(TMagasinReglages& magasin) const {
    using namespace NomsReglages;
    magasin.ecrireEntier(NOMBRE_UTILISATIONS, nbUtilisations);
    magasin.ecrireReel(DUREE_TOTALE, DureeTotaleDFT);
    magasin.ecrireEntier(NOMBRE_POINTS, static_cast<std::int32_t>(std::clamp<std::int64_t>(
                                            NbPtsDFT, std::numeric_limits<std::int32_t>::min(),
                                            std::numeric_limits<std::int32_t>::max())));
    magasin.ecrireBooleen(VERSION_REGRESSI, versionRegressiDefaut);
    magasin.ecrireTexte(CHEMIN_REGRESSI, cheminREGRESSINonDefautX);
    magasin.ecrireEntier(OPTION_REGRESSI, optionTransfertREGRESSI);
    magasin.ecrireEntier(OPTION_EXCEL, optionTransfertEXCEL);
    magasin.ecrireEntier(OPTION_OOO, optionTransfertOOo);
    magasin.ecrireEntier(COULEURS_REGRESSI, OptionCouleursRegressi);
    magasin.ecrireReel(SEUIL_PRETRIG, tMaxPretrigDispo);
    // Colours changed during the run are kept only when the user asked for it.
    const auto& couleurs = enregistrerCouleurs ? clsVX : clsV0;
    for (int i = 0; i < 8; ++i)
        magasin.ecrireEntier(couleurVoie(i), static_cast<std::int32_t>(couleurs[i]));
    magasin.ecrireEntier(SEPARATEUR_CSV, optionSeparateurCSV);
    // Only once a file was saved: a first run stores nothing more than the values above.
    for (std::size_t k = 0; k < dossiersEnregistrement.size(); ++k)
        if (!dossiersEnregistrement[k].isEmpty())
            magasin.ecrireTexte(DOSSIERS_ENREGISTREMENT[k], dossiersEnregistrement[k]);
}

void TReglagesKirvane::compterUtilisation() {
    if (nbUtilisations < std::numeric_limits<int>::max())
        ++nbUtilisations;
}
