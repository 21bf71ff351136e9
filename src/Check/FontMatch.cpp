#include "Check/FontMatch.h"

#include <memory>

#include <fontconfig/fontconfig.h>

#include "Core/TextEncoding.h"
#include "Gfx/text/Utf16.h"

namespace KUV::Check {
namespace {

struct PatternDeleter {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;

std::string SceneTextAsUtf8(const std::string& family)
{
    const std::u16string wide = WidenSceneText(family);
    return Gfx::Text::ToUtf8(wide.c_str());
}

} // namespace

std::string ResolvedFontFamily(const std::string& family)
{
    // The request the text layer makes for a regular face, so the same fontconfig match decides.
    const std::string name = SceneTextAsUtf8(family);
    Pattern request(FcPatternCreate());
    FcPatternAddString(request.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
    FcPatternAddInteger(request.get(), FC_WEIGHT, FC_WEIGHT_REGULAR);
    FcPatternAddInteger(request.get(), FC_SLANT, FC_SLANT_ROMAN);
    FcPatternAddDouble(request.get(), FC_PIXEL_SIZE, 12.0);
    FcConfigSubstitute(nullptr, request.get(), FcMatchPattern);
    FcDefaultSubstitute(request.get());
    FcResult result = FcResultNoMatch;
    Pattern match(FcFontMatch(nullptr, request.get(), &result));
    FcChar8* used = nullptr;
    if (!match || FcPatternGetString(match.get(), FC_FAMILY, 0, &used) != FcResultMatch) return {};
    return reinterpret_cast<const char*>(used);
}

namespace {

// fontconfig takes family names alike when they differ only in case and blanks, so a scene
// can name "Liberation Serif" as one token, LiberationSerif.
std::string Folded(const std::string& name)
{
    std::string folded;
    for (char c : name)
        if (c != ' ') folded += (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
    return folded;
}

bool SameName(const char* a, const std::string& b)
{
    return Folded(a) == Folded(b);
}

} // namespace

bool IsSameFamily(const std::string& family, const std::string& resolved)
{
    const std::string asked = SceneTextAsUtf8(family);
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
