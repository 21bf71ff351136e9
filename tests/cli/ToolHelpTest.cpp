// Every command-line tool answers --help with its usage on standard output.
#include <gtest/gtest.h>

#include "support/Scenes.h"

namespace {

TEST(ToolHelp, EveryToolPrintsItsUsageOnStandardOutputAndExitsZero)
{
    const kuvtest::TempDir dir;
    for (const char* tool : { KUV_TVS_RENDER, KUV_TVS_CHECK, KUV_VELORINE_SYNTH, KUV_TVS_PREVIEW }) {
        const auto run = kuvtest::RunTool(tool, { "--help" }, dir.Path());
        EXPECT_EQ(run.exitCode, 0) << tool;
        EXPECT_EQ(run.out.rfind("usage: ", 0), 0u) << tool << ": " << run.out;
        EXPECT_EQ(run.err, "") << tool;
    }
}

} // namespace
