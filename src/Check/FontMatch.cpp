#include "Check/FontMatch.h"

#include <memory>

#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>

#include "Core/TextEncoding.h"

namespace KUV::Check {
namespace {

std::string ToUtf8(const std::u16string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size()) c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += { char(0xC0 | (c >> 6)), char(0x80 | (c & 0x3F)) };
        } else if (c < 0x10000) {
            out += { char(0xE0 | (c >> 12)), char(0x80 | ((c >> 6) & 0x3F)), char(0x80 | (c & 0x3F)) };
        } else {
            out += { char(0xF0 | (c >> 18)), char(0x80 | ((c >> 12) & 0x3F)), char(0x80 | ((c >> 6) & 0x3F)),
                char(0x80 | (c & 0x3F)) };
        }
    }
    return out;
}

template <class T> struct GObjectUnref {
    void operator()(T* object) const { g_object_unref(object); }
};
template <class T> using GObjectPtr = std::unique_ptr<T, GObjectUnref<T>>;

} // namespace

std::string ResolvedFontFamily(const std::string& family)
{
    // The same kind of font map as the text layer's, so the same fontconfig match decides.
    GObjectPtr<PangoFontMap> fontMap(pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT));
    if (!fontMap) return {};
    GObjectPtr<PangoContext> context(pango_font_map_create_context(fontMap.get()));
    PangoFontDescription* description = pango_font_description_new();
    pango_font_description_set_family(description, ToUtf8(WidenSceneText(family)).c_str());
    pango_font_description_set_absolute_size(description, 12.0 * PANGO_SCALE);
    GObjectPtr<PangoFont> font(pango_font_map_load_font(fontMap.get(), context.get(), description));
    pango_font_description_free(description);
    if (!font) return {};
    PangoFontDescription* used = pango_font_describe(font.get());
    const char* usedFamily = pango_font_description_get_family(used);
    std::string result = usedFamily ? usedFamily : "";
    pango_font_description_free(used);
    return result;
}

namespace {

// fontconfig takes family names alike when they differ only in case and blanks, so a scene
// can name "Liberation Serif" as one token, LiberationSerif.
std::string Folded(const std::string& name)
{
    std::string folded;
    for (char c : name)
        if (c != ' ') folded += g_ascii_tolower(c);
    return folded;
}

bool SameName(const char* a, const std::string& b)
{
    return Folded(a) == Folded(b);
}

} // namespace

bool IsSameFamily(const std::string& family, const std::string& resolved)
{
    const std::string asked = ToUtf8(WidenSceneText(family));
    if (SameName(asked.c_str(), resolved)) return true;
    // fontconfig's configuration binds some families to others drawn alike (Arial to the
    // metric-compatible Liberation Sans, say): such a replacement is no fallback. Those
    // bindings are strong; the default families appended for any name are weak.
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(asked.c_str()));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    bool bound = false;
    FcValue value;
    FcValueBinding binding;
    for (int i = 0; !bound && FcPatternGetWithBinding(pattern, FC_FAMILY, i, &value, &binding) == FcResultMatch; ++i)
        bound = binding != FcValueBindingWeak && value.type == FcTypeString
            && SameName(reinterpret_cast<const char*>(value.u.s), resolved);
    FcPatternDestroy(pattern);
    return bound;
}

} // namespace KUV::Check
