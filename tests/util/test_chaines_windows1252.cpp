// Text helpers and the Windows-1252 encoding of the files the program writes.
#include "chaines.h"
#include "windows1252.h"

#include <gtest/gtest.h>

#include <algorithm>

// "\n\r" as the program writes it, "\r\n", a lone "\r": one line break each; two in a row
// still leave the blank line the text asks for.
TEST(Chaines, SautsDeLigne) {
    const std::pair<const char*, const char*> cas[] = {
        {"Aucune entrée analogique n'est active. \n\rActivez au moins une entrée !",
         "Aucune entrée analogique n'est active. \nActivez au moins une entrée !"},
        {"a\r\nb", "a\nb"},
        {"a\rb\nc", "a\nb\nc"},
        {"installée.\n\r\n\r\"Kirvane\"", "installée.\n\n\"Kirvane\""},
        {"fin\n\r", "fin\n"},
        {"", ""},
    };
    for (const auto& [texte, attendu] : cas)
        EXPECT_EQ(sautsDeLigne(QString::fromUtf8(texte)).toStdString(), attendu) << texte;
}

TEST(Chaines, PartieTexte) {
    struct Cas {
        const char* texte;
        int partie;
        const char* attendu;
    };
    const Cas cas[] = {
        {"TVOLT2-30 - Tension instantanée|TVOLT2-30 - Tension efficace", 2,
         "TVOLT2-30 - Tension efficace"},
        {"TVOLT2-30 - Tension instantanée|TVOLT2-30 - Tension efficace", 1,
         "TVOLT2-30 - Tension instantanée"},
        {"Capteur de température", 1, "Capteur de température"},
        {"Capteur de température", 2, "Capteur de température"},
        {"a|b|c", 1, "a"},
        {"a|b|c", 2, "b|c"}, // only the first "|" splits
        {"|fin", 1, ""},
        {"|fin", 2, "fin"},
        {"début|", 2, ""},
        {"", 2, ""},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(std::string(c.texte) + " / " + std::to_string(c.partie));
        EXPECT_EQ(partieTexte(QString::fromUtf8(c.texte), c.partie), QString::fromUtf8(c.attendu));
    }
}

TEST(Chaines, DansRectangleInclutLeBord) {
    struct Cas {
        int x, y;
        bool attendu;
    };
    // Rectangle from (10, 20) to (30, 40), borders included.
    const Cas cas[] = {
        {20, 30, true}, {10, 20, true},  {30, 40, true},  {30, 25, true},  {15, 40, true},
        {9, 30, false}, {31, 30, false}, {20, 19, false}, {20, 41, false}, {31, 41, false},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
        EXPECT_EQ(dansRectangle(c.x, c.y, 10, 20, 30, 40), c.attendu);
    }
    EXPECT_TRUE(dansRectangle(5, 5, 5, 5, 5, 5)); // a one-point rectangle holds its point
}

TEST(Windows1252, LettresDuFrancaisEtSymboles) {
    EXPECT_EQ(versWindows1252(QString::fromUtf8("éèêàçµ°£²€")),
              QByteArray("\xE9\xE8\xEA\xE0\xE7\xB5\xB0\xA3\xB2\x80"));
    EXPECT_EQ(versWindows1252(QString::fromUtf8("Durée totale : 10 ms\r\n")),
              QByteArray("Dur\xE9"
                         "e totale : 10 ms\r\n"));
    EXPECT_EQ(versWindows1252(QString::fromUtf8("Œuvre – « ™ »")),
              QByteArray("\x8C"
                         "uvre \x96 \xAB \x99 \xBB"));
    EXPECT_EQ(versWindows1252(QString()), QByteArray());
}

TEST(Windows1252, CaracteresHorsDuJeuDeviennentPointDInterrogation) {
    struct Cas {
        QString texte;
        QByteArray attendu;
    };
    const Cas cas[] = {
        {QString::fromUtf8("a😀b"), "a?b"}, // surrogate pair: one character
        {QString::fromUtf8("😀😀"), "??"},
        {QString(QChar(0xD800)) + u'x', "?x"},       // lone high surrogate
        {QStringLiteral("x") + QChar(0xDC00), "x?"}, // lone low surrogate
        {QString(QChar(0x0081)), "?"},               // C1 control: no character of the page
        {QString(QChar(0x0100)), "?"},               // Ā
        {QString(QChar(0x20AD)), "?"},               // just after €
        {QString(QChar(0x2179)), "?"},               // inside the block that holds ™
        {QString(QChar(0xFFFD)), "?"},
        {QString::fromUtf8("Ω π 漢"), "? ? ?"},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.texte.toStdString());
        EXPECT_EQ(versWindows1252(c.texte), c.attendu);
    }
}

TEST(Windows1252, AllerRetourDesOctetsDefinis) {
    // The characters of bytes 0x80..0x9F in order, the five undefined bytes left out.
    const QString caracteres80 = QString::fromUtf8("€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ");
    ASSERT_EQ(caracteres80.size(), 27);
    const int indefinis[] = {0x81, 0x8D, 0x8F, 0x90, 0x9D};

    QString texte;
    QByteArray attendu;
    qsizetype k = 0;
    for (int octet = 0; octet < 256; ++octet) {
        if (std::find(std::begin(indefinis), std::end(indefinis), octet) != std::end(indefinis))
            continue;
        texte += (octet >= 0x80 && octet < 0xA0) ? caracteres80[k++] : QChar(octet);
        attendu += char(octet);
    }
    ASSERT_EQ(attendu.size(), 251);
    EXPECT_EQ(versWindows1252(texte), attendu);
}
