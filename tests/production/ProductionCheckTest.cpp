// The bundled show has none of the silent mistakes tvs-check finds.
#include <filesystem>

#include <gtest/gtest.h>

#include "support/Scenes.h"

namespace {

TEST(ProductionCheck, TheBundledProductionChecksClean)
{
    const std::string root = std::filesystem::path(KUV_TEST_SOURCE_DIR).parent_path().string();
    const auto run = kuvtest::RunTvsCheck({ "data/tessik/postprocess.tvs" }, root);
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
}

} // namespace
