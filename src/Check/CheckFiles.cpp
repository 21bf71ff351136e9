#include <filesystem>
#include <map>
#include <stdexcept>

#include "Check/FontMatch.h"
#include "Check/SceneCheck.h"
#include "Core/Bitmap.h"
#include "Core/FilePath.h"
#include "Core/Tavisk.h"
#include "Core/Text.h"

namespace KUV::Check {
namespace {

class FontCheck {
public:
    void Check(const Text& text, WarningList& warnings)
    {
        auto it = m_Resolved.find(text.m_Font);
        if (it == m_Resolved.end()) it = m_Resolved.emplace(text.m_Font, ResolvedFontFamily(text.m_Font)).first;
        const std::string& resolved = it->second;
        if (IsSameFamily(text.m_Font, resolved)) return;
        warnings.Add(text.m_ReadAt,
            "font " + Quoted(text.m_Font) + " of geometry " + Quoted(text.m_Name)
                + (resolved.empty() ? " is not installed and no font replaces it"
                                    : " is not installed: the text is drawn in " + Quoted(resolved)));
    }

private:
    std::map<std::string, std::string> m_Resolved;
};

void CheckBitmap(Bitmap& bitmap, const std::string& name, WarningList& warnings)
{
    const std::string label = "bitmap " + Quoted(name) + ": the file " + Quoted(bitmap.Path());
    std::error_code ec;
    if (!std::filesystem::is_regular_file(ResolvePath(bitmap.Path()), ec)) {
        warnings.Add(bitmap.m_ReadAt, label + " does not exist");
        return;
    }
    try {
        bitmap.GetResource();
    } catch (const std::exception& error) {
        warnings.Add(bitmap.m_ReadAt, label + " cannot be decoded (" + error.what() + ")");
    }
}

} // namespace

void CheckFiles(const SceneTree& tree, WarningList& warnings)
{
    FontCheck fonts;
    for (const SceneNode& node : tree.Scenes()) {
        for (const auto& [name, geometry] : node.scene->Table<GeometryBase>())
            if (const auto* text = dynamic_cast<const Text*>(geometry.get())) fonts.Check(*text, warnings);
        for (const auto& [name, image] : node.scene->Table<Image>())
            if (auto* bitmap = dynamic_cast<Bitmap*>(image.get())) CheckBitmap(*bitmap, name, warnings);
    }
}

} // namespace KUV::Check
