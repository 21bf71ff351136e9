// Solid and gradient brushes, each painting through one cached cairo pattern.
#pragma once

#include <cairo.h>

#include "Gfx/cairo/Resource.h"

namespace KUV::Gfx::Cairo {

// The paint behind a brush: its opacity and transform, and the pattern they give.
class BrushSource {
public:
    explicit BrushSource(const D2D1_BRUSH_PROPERTIES* properties);
    BrushSource(const BrushSource&) = delete;
    BrushSource& operator=(const BrushSource&) = delete;
    virtual ~BrushSource();

    // The pattern in user space, or null when the brush paints nothing.
    cairo_pattern_t* Pattern();
    // The pattern placed for drawing under device: moved by at most a 2^-15 part so that
    // pixman holds its mapping exactly and colours come out alike wherever a draw is clipped.
    cairo_pattern_t* PatternOn(const cairo_matrix_t& device);

protected:
    // A new pattern of the brush at opacity, with brushToPattern mapping brush space to the
    // pattern's own space; null when it paints nothing.
    virtual cairo_pattern_t* Build(double opacity, cairo_matrix_t* brushToPattern) const = 0;
    void ChangeOpacity(float opacity);
    void ChangeTransform(const D2D1_MATRIX_3X2_F& transform);

    float m_Opacity;
    D2D1_MATRIX_3X2_F m_Transform;

private:
    bool Shared() const;
    void Rebuild();
    void PlacePattern();

    cairo_pattern_t* m_Pattern = nullptr;
    cairo_matrix_t m_BrushToPattern;
    cairo_matrix_t m_UserToPattern;
    bool m_PatternStale = true;
    bool m_PlacementStale = true;
    bool m_Usable = false;
};

template <class Interface> class Brush : public Resource<Interface>, public BrushSource {
public:
    Brush(ID2D1Factory* factory, const D2D1_BRUSH_PROPERTIES* properties)
        : Resource<Interface>(factory)
        , BrushSource(properties)
    {
    }

    void SetOpacity(float opacity) override { ChangeOpacity(opacity); }
    float GetOpacity() const override { return m_Opacity; }
    void SetTransform(const D2D1_MATRIX_3X2_F& transform) override { ChangeTransform(transform); }
    void GetTransform(D2D1_MATRIX_3X2_F* transform) const override
    {
        if (transform != nullptr) *transform = m_Transform;
    }
};

// The pattern of brush placed for drawing under device, or null when it paints nothing or is
// not one of this layer's brushes.
cairo_pattern_t* PatternOf(ID2D1Brush* brush, const cairo_matrix_t& device);

HRESULT CreateSolidBrush(ID2D1Factory* factory, const D2D1_COLOR_F& color, const D2D1_BRUSH_PROPERTIES* properties,
    ID2D1SolidColorBrush** brush);
HRESULT CreateLinearBrush(ID2D1Factory* factory, const D2D1_LINEAR_GRADIENT_BRUSH_PROPERTIES& gradient,
    const D2D1_BRUSH_PROPERTIES* properties, ID2D1GradientStopCollection* stops, ID2D1LinearGradientBrush** brush);
HRESULT CreateRadialBrush(ID2D1Factory* factory, const D2D1_RADIAL_GRADIENT_BRUSH_PROPERTIES& gradient,
    const D2D1_BRUSH_PROPERTIES* properties, ID2D1GradientStopCollection* stops, ID2D1RadialGradientBrush** brush);

} // namespace KUV::Gfx::Cairo
