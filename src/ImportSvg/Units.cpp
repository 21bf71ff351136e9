#include "ImportSvg/Units.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace KUV::ImportSvg {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

} // namespace

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string Lower(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

void SkipSeparators(std::string_view text, std::size_t& pos)
{
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
    if (pos < text.size() && text[pos] == ',') ++pos;
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
}

std::optional<double> ReadNumber(std::string_view text, std::size_t& pos)
{
    std::size_t p = pos;
    SkipSeparators(text, p);
    const std::size_t begin = p;
    if (p < text.size() && (text[p] == '+' || text[p] == '-')) ++p;
    bool digits = false;
    while (p < text.size() && std::isdigit(static_cast<unsigned char>(text[p])))
        ++p, digits = true;
    if (p < text.size() && text[p] == '.') {
        ++p;
        while (p < text.size() && std::isdigit(static_cast<unsigned char>(text[p])))
            ++p, digits = true;
    }
    if (!digits) return std::nullopt;
    if (p < text.size() && (text[p] == 'e' || text[p] == 'E')) {
        std::size_t q = p + 1;
        if (q < text.size() && (text[q] == '+' || text[q] == '-')) ++q;
        if (q < text.size() && std::isdigit(static_cast<unsigned char>(text[q]))) {
            while (q < text.size() && std::isdigit(static_cast<unsigned char>(text[q])))
                ++q;
            p = q;
        }
    }
    std::size_t from = begin + (text[begin] == '+' ? 1 : 0);
    double value = 0;
    const auto result = std::from_chars(text.data() + from, text.data() + p, value);
    if (result.ec == std::errc::result_out_of_range) value = 0;
    if (!std::isfinite(value)) return std::nullopt;
    pos = p;
    return value;
}

std::optional<double> ParseNumber(std::string_view text)
{
    text = Trim(text);
    std::size_t pos = 0;
    const auto value = ReadNumber(text, pos);
    if (!value || pos != text.size()) return std::nullopt;
    return value;
}

std::vector<double> ParseNumberList(std::string_view text, bool* complete)
{
    std::vector<double> values;
    std::size_t pos = 0;
    while (auto v = ReadNumber(text, pos))
        values.push_back(*v);
    SkipSeparators(text, pos);
    if (complete != nullptr) *complete = pos >= text.size();
    return values;
}

std::optional<double> ParseLength(std::string_view text, Axis axis, const LengthContext& context)
{
    text = Trim(text);
    std::size_t pos = 0;
    const auto value = ReadNumber(text, pos);
    if (!value || (pos < text.size() && text[pos] == ',')) return std::nullopt;
    const std::string unit = Lower(Trim(text.substr(pos)));
    double factor = 0;
    if (unit.empty() || unit == "px")
        factor = 1;
    else if (unit == "pt")
        factor = 4.0 / 3.0;
    else if (unit == "pc")
        factor = 16;
    else if (unit == "mm")
        factor = 96 / 25.4;
    else if (unit == "cm")
        factor = 96 / 2.54;
    else if (unit == "in")
        factor = 96;
    else if (unit == "em")
        factor = context.fontSize;
    else if (unit == "ex")
        factor = context.fontSize / 2;
    else if (unit == "%") {
        const double w = context.viewportWidth, h = context.viewportHeight;
        const double base = axis == Axis::X ? w : axis == Axis::Y ? h : std::sqrt((w * w + h * h) / 2);
        factor = base / 100;
    } else
        return std::nullopt;
    return *value * factor;
}

} // namespace KUV::ImportSvg
