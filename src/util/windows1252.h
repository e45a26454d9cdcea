// Encoding of the texts of every file the program writes (Windows-1252, the single-byte
// code page of Western European Windows), the same on every platform.
#pragma once

#include <QByteArray>
#include <QString>

// One byte per character: ASCII as is, U+00A0..U+00FF to the same byte, the 27 characters
// that Windows-1252 places in 0x80..0x9F (€ ‚ ƒ „ … † ‡ ˆ ‰ Š ‹ Œ Ž ‘ ’ “ ” • – — ˜ ™ š › œ ž Ÿ)
// to their bytes; any other character, a surrogate pair counting as one, becomes "?".
QByteArray versWindows1252(const QString& texte);
