#pragma once

#include <cstdint>

// 32-bit ARGB, alpha in the top byte.
using TAlphaColor = std::uint32_t;

// The map colour settings; the defaults are those of a settings file without these keys.
struct TDrawMapRec {
    bool IsSeaMono = false;
    TAlphaColor SeaMono = 0xFF3070FF;
    TAlphaColor SeaGrad1 = 0xFF50A0FF;
    TAlphaColor SeaGrad2 = 0xFF4070FF;
    bool IsJapanMono = false;
    TAlphaColor JapanMono = 0xFF008000;
    TAlphaColor JapanGrad1 = 0xFF2E8B57;
    TAlphaColor JapanGrad2 = 0xFF404040;
    bool IsForeignDraw = true;
    bool IsForeignMono = false;
    TAlphaColor ForeignMono = 0xFF2B56FF;
    TAlphaColor ForeignGrad1 = 0xFF778899;
    TAlphaColor ForeignGrad2 = 0xFF404040;
    bool IsKenkyoDraw = true;
    float KenkyoBlend = 0.3f;
};
using PDrawMapRec = TDrawMapRec*;
