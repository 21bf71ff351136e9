#include "Gfx/text/WriteFactory.h"

#include <cmath>
#include <new>

#include <pango/pangocairo.h>
#include <pango/pangofc-font.h>

#include "Gfx/text/TextFormat.h"
#include "Gfx/text/TextLayout.h"
#include "Gfx/text/Utf16.h"

namespace KUV::Gfx::Text {

namespace {

// Layouts feed outlines, so glyph positions stay exact: no hinting, no rounding.
PangoContext* CreateExactContext(PangoFontMap* fontMap)
{
    PangoContext* context = pango_font_map_create_context(fontMap);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
    pango_context_set_round_glyph_positions(context, FALSE);
    return context;
}

} // namespace

HRESULT WriteFactory::Create(WriteFactory** factory)
{
    *factory = nullptr;
    auto freeType = FreeTypeLibrary::Create();
    if (!freeType) return E_FAIL;
    // A font map of its own over FreeType: independent of any display and of pango's default map.
    PangoFontMap* fontMap = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
    if (fontMap == nullptr) return E_FAIL;
    *factory = new (std::nothrow) WriteFactory(fontMap, CreateExactContext(fontMap), std::move(freeType));
    if (*factory == nullptr) return E_OUTOFMEMORY;
    return S_OK;
}

WriteFactory::~WriteFactory()
{
    m_Faces.clear();
    g_object_unref(m_Context);
    g_object_unref(m_FontMap);
}

HRESULT WriteFactory::CreateTextFormat(const WCHAR* fontFamilyName, IDWriteFontCollection* fontCollection,
    DWRITE_FONT_WEIGHT fontWeight, DWRITE_FONT_STYLE fontStyle, DWRITE_FONT_STRETCH fontStretch, float fontSize,
    const WCHAR* localeName, IDWriteTextFormat** textFormat)
{
    return MakeTextFormat(
        fontFamilyName, fontCollection, fontWeight, fontStyle, fontStretch, fontSize, localeName, textFormat);
}

HRESULT WriteFactory::CreateTextLayout(const WCHAR* string, UINT32 stringLength, IDWriteTextFormat* textFormat,
    float maxWidth, float maxHeight, IDWriteTextLayout** textLayout)
{
    if (textLayout == nullptr) return E_INVALIDARG;
    *textLayout = nullptr;
    const TextFormatSettings* settings = LayoutSettingsOf(string, stringLength, textFormat, maxWidth, maxHeight);
    if (settings == nullptr) return E_INVALIDARG;
    try {
        AddRef();
        ComPtr<WriteFactory> self(this);
        std::u16string text(string ? string : u"", stringLength);
        *textLayout = new TextLayout(std::move(self), std::move(text), *settings, maxWidth, maxHeight);
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT WriteFactory::FaceOf(PangoFont* font, IDWriteFontFace** face, float* emSize)
{
    *face = nullptr;
    if (font == nullptr || !PANGO_IS_FC_FONT(font)) return E_FAIL;
    FcPattern* pattern = pango_fc_font_get_pattern(PANGO_FC_FONT(font));
    FcChar8* file = nullptr;
    int index = 0;
    double pixelSize = 0.0;
    if (FcPatternGetString(pattern, FC_FILE, 0, &file) != FcResultMatch) return E_FAIL;
    if (FcPatternGetInteger(pattern, FC_INDEX, 0, &index) != FcResultMatch) index = 0;
    if (FcPatternGetDouble(pattern, FC_PIXEL_SIZE, 0, &pixelSize) != FcResultMatch) return E_FAIL;
    const auto key = std::make_pair(std::string(reinterpret_cast<const char*>(file)), index);
    auto found = m_Faces.find(key);
    if (found == m_Faces.end()) {
        FontFace* opened = nullptr;
        if (const HRESULT hr = FontFace::Open(m_FreeType, key.first, index, &opened); FAILED(hr)) return hr;
        found = m_Faces.emplace(key, ComPtr<FontFace>(opened)).first;
    }
    *face = found->second.Get();
    *emSize = float(pixelSize);
    return S_OK;
}

} // namespace KUV::Gfx::Text

HRESULT DWriteCreateFactory(DWRITE_FACTORY_TYPE factoryType, IDWriteFactory** factory)
{
    if (factory == nullptr) return E_INVALIDARG;
    *factory = nullptr;
    if (factoryType != DWRITE_FACTORY_TYPE_SHARED) return E_INVALIDARG;
    KUV::Gfx::Text::WriteFactory* created = nullptr;
    const HRESULT hr = KUV::Gfx::Text::WriteFactory::Create(&created);
    *factory = created;
    return hr;
}
