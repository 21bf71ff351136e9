#include "Gfx/text/Snapping.h"

#include <cmath>

namespace KUV::Gfx::Text {

HRESULT QuerySnapping(IDWriteTextRenderer* renderer, void* context, Snapping& snapping)
{
    BOOL disabled = FALSE;
    HRESULT hr = renderer->IsPixelSnappingDisabled(context, &disabled);
    if (FAILED(hr) || disabled) return hr;
    if (FAILED(hr = renderer->GetCurrentTransform(context, &snapping.transform))) return hr;
    if (FAILED(hr = renderer->GetPixelsPerDip(context, &snapping.pixelsPerDip))) return hr;
    snapping.enabled = true;
    return S_OK;
}

double SnapBaseline(double y, const Snapping& snapping)
{
    const DWRITE_MATRIX& m = snapping.transform;
    if (!snapping.enabled || m.m12 != 0.f || m.m21 != 0.f || m.m22 == 0.f || !(snapping.pixelsPerDip > 0.f)) return y;
    const double device = (y * m.m22 + m.dy) * snapping.pixelsPerDip;
    return (std::round(device) / snapping.pixelsPerDip - m.dy) / m.m22;
}

double AlignedLineLeft(DWRITE_TEXT_ALIGNMENT alignment, bool rtl, double boxWidth, double lineWidth)
{
    const double free = boxWidth - lineWidth;
    switch (alignment) {
    case DWRITE_TEXT_ALIGNMENT_CENTER:
        return free / 2;
    case DWRITE_TEXT_ALIGNMENT_TRAILING:
        return rtl ? 0.0 : free;
    default:
        return rtl ? free : 0.0;
    }
}

double AlignedBlockTop(DWRITE_PARAGRAPH_ALIGNMENT alignment, double boxHeight, double blockHeight)
{
    const double free = boxHeight - blockHeight;
    switch (alignment) {
    case DWRITE_PARAGRAPH_ALIGNMENT_CENTER:
        return free / 2;
    case DWRITE_PARAGRAPH_ALIGNMENT_FAR:
        return free;
    default:
        return 0.0;
    }
}

} // namespace KUV::Gfx::Text
