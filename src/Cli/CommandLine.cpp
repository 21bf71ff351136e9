#include "Cli/CommandLine.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <tuple>

namespace KUV::Cli {

namespace {

// A plain decimal ("-12.5", ".5", "3."): a leading minus but no plus, no exponent, no hexadecimal,
// no infinity. strtod reads it once the text is known to be one (in the C locale a program starts
// in): libc++ before 17, the browser build's, has no floating-point from_chars, and one reader on
// every platform is one that the tests here cover.
bool ReadFixed(const std::string& text, double& value)
{
    const size_t first = text.empty() || text[0] != '-' ? 0 : 1;
    const bool digits = text.find_first_of("0123456789", first) != std::string::npos;
    const size_t point = text.find('.', first);
    if (!digits || text.find_first_not_of("0123456789.", first) != std::string::npos
        || (point != std::string::npos && text.find('.', point + 1) != std::string::npos))
        return false;
    value = std::strtod(text.c_str(), nullptr);
    return true;
}

} // namespace

std::optional<std::int64_t> ParseNumber(const std::string& text, std::int64_t low, std::int64_t high)
{
    const char* end = text.data() + text.size();
    std::int64_t value = 0;
    const auto [rest, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || rest != end || value < low || value > high) return std::nullopt;
    return value;
}

std::optional<double> ParseReal(const std::string& text, double low, double high)
{
    double value = 0;
    if (!ReadFixed(text, value) || !(value >= low && value <= high)) return std::nullopt;
    return value;
}

std::optional<std::vector<std::int64_t>> ParseList(
    const std::string& text, char separator, std::int64_t low, std::int64_t high)
{
    std::vector<std::int64_t> values;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(separator, start);
        const auto value = ParseNumber(text.substr(start, end - start), low, high);
        if (!value) return std::nullopt;
        values.push_back(*value);
        if (end == std::string::npos) return values;
        start = end + 1;
    }
}

std::optional<std::pair<std::int64_t, std::int64_t>> ParsePair(
    const std::string& text, char separator, std::int64_t low, std::int64_t high)
{
    const auto values = ParseList(text, separator, low, high);
    if (!values || values->size() != 2) return std::nullopt;
    return std::make_pair((*values)[0], (*values)[1]);
}

std::optional<Size> ParseSize(const std::string& text, int maxSide)
{
    const auto sides = ParsePair(text, 'x', 1, maxSide);
    if (!sides) return std::nullopt;
    return Size { static_cast<int>(sides->first), static_cast<int>(sides->second) };
}

std::optional<std::vector<std::int64_t>> ParseTicks(const std::string& text)
{
    return ParseList(text, ',', 0, MaxTick);
}

Parser& Parser::Flag(std::string name, bool& given)
{
    m_Flags.emplace_back(std::move(name), &given);
    return *this;
}

Parser& Parser::Option(std::string name, ValueReader read, std::string hint)
{
    m_Options.push_back({ std::move(name), std::move(read), std::move(hint) });
    return *this;
}

Parser& Parser::Positional(PositionalReader read)
{
    m_Positional = std::move(read);
    return *this;
}

Parser& Parser::UnknownOptionsTakeAValue()
{
    m_UnknownTakesValue = true;
    return *this;
}

bool Parser::Read(const std::vector<std::string>& arguments, std::string& error) const
{
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const auto flag
            = std::find_if(m_Flags.begin(), m_Flags.end(), [&](const auto& known) { return known.first == argument; });
        if (flag != m_Flags.end())
            *flag->second = true;
        else if (argument.rfind("--", 0) == 0) {
            if (!ReadOption(arguments, i, error)) return false;
        } else if (!m_Positional || !m_Positional(argument, error))
            return false;
    }
    return true;
}

bool Parser::ReadOption(const std::vector<std::string>& arguments, size_t& i, std::string& error) const
{
    const std::string& name = arguments[i];
    const auto option
        = std::find_if(m_Options.begin(), m_Options.end(), [&](const Valued& known) { return known.name == name; });
    if (option == m_Options.end() && !m_UnknownTakesValue) {
        error = "unknown option " + name;
        return false;
    }
    if (i + 1 >= arguments.size()) {
        error = "missing value for " + name;
        return false;
    }
    const std::string& value = arguments[++i];
    if (option == m_Options.end()) {
        error = "unknown option " + name;
        return false;
    }
    if (option->read(value)) return true;
    error = "bad value for " + name + ": \"" + value + "\"" + option->hint;
    return false;
}

Parser::ValueReader Text(std::string& target)
{
    return [&target](const std::string& value) { return !(target = value).empty(); };
}

Parser::ValueReader SizeInto(int& width, int& height, int maxSide)
{
    return [&width, &height, maxSide](const std::string& value) {
        const auto size = ParseSize(value, maxSide);
        if (size) std::tie(width, height) = std::tie(size->width, size->height);
        return size.has_value();
    };
}

Parser::ValueReader TicksInto(std::vector<std::int64_t>& ticks)
{
    return [&ticks](const std::string& value) {
        const auto read = ParseTicks(value);
        if (read) ticks.insert(ticks.end(), read->begin(), read->end());
        return read.has_value();
    };
}

Parser::PositionalReader One(std::string& target, const std::string& what)
{
    return [&target, what](const std::string& argument, std::string& error) {
        if (target.empty()) {
            target = argument;
            return true;
        }
        error = "more than one " + what + " given";
        return false;
    };
}

} // namespace KUV::Cli
