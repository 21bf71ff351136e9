#include "Gfx/text/harfbuzz/WriteFactory.h"

#include <new>

#include <fontconfig/fontconfig.h>

#include "Gfx/text/TextFormat.h"
#include "Gfx/text/harfbuzz/TextLayout.h"

namespace KUV::Gfx::Text {

namespace {

struct PatternDeleter {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;

// The pattern pango asks fontconfig with for a regular face of an absolute size at 96 DPI.
Pattern RequestFor(const std::string& family, float size, const std::string& language)
{
    Pattern pattern(FcPatternCreate());
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern.get(), FC_SLANT, FC_SLANT_ROMAN);
    FcPatternAddInteger(pattern.get(), FC_WIDTH, FC_WIDTH_NORMAL);
    FcPatternAddDouble(pattern.get(), FC_PIXEL_SIZE, size);
    FcPatternAddDouble(pattern.get(), FC_SIZE, size * 72.0 / 96.0);
    FcPatternAddDouble(pattern.get(), FC_DPI, 96.0);
    if (!language.empty())
        FcPatternAddString(pattern.get(), FC_LANG, reinterpret_cast<const FcChar8*>(language.c_str()));
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    return pattern;
}

} // namespace

HRESULT WriteFactory::Create(WriteFactory** factory)
{
    *factory = nullptr;
    auto freeType = FreeTypeLibrary::Create();
    if (!freeType || !FcInit()) return E_FAIL;
    *factory = new (std::nothrow) WriteFactory(std::move(freeType));
    return *factory == nullptr ? E_OUTOFMEMORY : S_OK;
}

WriteFactory::~WriteFactory()
{
    for (auto& [file, face] : m_Faces)
        hb_face_destroy(face.shaping);
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

const ShapingFace* WriteFactory::FaceFor(const std::string& family, float size, const std::string& language)
{
    const std::string key = family + '\n' + std::to_string(size) + '\n' + language;
    auto found = m_Matches.find(key);
    if (found == m_Matches.end()) {
        Pattern request = RequestFor(family, size, language);
        FcResult result = FcResultNoMatch;
        Pattern match(FcFontMatch(nullptr, request.get(), &result));
        FcChar8* file = nullptr;
        int index = 0;
        if (!match || FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch) return nullptr;
        if (FcPatternGetInteger(match.get(), FC_INDEX, 0, &index) != FcResultMatch) index = 0;
        found = m_Matches.emplace(key, std::make_pair(std::string(reinterpret_cast<const char*>(file)), index)).first;
    }
    return Open(found->second);
}

const ShapingFace* WriteFactory::Open(const std::pair<std::string, int>& file)
{
    if (auto open = m_Faces.find(file); open != m_Faces.end()) return &open->second;
    FontFace* outlines = nullptr;
    if (FAILED(FontFace::Open(m_FreeType, file.first, file.second, &outlines))) return nullptr;
    hb_blob_t* blob = hb_blob_create_from_file(file.first.c_str());
    ShapingFace face { ComPtr<FontFace>(outlines), hb_face_create(blob, unsigned(file.second)) };
    hb_blob_destroy(blob);
    return &m_Faces.emplace(file, std::move(face)).first->second;
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
