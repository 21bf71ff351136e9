// Gradient stop collections, kept in the form cairo patterns take.
#pragma once

#include <cairo.h>

#include <vector>

#include "Gfx/cairo/Resource.h"

namespace KUV::Gfx::Cairo {

class GradientStops : public Resource<ID2D1GradientStopCollection> {
public:
    GradientStops(ID2D1Factory* factory, const D2D1_GRADIENT_STOP* stops, UINT32 count, D2D1_EXTEND_MODE extendMode);

    UINT32 GetGradientStopCount() const override { return m_Count; }
    D2D1_EXTEND_MODE GetExtendMode() const override { return m_ExtendMode; }

    // True when no usable stop was given: the gradient paints nothing.
    bool Empty() const { return m_Stops.empty(); }
    // The colour beyond the end of the gradient.
    D2D1_COLOR_F LastColor() const { return m_Stops.back().color; }
    // Adds the stops, their alpha scaled by opacity, and the extend mode to pattern.
    void AddTo(cairo_pattern_t* pattern, double opacity) const;

private:
    std::vector<D2D1_GRADIENT_STOP> m_Stops; // sorted, finite, within [0, 1]
    UINT32 m_Count;
    D2D1_EXTEND_MODE m_ExtendMode;
};

GradientStops* GradientStopsOf(ID2D1GradientStopCollection* collection);

} // namespace KUV::Gfx::Cairo
