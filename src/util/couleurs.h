// Colours as 32-bit values with red in the low byte, then green, then blue; the top byte
// is kept as stored (02 marks a palette-relative colour).
#pragma once

#include <array>
#include <cstdint>

using TColor = std::uint32_t;

// Default colours of the eight inputs (and initial colours of the channels).
inline constexpr std::array<TColor, 8> clsV0{
    0x02000090, // 144, 0, 0
    0x02854200, // 0, 66, 133
    0x001C7824, // 36, 120, 28: 0x0228AB34 darkened by 30 %
    0x028F8F8F, // 143, 143, 143
    0x020000D0, // 208, 0, 0
    0x02EF7E00, // 0, 126, 239
    0x005EB283, // 131, 178, 94: 0x0287FFBB darkened by 30 %
    0x02363636, // 54, 54, 54
};

// Each of red, green and blue moves p % of the way to 255 (truncated); p is clamped to
// 0..100 and the top byte of the result is 0.
TColor eclaircirCouleur(TColor couleur, int pourcent);
// Each of red, green and blue loses p % of itself, rounded with halves to even; p is
// clamped to 0..100 and the top byte of the result is 0.
TColor assombrirCouleur(TColor couleur, int pourcent);
