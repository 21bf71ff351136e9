// The command-line helper every program reads its arguments with.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "Cli/CommandLine.h"

namespace {

using namespace KUV::Cli;

TEST(CliNumbers, AcceptOnlyAWholeDecimalWithinTheRange)
{
    EXPECT_EQ(ParseNumber("0", 0, 10), 0);
    EXPECT_EQ(ParseNumber("10", 0, 10), 10);
    EXPECT_EQ(ParseNumber("-5", -5, 5), -5);
    EXPECT_EQ(ParseNumber("2147483647", 0, MaxTick), MaxTick);
    for (const char* bad : { "", " 1", "1 ", "+1", "1.0", "1e3", "0x10", "11", "-1", "abc" })
        EXPECT_EQ(ParseNumber(bad, 0, 10), std::nullopt) << '"' << bad << '"';
    EXPECT_EQ(ParseNumber("2147483648", 0, MaxTick), std::nullopt);
    EXPECT_EQ(ParseNumber("99999999999999999999", 0, std::numeric_limits<std::int64_t>::max()), std::nullopt);
}

TEST(CliNumbers, RealsTakeAFractionButNoTrailingTextAndStayInTheirRange)
{
    EXPECT_EQ(ParseReal("-1.5", -40, 0), -1.5);
    EXPECT_EQ(ParseReal("0", -40, 0), 0.0);
    EXPECT_EQ(ParseReal("-40", -40, 0), -40.0);
    for (const char* bad : { "", "-3abc", "-40.5", "0.1", "nan", "-inf", "1e-3x", " -1" })
        EXPECT_EQ(ParseReal(bad, -40, 0), std::nullopt) << '"' << bad << '"';
}

TEST(CliNumbers, RealsArePlainDecimalsWithAtMostOnePointAndTheirNearestDouble)
{
    EXPECT_EQ(ParseReal("3.", 0, 10), 3.0);
    EXPECT_EQ(ParseReal(".5", 0, 10), 0.5);
    EXPECT_EQ(ParseReal("-.25", -1, 0), -0.25);
    EXPECT_EQ(ParseReal("0.1000000000000000055511151231257827", 0, 1), 0.1);
    for (const char* bad : { "-", ".", "-.", "1.2.3", "--1", "+1", "1e3", "0x1p3", "1,5", "inf", "1 " })
        EXPECT_EQ(ParseReal(bad, -1e9, 1e9), std::nullopt) << '"' << bad << '"';
    // Too many digits for a double's range is out of any finite range, not an error of another kind.
    EXPECT_EQ(ParseReal(std::string(400, '9'), 0, 1e308), std::nullopt);
}

TEST(CliLists, SizesPairsAndTicksSplitOnTheirSeparatorWithNothingEmpty)
{
    ASSERT_TRUE(ParseSize("640x480", 16384));
    EXPECT_EQ(ParseSize("640x480", 16384)->width, 640);
    EXPECT_EQ(ParseSize("640x480", 16384)->height, 480);
    for (const char* bad : { "640", "640x", "x480", "0x480", "640x0", "16385x1", "1x2x3", "640X480", "640,480" })
        EXPECT_FALSE(ParseSize(bad, 16384)) << bad;
    EXPECT_EQ(ParsePair("-3,4", ',', -10, 10), std::make_pair(std::int64_t(-3), std::int64_t(4)));
    EXPECT_EQ(ParseTicks("0,16,2147483647"), (std::vector<std::int64_t> { 0, 16, MaxTick }));
    for (const char* bad : { "", "1,", ",1", "1,,2", "-1", "2147483648", "1;2" })
        EXPECT_EQ(ParseTicks(bad), std::nullopt) << bad;
}

struct Line {
    std::string scene;
    std::int64_t at = 0;
    std::vector<std::int64_t> ticks;
    int width = 0, height = 0;
    bool flag = false;
};

Parser Grammar(Line& line, bool unknownTakesValue)
{
    Parser parser;
    parser.Flag("--flag", line.flag).Option("--at", Number(line.at, 0, 100), " (0 to 100)");
    parser.Option("--ticks", TicksInto(line.ticks)).Option("--size", SizeInto(line.width, line.height, 50));
    parser.Positional(One(line.scene, "scene"));
    if (unknownTakesValue) parser.UnknownOptionsTakeAValue();
    return parser;
}

std::string Fault(const std::vector<std::string>& arguments, bool unknownTakesValue = false)
{
    Line line;
    std::string error;
    return Grammar(line, unknownTakesValue).Read(arguments, error) ? "" : error;
}

TEST(CliParser, ReadsFlagsValuesAndPositionalsInAnyOrder)
{
    Line line;
    std::string error;
    ASSERT_TRUE(Grammar(line, false)
                    .Read({ "--ticks", "5,1", "a.tvs", "--at", "7", "--flag", "--ticks", "3", "--size", "4x5" }, error))
        << error;
    EXPECT_EQ(line.scene, "a.tvs");
    EXPECT_EQ(line.at, 7);
    EXPECT_EQ(line.ticks, (std::vector<std::int64_t> { 5, 1, 3 }));
    EXPECT_EQ(line.width, 4);
    EXPECT_EQ(line.height, 5);
    EXPECT_TRUE(line.flag);
}

TEST(CliParser, TheFirstFaultInTheLineIsTheOneReported)
{
    EXPECT_EQ(Fault({ "a.tvs", "--at" }), "missing value for --at");
    EXPECT_EQ(Fault({ "a.tvs", "--at", "101" }), "bad value for --at: \"101\" (0 to 100)");
    EXPECT_EQ(Fault({ "a.tvs", "--size", "4x" }), "bad value for --size: \"4x\"");
    EXPECT_EQ(Fault({ "a.tvs", "b.tvs" }), "more than one scene given");
    EXPECT_EQ(Fault({ "--at", "x", "--bogus" }), "bad value for --at: \"x\" (0 to 100)");
    EXPECT_EQ(Fault({ "--bogus", "--at", "x" }), "unknown option --bogus");
    EXPECT_EQ(Fault({ "a.tvs", "-h" }), "more than one scene given") << "a single dash is no option";
}

TEST(CliParser, AnUnknownOptionTakesItsValueFirstOnlyWhereTheProgramSaysSo)
{
    EXPECT_EQ(Fault({ "a.tvs", "--loop" }), "unknown option --loop");
    EXPECT_EQ(Fault({ "a.tvs", "--loop" }, true), "missing value for --loop");
    EXPECT_EQ(Fault({ "a.tvs", "--loop", "1" }, true), "unknown option --loop");
    EXPECT_EQ(Fault({ "--loop", "b.tvs", "a.tvs" }, true), "unknown option --loop");
}

struct Options {
    bool help = false;
    int value = 0;
};

std::optional<Options> ParseOptions(const std::vector<std::string>& arguments, std::string& error)
{
    Options options;
    Parser parser;
    parser.Flag("--help", options.help).Option("--value", Number(options.value, 0, 9));
    if (!parser.Read(arguments, error)) return std::nullopt;
    return options;
}

int RunTool(const std::vector<std::string>& arguments, std::string& out, std::string& err)
{
    std::ostringstream o, e;
    const int status = RunProgram(
        "tool", arguments, ParseOptions, "usage: tool [--value N]\n", "usage: tool [--value N]\nmore help\n",
        [](const Options& options) { return options.value; }, o, e);
    out = o.str();
    err = e.str();
    return status;
}

TEST(CliProgram, ABadLineExits64WithTheReasonAndTheUsageAndHelpGoesToStandardOutput)
{
    std::string out, err;
    EXPECT_EQ(RunTool({ "--value", "10" }, out, err), ExitUsage);
    EXPECT_EQ(out, "");
    EXPECT_EQ(err, "tool: bad value for --value: \"10\"\nusage: tool [--value N]\n");
    EXPECT_EQ(RunTool({ "--value", "3", "--help" }, out, err), ExitOk);
    EXPECT_EQ(out, "usage: tool [--value N]\nmore help\n");
    EXPECT_EQ(err, "");
    EXPECT_EQ(RunTool({ "--value", "3" }, out, err), 3) << "the program's own status";
}

} // namespace
