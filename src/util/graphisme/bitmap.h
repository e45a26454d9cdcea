// Reduction of a bitmap by box averaging (the tool-bar glyphs).
#pragma once

#include <QImage>
#include <functional>

// Fills `cible`, keeping its size, with `source` reduced by box averaging: each target pixel
// is the rounded mean, channel by channel, of the source block it covers. The target becomes
// a 24-bit image. A target larger than the source takes the nearest source block; an empty
// source or target is left as it is. `traiterMessages` runs every 10 target rows so that the
// window stays responsive.
void reduireBitmap(const QImage& source, QImage& cible,
                   const std::function<void()>& traiterMessages = {});
