// Baselines on whole device pixels, as a text renderer may ask for.
#pragma once

#include "Gfx/DWrite.h"

namespace KUV::Gfx::Text {

// Whether and how the renderer wants baselines placed on whole pixels.
struct Snapping {
    bool enabled = false;
    DWRITE_MATRIX transform { 1.f, 0.f, 0.f, 1.f, 0.f, 0.f };
    float pixelsPerDip = 1.f;
};

HRESULT QuerySnapping(IDWriteTextRenderer* renderer, void* context, Snapping& snapping);

// Horizontal text is snapped vertically only, and only under an axis-aligned transform.
double SnapBaseline(double y, const Snapping& snapping);

// Where a line of the given width starts in a box of boxWidth under the text alignment.
double AlignedLineLeft(DWRITE_TEXT_ALIGNMENT alignment, bool rtl, double boxWidth, double lineWidth);

// Where a block of the given height starts in a box of boxHeight under the paragraph alignment.
double AlignedBlockTop(DWRITE_PARAGRAPH_ALIGNMENT alignment, double boxHeight, double blockHeight);

} // namespace KUV::Gfx::Text
