// One drawing call, settled: everything that decides its pixels, captured when the call
// was made, with references to what it paints. Drawing it later gives what drawing it
// at once would have given.
#pragma once

#include <cairo.h>

#include <cstdint>

#include "Gfx/D2D1.h"

namespace KUV::Gfx::Cairo {

// Device pixels a primitive may touch; x1 <= x0 or y1 <= y0 means none.
struct DeviceBox {
    double x0;
    double y0;
    double x1;
    double y1;
};

class Primitive {
public:
    enum class Kind : std::uint8_t {
        Clear, // paints source over everything, replacing what was there
        Fill, // the filled path, through mask when there is one
        Stroke, // the stroked path
        Area, // the area rectangle, through mask or at alpha
        Mask, // source through mask, nowhere else
    };

    explicit Primitive(Kind kind)
        : m_Kind(kind)
    {
    }
    Primitive(Primitive&& other) noexcept;
    Primitive& operator=(Primitive&& other) noexcept;
    Primitive(const Primitive&) = delete;
    Primitive& operator=(const Primitive&) = delete;
    ~Primitive();

    // Takes over the reference to each pattern.
    void SetPaint(cairo_pattern_t* source, cairo_pattern_t* mask);
    void SetPlacement(const cairo_matrix_t& device, D2D1_ANTIALIAS_MODE antialias);
    // Keeps geometry alive for as long as path, which points into it, is read.
    void SetPath(ID2D1Geometry* geometry, const cairo_path_t& path, cairo_fill_rule_t rule);
    void SetLineWidth(double width) { m_LineWidth = width; }
    void SetArea(const D2D1_RECT_F& area, double alpha);
    // The surface behind a bitmap this primitive reads, so that writers can let it draw first.
    void SetReads(cairo_surface_t* surface) { m_Reads = surface; }

    cairo_surface_t* Reads() const { return m_Reads; }
    // Where on the device it may paint, with a pixel to spare for antialiasing and filtering.
    DeviceBox Bounds() const;
    // Draws onto cr, whose own state it settles first.
    void Paint(cairo_t* cr) const;

private:
    void Release();
    DeviceBox PathBox() const;
    void PaintInside(cairo_t* cr) const;

    Kind m_Kind;
    cairo_antialias_t m_Antialias = CAIRO_ANTIALIAS_DEFAULT;
    cairo_matrix_t m_Device {};
    cairo_pattern_t* m_Source = nullptr;
    cairo_pattern_t* m_Mask = nullptr;
    ID2D1Geometry* m_Geometry = nullptr;
    cairo_path_t m_Path {};
    cairo_fill_rule_t m_FillRule = CAIRO_FILL_RULE_WINDING;
    double m_LineWidth = 0;
    D2D1_RECT_F m_Area {};
    double m_Alpha = 1;
    cairo_surface_t* m_Reads = nullptr;
};

// A context over surface with the line settings every target draws with.
cairo_t* NewDrawingContext(cairo_surface_t* surface);

} // namespace KUV::Gfx::Cairo
