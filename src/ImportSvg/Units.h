// Numbers and lengths as SVG writes them: CSS units, percentages of the viewport.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace KUV::ImportSvg {

// Reads a number at pos (skipping blanks and one comma before it); advances pos past it.
std::optional<double> ReadNumber(std::string_view text, std::size_t& pos);
void SkipSeparators(std::string_view text, std::size_t& pos);
// The whole text as one number, nothing else but blanks.
std::optional<double> ParseNumber(std::string_view text);
// A list of numbers separated by blanks or commas; stops at the first thing that is not one.
std::vector<double> ParseNumberList(std::string_view text, bool* complete = nullptr);

enum class Axis { X, Y, Other };

// What a percentage or a font-relative unit refers to.
struct LengthContext {
    double viewportWidth = 100, viewportHeight = 100;
    double fontSize = 16;
};

// A length in user units; empty when the text is not a length.
std::optional<double> ParseLength(std::string_view text, Axis axis, const LengthContext& context);

std::string_view Trim(std::string_view text);
std::string Lower(std::string_view text);

} // namespace KUV::ImportSvg
