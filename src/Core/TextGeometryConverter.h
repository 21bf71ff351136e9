// Turns laid-out text into one geometry: the outlines of all its glyph runs.
#pragma once

#include <memory>

#include "Gfx/DWrite.h"

namespace KUV {

class TextGeometryConverter : public IDWriteTextRenderer {
public:
    // Starts an empty result geometry; a failure to do so is left in Status().
    explicit TextGeometryConverter(ID2D1Factory* factory);

    HRESULT QueryInterface(REFIID riid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;

    HRESULT IsPixelSnappingDisabled(void* context, BOOL* isDisabled) override;
    HRESULT GetCurrentTransform(void* context, DWRITE_MATRIX* transform) override;
    HRESULT GetPixelsPerDip(void* context, float* pixelsPerDip) override;
    HRESULT DrawGlyphRun(void* context, float baselineOriginX, float baselineOriginY,
        DWRITE_MEASURING_MODE measuringMode, const DWRITE_GLYPH_RUN* glyphRun,
        const DWRITE_GLYPH_RUN_DESCRIPTION* glyphRunDescription, IUnknown* clientDrawingEffect) override;
    HRESULT DrawUnderline(void*, float, float, const DWRITE_UNDERLINE*, IUnknown*) override { return E_NOTIMPL; }
    HRESULT DrawStrikethrough(void*, float, float, const DWRITE_STRIKETHROUGH*, IUnknown*) override
    {
        return E_NOTIMPL;
    }
    HRESULT DrawInlineObject(void*, float, float, IDWriteInlineObject*, BOOL, BOOL, IUnknown*) override
    {
        return E_NOTIMPL;
    }

    HRESULT Status() const { return m_Status; }
    // Closes the outlines written so far and hands out the geometry holding them.
    HRESULT Finish(std::shared_ptr<ID2D1Geometry>& result);

private:
    ~TextGeometryConverter() override = default;

    std::atomic<ULONG> m_RefCount { 1 }; // the creator's reference: pairs taken while drawing never free it
    HRESULT m_Status = S_OK;
    std::shared_ptr<ID2D1Geometry> m_Result;
    std::shared_ptr<ID2D1GeometrySink> m_Sink;
};

} // namespace KUV
