// The primitives a target was asked to draw and has not drawn yet, and how they are drawn:
// on horizontal bands of the one image, each band on its own thread.
#pragma once

#include <cairo.h>

#include <vector>

#include "Gfx/cairo/Primitive.h"

namespace KUV::Gfx::Cairo {

class Recording {
public:
    // Keeps p for later, unless it cannot touch a surface of width x height pixels.
    void Add(Primitive p, int width, int height);
    bool Empty() const { return m_Primitives.empty(); }
    size_t Size() const { return m_Primitives.size(); }
    // Whether a pending primitive reads the pixels of surface.
    bool Reads(cairo_surface_t* surface) const;
    // Draws everything pending onto the target of whole on up to threads bands, then forgets
    // it. A light load is drawn through whole itself, which may be replaced by a fresh context.
    void Replay(cairo_t*& whole, unsigned threads);
    // Forgets everything pending without drawing it.
    void Clear();

private:
    // Rows [top, bottom) a primitive may touch and its width there, in whole pixels.
    struct Rows {
        int top;
        int bottom;
        double width;
    };

    // The first row of each band and, last, the height: bands of about equal work.
    std::vector<int> Split(int height, int bands) const;
    void DrawBand(cairo_surface_t* surface, int top, int bottom) const;
    // Paints the primitives that reach rows [top, bottom) through cr; after one that drives
    // cairo into an error state, cr is a fresh context on the same target.
    void PaintRows(cairo_t*& cr, int top, int bottom) const;

    std::vector<Primitive> m_Primitives;
    std::vector<Rows> m_Rows;
    double m_Work = 0;
};

} // namespace KUV::Gfx::Cairo
