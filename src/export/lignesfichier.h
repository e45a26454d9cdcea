#pragma once
// The bytes of a text file as the program writes them: Windows-1252, every line (the last
// one included) ended by carriage return and line feed, no byte-order mark.
#include "formats.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <string_view>

class TLignesFichier {
public:
    explicit TLignesFichier(qsizetype reserve = 0) { octets_.reserve(reserve); }

    void ligne(const QString& texte);
    void ligne(std::string_view ascii);
    void ligne(const char* ascii) { ligne(std::string_view(ascii)); }
    void ligne(int64_t entier);
    // Lines of the same text.
    void lignes(std::string_view ascii, int64_t nombre);

    // Building a line piece by piece; finLigne() ends it.
    void ajoute(std::string_view ascii) { octets_.append(ascii.data(), ascii.size()); }
    void ajoute(const char* ascii) { ajoute(std::string_view(ascii)); }
    void ajoute(const QString& texte);
    void ajoute(char c) { octets_.append(c); }
    // texteG6 with the given separator ("." whatever the regional one by default);
    // returns the length written.
    int ajouteG6(float x, char separateur = '.');
    void espaces(int nombre) {
        if (nombre > 0)
            octets_.append(nombre, ' ');
    }
    void finLigne() { octets_.append("\r\n", 2); }

    qsizetype taille() const { return octets_.size(); }
    QByteArray resultat() && { return std::move(octets_); }

private:
    QByteArray octets_;
};

// Time of a row as the files write it: rounded to 6 significant digits.
float tempsArrondi(double t);
