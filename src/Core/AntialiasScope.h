// Drawing that is not painted through a mask needs per-primitive antialiasing,
// while FillOpacityMask needs the render target to rest in aliased mode between
// commands; this scope keeps that balance even when drawing throws.
#pragma once

#include "Gfx/D2D1.h"

namespace KUV {

class AntialiasScope {
public:
    explicit AntialiasScope(ID2D1RenderTarget* renderTarget)
        : m_RT(renderTarget)
    {
        m_RT->SetAntialiasMode(D2D1_ANTIALIAS_MODE_PER_PRIMITIVE);
    }
    ~AntialiasScope() { m_RT->SetAntialiasMode(D2D1_ANTIALIAS_MODE_ALIASED); }
    AntialiasScope(const AntialiasScope&) = delete;
    AntialiasScope& operator=(const AntialiasScope&) = delete;

private:
    ID2D1RenderTarget* m_RT;
};

} // namespace KUV
