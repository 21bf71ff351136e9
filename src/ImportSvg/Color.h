// CSS colours in every form SVG accepts: names, #rgb, #rgba, #rrggbb, #rrggbbaa, rgb(),
// rgba(), hsl(), hsla(), with numbers or percentages.
#pragma once

#include <optional>
#include <string_view>

namespace KUV::ImportSvg {

struct Rgba {
    double r = 0, g = 0, b = 0, a = 1; // 0..1
};

std::optional<Rgba> ParseColor(std::string_view text);

} // namespace KUV::ImportSvg
