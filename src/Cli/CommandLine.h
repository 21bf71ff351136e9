// The one way every program of ours reads its command line: options with and without a
// value, positional arguments, whole numbers, sizes and lists of ticks, --help, and the
// exit status 64 with the usage for a command line it cannot use.
#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace KUV::Cli {

inline constexpr int ExitOk = 0;
inline constexpr int ExitUsage = 64;
// Ticks are the host clock's signed 32-bit milliseconds.
inline constexpr std::int64_t MaxTick = std::numeric_limits<std::int32_t>::max();

// A whole decimal number within [low, high] and nothing else (no space, no "+", no trailing text).
std::optional<std::int64_t> ParseNumber(const std::string& text, std::int64_t low, std::int64_t high);
// A decimal number with an optional fraction within [low, high], and nothing else.
std::optional<double> ParseReal(const std::string& text, double low, double high);
// "a<separator>b<separator>...": one or more whole numbers, each within [low, high].
std::optional<std::vector<std::int64_t>> ParseList(
    const std::string& text, char separator, std::int64_t low, std::int64_t high);
// Exactly two whole numbers "a<separator>b", each within [low, high].
std::optional<std::pair<std::int64_t, std::int64_t>> ParsePair(
    const std::string& text, char separator, std::int64_t low, std::int64_t high);

struct Size {
    int width = 0;
    int height = 0;
};
// "WxH" with each side from 1 to maxSide pixels.
std::optional<Size> ParseSize(const std::string& text, int maxSide);
// "T1,T2,...": ticks from 0 to MaxTick.
std::optional<std::vector<std::int64_t>> ParseTicks(const std::string& text);

// A program's command line: what each option and each positional argument does. Arguments
// are read in order and the first fault stops the reading with its message:
// "missing value for NAME", "bad value for NAME: \"VALUE\"" (and the option's hint),
// "unknown option NAME", or what the positional reader says.
class Parser {
public:
    // Takes the value to the option; false when the value is bad.
    using ValueReader = std::function<bool(const std::string& value)>;
    // Takes a positional argument; false with a message in error when there is no room for it.
    using PositionalReader = std::function<bool(const std::string& argument, std::string& error)>;

    // An option that stands alone ("--vars").
    Parser& Flag(std::string name, bool& given);
    // An option followed by its value ("--size 640x480"); hint follows the bad-value message.
    Parser& Option(std::string name, ValueReader read, std::string hint = {});
    Parser& Positional(PositionalReader read);
    // Whether an unknown option takes the next argument as its value before it is refused, so
    // that one at the end of the line lacks its value (tvs-render and tvs-preview read so).
    Parser& UnknownOptionsTakeAValue();

    // Reads the arguments after the program's name; false with the reason in error.
    bool Read(const std::vector<std::string>& arguments, std::string& error) const;

private:
    struct Valued {
        std::string name;
        ValueReader read;
        std::string hint;
    };

    bool ReadOption(const std::vector<std::string>& arguments, size_t& i, std::string& error) const;

    std::vector<std::pair<std::string, bool*>> m_Flags;
    std::vector<Valued> m_Options;
    PositionalReader m_Positional;
    bool m_UnknownTakesValue = false;
};

// Stores a whole number within [low, high] into target, whatever integer type it has.
template <class T> Parser::ValueReader Number(T& target, std::int64_t low, std::int64_t high)
{
    return [&target, low, high](const std::string& value) {
        const auto number = ParseNumber(value, low, high);
        if (number) target = static_cast<T>(*number);
        return number.has_value();
    };
}
// Stores a whole number within [low, high] into an optional target.
template <class T> Parser::ValueReader Number(std::optional<T>& target, std::int64_t low, std::int64_t high)
{
    return [&target, low, high](const std::string& value) {
        const auto number = ParseNumber(value, low, high);
        if (number) target = static_cast<T>(*number);
        return number.has_value();
    };
}
// Stores the value into target; an empty value is bad.
Parser::ValueReader Text(std::string& target);
// Stores a "WxH" size into width and height.
Parser::ValueReader SizeInto(int& width, int& height, int maxSide);
// Adds the ticks of a "T1,T2,..." list to ticks.
Parser::ValueReader TicksInto(std::vector<std::int64_t>& ticks);

// Takes the one positional argument into target; the second is "more than one <what> given".
Parser::PositionalReader One(std::string& target, const std::string& what);

// What a program's entry does with its command line. parse reads the arguments after the
// program's name into options (with help set by --help) or says why it cannot; then a bad line
// prints "<program>: <reason>" and the usage on err and gives ExitUsage, --help prints help on
// out and gives ExitOk, and anything else gives what run returns.
template <class Parse, class Run>
int RunProgram(const std::string& program, const std::vector<std::string>& arguments, const Parse& parse,
    const std::string& usage, const std::string& help, const Run& run, std::ostream& out, std::ostream& err)
{
    std::string error;
    const auto options = parse(arguments, error);
    if (!options) {
        err << program << ": " << error << "\n" << usage;
        return ExitUsage;
    }
    if (options->help) {
        out << help;
        return ExitOk;
    }
    return run(*options);
}
// The same for a program whose --help prints its usage.
template <class Parse, class Run>
int RunProgram(const std::string& program, const std::vector<std::string>& arguments, const Parse& parse,
    const std::string& usage, const Run& run, std::ostream& out, std::ostream& err)
{
    return RunProgram(program, arguments, parse, usage, usage, run, out, err);
}

} // namespace KUV::Cli
