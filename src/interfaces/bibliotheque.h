#pragma once
// Run-time loading of a unit's library and resolution of its functions, by name, into
// a table of typed function pointers.
#include <QLibrary>
#include <QString>
#include <functional>
#include <stdexcept>
#include <vector>

// The units' libraries use the standard calling convention of 32-bit Windows.
#if defined(_WIN32) && !defined(_WIN64)
#define KIRVANE_STDCALL __stdcall
#else
#define KIRVANE_STDCALL
#endif

// Texts of the library errors.
// "Erreur lors du chargement de " + nomFonction: a function is missing from the library.
QString texteErreurChargementFonction(const QString& nomFonction);
// FNomDLL + " n'est pas chargé": a call while the library is not loaded.
QString texteBibliothequeNonChargee(const QString& FNomDLL);

// An error of a unit's library, carrying its French text.
class EErreurBibliotheque : public std::runtime_error {
public:
    explicit EErreurBibliotheque(const QString& texte);
    QString texte() const { return texte_; }

private:
    QString texte_;
};

// One entry of a function table: the exported name and the slot that receives it.
struct TLienFonction {
    QString nom;
    std::function<void(QFunctionPointer)> affecter;
};

// An entry for a typed pointer member, e.g. lienFonction("Present", table.Present).
template <typename PointeurFonction>
TLienFonction lienFonction(const char* nom, PointeurFonction& cible) {
    return {QString::fromLatin1(nom),
            [&cible](QFunctionPointer p) { cible = reinterpret_cast<PointeurFonction>(p); }};
}

class TBibliotheque {
public:
    TBibliotheque() = default;
    TBibliotheque(const TBibliotheque&) = delete;
    TBibliotheque& operator=(const TBibliotheque&) = delete;
    // Unloads without touching the resolved entries: the table may already be gone.
    ~TBibliotheque();

    // Loads the library at cheminAbsolu. A relative path or a bare name is refused
    // (the system path is never searched). Returns false on failure, without message.
    bool charger(const QString& cheminAbsolu);
    bool chargee() const { return tenue_ && bibliotheque_.isLoaded(); }
    QString chemin() const { return chemin_; }
    // Why the last charger failed (for diagnostics; not a user message).
    QString raisonEchec() const { return raisonEchec_; }

    // Address of one exported function, nullptr when missing or not loaded.
    QFunctionPointer adresse(const QString& nom);

    // Fills every entry of the table; returns the empty text on success, otherwise
    // the error text of the first missing function ("Erreur lors du chargement de " +
    // name), or the " n'est pas chargé" text when nothing is loaded. Missing entries
    // are set to nullptr. The entries are remembered and set to nullptr again by
    // liberer, so that no pointer outlives the library.
    QString resoudre(const std::vector<TLienFonction>& liens);

    // Unloads the library and clears the resolved entries.
    void liberer();

private:
    void decharger();

    QLibrary bibliotheque_;
    bool tenue_ = false; // this object holds one load of the file
    QString chemin_;
    QString raisonEchec_;
    std::vector<TLienFonction> liens_;
};
