// Animated values: every numeric parameter of a scene is a constant or a
// scene variable, read afresh whenever it is needed.
#pragma once

#include <string>

#include "Gfx/D2D1.h"

namespace KUV {

class ITavisk;

class ValueD {
public:
    ValueD() = default;
    explicit ValueD(float constant)
        : m_Value(constant)
    {
    }
    ValueD(std::string name, ITavisk* domain)
        : m_Name(std::move(name))
        , m_Domain(domain)
    {
    }

    // The current value; throws std::logic_error with the domain's error text when
    // the variable cannot be read.
    float Get() const;
    bool IsVariable() const { return !m_Name.empty(); }

    float m_Value = 0.f;
    std::string m_Name;
    ITavisk* m_Domain = nullptr;
};

class Color {
public:
    virtual ~Color() = default;
    D2D1_COLOR_F Get() const { return { r.Get(), g.Get(), b.Get(), a.Get() }; }

    ValueD r, g, b, a;
};

struct PointD {
    D2D1_POINT_2F Get() const { return { x.Get(), y.Get() }; }

    ValueD x, y;
};

struct RectD {
    D2D1_RECT_F Get() const { return { left.Get(), top.Get(), right.Get(), bottom.Get() }; }

    ValueD left, top, right, bottom;
};

} // namespace KUV
