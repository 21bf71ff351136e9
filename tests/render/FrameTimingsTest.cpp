// tvs-render --timings: per-frame update and render times and their summary.
#include <algorithm>
#include <cctype>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Render/FrameTimings.h"
#include "support/Scenes.h"

namespace {

using KUV::Render::Summarize;

// line with every time (digits, a point, three digits) written as T; other numbers stay.
std::string Masked(const std::string& line)
{
    std::string masked;
    for (size_t i = 0; i < line.size();) {
        size_t end = i;
        while (end < line.size() && (std::isdigit(static_cast<unsigned char>(line[end])) || line[end] == '.'))
            ++end;
        const std::string run = line.substr(i, end - i);
        const size_t point = run.find('.');
        const bool time = point != std::string::npos && point > 0 && run.size() - point == 4;
        masked += end == i ? std::string(1, line[i]) : (time ? "T" : run);
        i = std::max(end, i + 1);
    }
    return masked;
}

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
    const std::vector<std::string> expected = { "load T ms threads ", "@0 update T ms render T ms",
        "@32 update T ms render T ms", "update median T p95 T worst T ms", "render median T p95 T worst T ms" };
    ASSERT_EQ(lines.size(), expected.size()) << run.out;
    for (size_t i = 1; i < lines.size(); ++i)
        EXPECT_EQ(Masked(lines[i]), expected[i]);
    EXPECT_EQ(Masked(lines[0]).rfind(expected[0], 0), 0u) << lines[0];
}

} // namespace
