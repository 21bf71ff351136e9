// tvs-render --timings: per-frame update and render times and their summary.
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Tools/FrameTimings.h"
#include "support/Scenes.h"

namespace {

using KUV::Tools::Summarize;

TEST(FrameTimingsTest, SummariesTakeTheMedianTheNearestRankAndTheLargest)
{
    struct Case {
        std::vector<double> times;
        double median, p95, worst;
    };
    std::vector<double> hundred;
    for (int i = 100; i >= 1; --i)
        hundred.push_back(i);
    const Case cases[] = {
        { {}, 0, 0, 0 },
        { { 7 }, 7, 7, 7 },
        { { 4, 1 }, 2.5, 4, 4 },
        { { 3, 9, 1 }, 3, 9, 9 },
        { hundred, 50.5, 95, 100 },
    };
    for (const Case& c : cases) {
        const auto s = Summarize(c.times);
        EXPECT_DOUBLE_EQ(s.median, c.median) << c.times.size();
        EXPECT_DOUBLE_EQ(s.p95, c.p95) << c.times.size();
        EXPECT_DOUBLE_EQ(s.worst, c.worst) << c.times.size();
    }
}

TEST(FrameTimingsTest, ToolPrintsTheLoadEveryRenderedFrameAndTheSummaries)
{
    kuvtest::TempDir dir;
    dir.Write(
        "blank.tvs", kuvtest::SceneText().Executable("draw", "Procedure{ noOfCommands 0 }").MainAnim("draw").Str());
    const auto run = kuvtest::RunTvsRender({ "blank.tvs", "--size", "40x30", "--at", "32,0", "--timings" }, dir.Path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::istringstream out(run.out);
    std::vector<std::string> lines;
    for (std::string line; std::getline(out, line);)
        lines.push_back(line);
    const std::string ms = "[0-9]+\\.[0-9]{3}";
    const std::vector<std::string> patterns = { "load " + ms + " ms threads [1-9][0-9]*",
        "@0 update " + ms + " ms render " + ms + " ms", "@32 update " + ms + " ms render " + ms + " ms",
        "update median " + ms + " p95 " + ms + " worst " + ms + " ms",
        "render median " + ms + " p95 " + ms + " worst " + ms + " ms" };
    ASSERT_EQ(lines.size(), patterns.size()) << run.out;
    for (size_t i = 0; i < lines.size(); ++i)
        EXPECT_TRUE(std::regex_match(lines[i], std::regex(patterns[i]))) << lines[i];
}

} // namespace
