// Where the main window starts: its frame, title bar included, inside the screen's free
// area, whatever borders the window manager draws.
#include "placementfenetre.h"

#include <gtest/gtest.h>

namespace {

struct CasPlacement {
    const char* nom;
    QRect zone;
    QMargins bords;
    QRect cadre; // expected frame
};

const CasPlacement casPlacement[] = {
    // No borders (the offscreen platform): the client area is the frame.
    {"sans_bords_1366", {0, 0, 1366, 768}, {}, {5, 5, 1356, 718}},
    // A title bar of 23 px and 4 px borders, as openbox draws them.
    {"openbox_1366", {0, 0, 1366, 768}, {4, 23, 4, 4}, {5, 5, 1356, 718}},
    {"openbox_1920", {0, 0, 1920, 1080}, {4, 23, 4, 4}, {5, 5, 1910, 1030}},
    // A panel along the top edge: the free area starts lower.
    {"panneau_en_haut", {0, 30, 1920, 1050}, {4, 23, 4, 4}, {5, 35, 1910, 1000}},
    // A screen smaller than the window's minimum: the frame's corner stays on the screen.
    {"ecran_minuscule", {0, 0, 600, 400}, {4, 23, 4, 4}, {0, 0, 648, 507}},
};

class Placement : public testing::TestWithParam<CasPlacement> {};

TEST_P(Placement, leCadreEstDansLaZoneLibre) {
    const CasPlacement& k = GetParam();
    const QSize minimum(640, 480);
    const QRect cadre = cadreFenetre(k.zone, k.bords, minimum);
    EXPECT_EQ(cadre, k.cadre);
    // The title bar is on the screen: the frame's top-left corner lies in the free area.
    EXPECT_TRUE(k.zone.contains(cadre.topLeft()));
    const QRect client = clientFenetre(k.zone, k.bords, minimum);
    EXPECT_EQ(client.marginsAdded(k.bords), cadre);
    EXPECT_GE(client.width(), minimum.width());
    EXPECT_GE(client.height(), minimum.height());
    if (k.zone.width() >= 650 && k.zone.height() >= 560) {
        EXPECT_TRUE(k.zone.contains(cadre));
    }
}

INSTANTIATE_TEST_SUITE_P(Fenetre, Placement, testing::ValuesIn(casPlacement),
                         [](const testing::TestParamInfo<CasPlacement>& i) {
                             return std::string(i.param.nom);
                         });

} // namespace
