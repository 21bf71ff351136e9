// Scene text from the model, and the names it uses: valid tokens, unique per kind, prefixed.
#pragma once

#include <map>
#include <ostream>
#include <set>
#include <string>

#include "ImportSvg/SceneModel.h"

namespace KUV::ImportSvg {

enum class NameKind { Geometry, Brush, Transform, Procedure, Count };

class NameBook {
public:
    explicit NameBook(std::string prefix)
        : m_Prefix(std::move(prefix))
    {
    }
    // A new name of that kind from base (an SVG id or a generated stem), made a valid token.
    std::string Make(NameKind kind, const std::string& base);
    // A generated name: the stem and a counter of its own ("p1", "p2").
    std::string Generated(NameKind kind, const std::string& stem);

private:
    std::string m_Prefix;
    std::set<std::string> m_Used[int(NameKind::Count)];
    std::map<std::string, int> m_Counters;
    std::map<std::string, int> m_Suffixes[int(NameKind::Count)];
};

// Letters, digits, '_', '-' and '.' are kept; anything else becomes '_'.
std::string TokenFrom(const std::string& text);

void WriteScene(const SceneModel& scene, std::ostream& out);

} // namespace KUV::ImportSvg
