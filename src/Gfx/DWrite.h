// Text layout and glyph outlines: a small DirectWrite-shaped API. Text is
// UTF-16; sizes are in device-independent pixels.
#pragma once

#include "Gfx/D2D1.h"

enum DWRITE_FACTORY_TYPE : UINT32 { DWRITE_FACTORY_TYPE_SHARED = 0 };
enum DWRITE_FONT_WEIGHT : UINT32 { DWRITE_FONT_WEIGHT_NORMAL = 400 };
enum DWRITE_FONT_STYLE : UINT32 { DWRITE_FONT_STYLE_NORMAL = 0 };
enum DWRITE_FONT_STRETCH : UINT32 { DWRITE_FONT_STRETCH_NORMAL = 5 };
enum DWRITE_TEXT_ALIGNMENT : UINT32 {
    DWRITE_TEXT_ALIGNMENT_LEADING = 0,
    DWRITE_TEXT_ALIGNMENT_TRAILING = 1,
    DWRITE_TEXT_ALIGNMENT_CENTER = 2,
};
enum DWRITE_PARAGRAPH_ALIGNMENT : UINT32 {
    DWRITE_PARAGRAPH_ALIGNMENT_NEAR = 0,
    DWRITE_PARAGRAPH_ALIGNMENT_FAR = 1,
    DWRITE_PARAGRAPH_ALIGNMENT_CENTER = 2,
};
enum DWRITE_MEASURING_MODE : UINT32 { DWRITE_MEASURING_MODE_NATURAL = 0 };

struct DWRITE_MATRIX {
    float m11, m12, m21, m22, dx, dy;
};
struct DWRITE_GLYPH_OFFSET {
    float advanceOffset;
    float ascenderOffset;
};

class IDWriteFontCollection; // only ever passed as null: the system collection

class IDWriteFontFace : public IUnknown {
public:
    // Writes the outlines of the glyphs, placed along a baseline from the origin, into sink
    // (y grows downwards; advances run leftwards when isRightToLeft).
    virtual HRESULT GetGlyphRunOutline(float emSize, const UINT16* glyphIndices, const float* glyphAdvances,
        const DWRITE_GLYPH_OFFSET* glyphOffsets, UINT32 glyphCount, BOOL isSideways, BOOL isRightToLeft,
        ID2D1SimplifiedGeometrySink* geometrySink)
        = 0;
};

struct DWRITE_GLYPH_RUN {
    IDWriteFontFace* fontFace;
    float fontEmSize;
    UINT32 glyphCount;
    const UINT16* glyphIndices;
    const float* glyphAdvances;
    const DWRITE_GLYPH_OFFSET* glyphOffsets;
    BOOL isSideways;
    UINT32 bidiLevel;
};
struct DWRITE_GLYPH_RUN_DESCRIPTION {
    const WCHAR* localeName;
    const WCHAR* string;
    UINT32 stringLength;
    const UINT16* clusterMap;
    UINT32 textPosition;
};
struct DWRITE_UNDERLINE;
struct DWRITE_STRIKETHROUGH;
class IDWriteInlineObject;

constexpr IID IID_IDWritePixelSnapping
    = { 0xeaf3a2da, 0xecf4, 0x4d24, { 0xb6, 0x44, 0xb3, 0x4f, 0x68, 0x42, 0x02, 0x4b } };
constexpr IID IID_IDWriteTextRenderer
    = { 0xef8a8135, 0x5cc6, 0x45fe, { 0x88, 0x25, 0xc5, 0xa0, 0x72, 0x4e, 0xb8, 0x19 } };

class IDWritePixelSnapping : public IUnknown {
public:
    virtual HRESULT IsPixelSnappingDisabled(void* clientDrawingContext, BOOL* isDisabled) = 0;
    virtual HRESULT GetCurrentTransform(void* clientDrawingContext, DWRITE_MATRIX* transform) = 0;
    virtual HRESULT GetPixelsPerDip(void* clientDrawingContext, float* pixelsPerDip) = 0;
};

// Implemented by the client: receives the laid-out text, one glyph run at a time.
class IDWriteTextRenderer : public IDWritePixelSnapping {
public:
    // One run of glyphs of one font, its baseline starting at (baselineOriginX, baselineOriginY).
    virtual HRESULT DrawGlyphRun(void* clientDrawingContext, float baselineOriginX, float baselineOriginY,
        DWRITE_MEASURING_MODE measuringMode, const DWRITE_GLYPH_RUN* glyphRun,
        const DWRITE_GLYPH_RUN_DESCRIPTION* glyphRunDescription, IUnknown* clientDrawingEffect)
        = 0;
    virtual HRESULT DrawUnderline(void* clientDrawingContext, float baselineOriginX, float baselineOriginY,
        const DWRITE_UNDERLINE* underline, IUnknown* clientDrawingEffect)
        = 0;
    virtual HRESULT DrawStrikethrough(void* clientDrawingContext, float baselineOriginX, float baselineOriginY,
        const DWRITE_STRIKETHROUGH* strikethrough, IUnknown* clientDrawingEffect)
        = 0;
    virtual HRESULT DrawInlineObject(void* clientDrawingContext, float originX, float originY,
        IDWriteInlineObject* inlineObject, BOOL isSideways, BOOL isRightToLeft, IUnknown* clientDrawingEffect)
        = 0;
};

class IDWriteTextFormat : public IUnknown {
public:
    virtual HRESULT SetTextAlignment(DWRITE_TEXT_ALIGNMENT textAlignment) = 0;
    virtual HRESULT SetParagraphAlignment(DWRITE_PARAGRAPH_ALIGNMENT paragraphAlignment) = 0;
};

class IDWriteTextLayout : public IDWriteTextFormat {
public:
    // Calls renderer back once per glyph run of the laid-out text, the layout box placed at (originX, originY).
    virtual HRESULT Draw(void* clientDrawingContext, IDWriteTextRenderer* renderer, float originX, float originY) = 0;
};

class IDWriteFactory : public IUnknown {
public:
    // A format for family (an unknown family falls back to the system default) at fontSize DIPs.
    virtual HRESULT CreateTextFormat(const WCHAR* fontFamilyName, IDWriteFontCollection* fontCollection,
        DWRITE_FONT_WEIGHT fontWeight, DWRITE_FONT_STYLE fontStyle, DWRITE_FONT_STRETCH fontStretch, float fontSize,
        const WCHAR* localeName, IDWriteTextFormat** textFormat)
        = 0;
    // Lays out string, wrapped to maxWidth, within a box of maxWidth by maxHeight.
    virtual HRESULT CreateTextLayout(const WCHAR* string, UINT32 stringLength, IDWriteTextFormat* textFormat,
        float maxWidth, float maxHeight, IDWriteTextLayout** textLayout)
        = 0;
};

HRESULT DWriteCreateFactory(DWRITE_FACTORY_TYPE factoryType, IDWriteFactory** factory);
