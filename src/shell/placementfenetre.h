// Where the main window goes at start: its frame (title bar and borders included) inside
// the part of the screen that panels and task bars leave free.
#pragma once

#include <QMargins>
#include <QRect>

// The frame: 5 pixels from the left and top of the free area, 10 pixels narrower and 50
// pixels lower than it, never below the window's minimum client size plus the borders, and
// never beyond the free area.
QRect cadreFenetre(const QRect& zoneLibre, const QMargins& bords, const QSize& minimumClient);
// The client area inside that frame, given the borders the window manager draws.
QRect clientFenetre(const QRect& zoneLibre, const QMargins& bords, const QSize& minimumClient);
