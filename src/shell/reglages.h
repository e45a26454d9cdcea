// The user's preferences kept between runs: read once while the main window is built,
// written back once when it is destroyed. The values go through one small store interface:
// QSettings in the program (the registry of the current user on Windows, an INI file
// elsewhere), a map in memory in the tests.
#pragma once

#include "couleurs.h"

#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QSettings;

// One flat set of named values. A value that is absent, of another type or unreadable is
// reported as absent (std::nullopt); the caller then applies its default.
class TMagasinReglages {
public:
    virtual ~TMagasinReglages() = default;
    // True when the program's key holds anything: the settings were written by an
    // earlier run.
    virtual bool cleExiste() const = 0;
    // True when the stored values could not be read as a whole (a damaged settings file):
    // the window then starts on its defaults and says so.
    virtual bool endommage() const { return false; }
    virtual std::optional<std::int32_t> lireEntier(const QString& nom) const = 0;
    virtual std::optional<double> lireReel(const QString& nom) const = 0;
    virtual std::optional<bool> lireBooleen(const QString& nom) const = 0;
    virtual std::optional<QString> lireTexte(const QString& nom) const = 0;
    virtual void ecrireEntier(const QString& nom, std::int32_t valeur) = 0;
    virtual void ecrireReel(const QString& nom, double valeur) = 0;
    virtual void ecrireBooleen(const QString& nom, bool valeur) = 0;
    virtual void ecrireTexte(const QString& nom, const QString& valeur) = 0;
};

// The store on QSettings. Without a path: on Windows the key
// HKEY_CURRENT_USER\Software\Kirvane, elsewhere the INI file Kirvane/Kirvane.ini in the
// user's configuration folder. With a path: that INI file (tests, portable use).
class TMagasinReglagesQSettings : public TMagasinReglages {
public:
    TMagasinReglagesQSettings();
    explicit TMagasinReglagesQSettings(const QString& cheminIni);
    ~TMagasinReglagesQSettings() override;

    // Where the values live: the registry key or the INI file.
    QString emplacement() const;
    // Writes pending values out (also done on destruction); false when that failed.
    bool synchroniser();

    bool cleExiste() const override;
    bool endommage() const override;
    std::optional<std::int32_t> lireEntier(const QString& nom) const override;
    std::optional<double> lireReel(const QString& nom) const override;
    std::optional<bool> lireBooleen(const QString& nom) const override;
    std::optional<QString> lireTexte(const QString& nom) const override;
    void ecrireEntier(const QString& nom, std::int32_t valeur) override;
    void ecrireReel(const QString& nom, double valeur) override;
    void ecrireBooleen(const QString& nom, bool valeur) override;
    void ecrireTexte(const QString& nom, const QString& valeur) override;

    // QSettings reads "/" and "\" in a name as a path to a sub-key; they are escaped
    // (with "%" itself) so that any value name stays one flat value.
    static QString cleQSettings(const QString& nom);

private:
    void mettreDeCoteSiEndommage();

    std::unique_ptr<QSettings> settings;
    bool endommage_ = false;
};

// Value names of the stored settings.
namespace NomsReglages {
inline const QString INTERFACE_UTILISEE = QStringLiteral("Interface utilisée");
inline const QString NOMBRE_UTILISATIONS = QStringLiteral("Nombre d'utilisations");
inline const QString DUREE_TOTALE = QStringLiteral("Durée totale");
inline const QString NOMBRE_POINTS = QStringLiteral("Nombre de points");
inline const QString VERSION_REGRESSI = QStringLiteral("Version de Regressi");
inline const QString CHEMIN_REGRESSI = QStringLiteral("Chemin de REGRESSI non défaut");
inline const QString OPTION_REGRESSI = QStringLiteral("Option transfert vers Regressi");
inline const QString OPTION_EXCEL = QStringLiteral("Option transfert vers Excel");
inline const QString OPTION_OOO = QStringLiteral("Option transfert vers OOo");
inline const QString COULEURS_REGRESSI = QStringLiteral("Couleurs Kirvane dans Regressi");
inline const QString SEUIL_PRETRIG = QStringLiteral("Seuil Pretrig");
// Folders last used by the three save dialogs, in the order of TFormatFichier.
inline const QString DOSSIERS_ENREGISTREMENT[3] = {QStringLiteral("Dossier des fichiers Regressi"),
                                                   QStringLiteral("Dossier des fichiers texte"),
                                                   QStringLiteral("Dossier des fichiers CSV")};
// 0: "." in the CSV files, 1: ",".
inline const QString SEPARATEUR_CSV = QStringLiteral("Séparateur décimal CSV");
// "voie 0" .. "voie 7"
QString couleurVoie(int i);
} // namespace NomsReglages

// The start line shown when the settings file is damaged.
inline const QString TEXTE_REGLAGES_ENDOMMAGES =
    QStringLiteral("Réglages enregistrés illisibles : valeurs par défaut");

// Limits within which stored values are brought back.
inline constexpr double DUREE_TOTALE_MIN = 1e-6;
inline constexpr double DUREE_TOTALE_MAX = 3600.0;
inline constexpr std::int64_t NB_POINTS_MIN = 11;
inline constexpr std::int64_t NB_POINTS_MAX = 50001;

// The settings of the main window that persist, with the option defaults of a fresh
// window (before anything is read).
struct TReglagesKirvane {
    int typeDERNCentraleUtilisee = 0;
    int nbUtilisations = 0;
    double DureeTotaleDFT = 0.02;
    std::int64_t NbPtsDFT = 1001;
    bool versionRegressiDefaut = true;
    QString cheminREGRESSINonDefautX;
    int optionTransfertREGRESSI = 0;
    int optionTransfertEXCEL = 0;
    int optionTransfertOOo = 0;
    int OptionCouleursRegressi = 1;
    double tMaxPretrigDispo = 5.0;
    std::array<TColor, 8> clsVX = ::clsV0;
    int optionSeparateurCSV = 0;      // 0 "." in the CSV files, 1 ","
    bool enregistrerCouleurs = false; // not stored: chosen in the preferences
    std::array<TColor, 8> clsV0 = ::clsV0;
    // Folder of the last file saved in each format (Regressi, text, CSV); empty until then.
    std::array<QString, 3> dossiersEnregistrement;

    // Reads the stored values. fichierExiste tells whether the stored Regressi path still
    // names a file (QFileInfo::exists by default).
    void lire(const TMagasinReglages& magasin,
              const std::function<bool(const QString&)>& fichierExiste = {});
    // Writes every stored value, in a fixed order (the CSV separator after the colours); the
    // interface is never written.
    void ecrire(TMagasinReglages& magasin) const;
    // Once per start, after reading; saturates instead of wrapping.
    void compterUtilisation();
};

// Kind of interface (1..5) named by the stored text, exactly as written; 0 otherwise.
int typeCentraleDepuisNom(const QString& nom);
