// A production read from outside its folder: the tools look for the files its scenes name
// in the folders above the root scene when the working directory does not hold them.
#include <gtest/gtest.h>

#include "Core/Factory.h"
#include "Core/FilePath.h"
#include "support/Scenes.h"

using namespace KUV;
using kuvtest::Canvas;
using kuvtest::LoadedScene;
using kuvtest::SceneText;
using kuvtest::TempDir;

namespace {

// A production as the player reads it from its folder: the root names its child from there.
class ProductionFoldersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir.Write("data/tessik/child.tvs", SceneText().Str());
        dir.Write(
            "data/tessik/root.tvs", SceneText().ChildKuv("Child", "Tavisk{ " + childAsWritten + " noOfArgs 0 }").Str());
    }
    void TearDown() override { SetProductionFolders(""); }
    std::string Root() const { return dir.Path() + "/data/tessik/root.tvs"; }

    std::string childAsWritten = "data\\tessik\\child.tvs";
    TempDir dir;
    Canvas canvas;
};

TEST_F(ProductionFoldersTest, WithoutThemFilesAreReadFromTheWorkingDirectoryOnly)
{
    const LoadedScene loaded = kuvtest::LoadScene(canvas, Root());
    EXPECT_EQ(loaded.errorText,
        "Parse Error:::" + Root()
            + " : 7 : Parse Error:::data\\tessik\\child.tvs : 0 : could not open the file \"data\\tessik\\child.tvs\"");
}

TEST_F(ProductionFoldersTest, TheFoldersAboveTheRootSceneHoldWhatItNames)
{
    SetProductionFolders(Root());
    const LoadedScene loaded = kuvtest::LoadScene(canvas, Root());
    EXPECT_EQ(loaded.status, LoadOk) << loaded.errorText;
    EXPECT_EQ(ResolvePath("DATA\\Tessik\\Child.TVS"), dir.Path() + "/data/tessik/child.tvs")
        << "case is the fallback there too";
    EXPECT_EQ(ResolvePath("data\\tessik\\none.tvs"), "data/tessik/none.tvs") << "a file found nowhere";
    EXPECT_EQ(ResolvePath("/nowhere/data/tessik/child.tvs"), "/nowhere/data/tessik/child.tvs")
        << "an absolute path is never looked for elsewhere";
}

TEST_F(ProductionFoldersTest, TheNearestFolderComesFirst)
{
    dir.Write("data/tessik/data/tessik/child.tvs", SceneText().Str());
    SetProductionFolders(Root());
    EXPECT_EQ(ResolvePath(childAsWritten), dir.Path() + "/data/tessik/data/tessik/child.tvs");
    SetProductionFolders("");
    EXPECT_EQ(ResolvePath(childAsWritten), "data/tessik/child.tvs") << "an empty path sets none";
}

} // namespace
