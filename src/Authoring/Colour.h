// The colours of the authoring tools' own pictures (the checker's flash plot, the preview's
// strip), drawn with cairo.
#pragma once

#include <cairo.h>

namespace KUV::Authoring {

struct Colour {
    double r, g, b, a = 1;
};

inline void SetColour(cairo_t* cr, const Colour& c)
{
    cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a);
}

} // namespace KUV::Authoring
