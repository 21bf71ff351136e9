// "Source{" geometries: a geometry record read from another file, with the
// reading state of the including file put back afterwards.
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "Core/GeometryBase.h"
#include "ProgramFixtures.h"
#include "support/Pixels.h"

namespace kuvtest {
namespace {

using KUV::ResultOk;

const std::string Square = "Rectangle{ x 20 y 20 w 60 h 60 hitTest 0 }";

// The sections after the geometries of a scene that fills "g" in red.
const std::string FillG = "noOfBrushes 1\n red " + RedBrush
    + "\nnoOfImages 0\nnoOfTransforms 0\nnoOfChildKuvs 0\n"
      "noOfExecutables 1\n draw Procedure{ noOfCommands 1 Fill{ g red } }\n"
      "noOfControllers 0\nnoOfAnimations 1\n"
      " MainAnim Animation{ renderFunction draw controller null transitionTarget null }\n}\n";

class SourceGeometryTest : public ProgramTest {
protected:
    std::string Include(const std::string& name, const std::string& text) const { return dir.Write(name, text); }
    std::string LoadTextError(const std::string& text)
    {
        loaded = LoadSceneText(canvas, dir, text);
        EXPECT_EQ(loaded.status, 1);
        return loaded.errorText;
    }
    static std::string FramedIn(const std::string& file, int line, const std::string& message)
    {
        return "Parse Error:::" + file + " : " + std::to_string(line) + " : " + message;
    }
    bool Hits(int x, int y) const
    {
        bool hit = false;
        EXPECT_EQ(Scene().HitTest(x, y, &hit), ResultOk);
        return hit;
    }
};

TEST_F(SourceGeometryTest, TheIncludedRecordIsTheGeometry)
{
    const std::string path = Include("shapes/square.tvs", "\r\n" + Square + "\r\n\r\ntrailing words are never read");
    Load(SceneText()
             .Geometry("g", "Source{ " + path + " hitTest 0 }")
             .Brush("red", RedBrush)
             .Executable("draw", Commands("Fill{ g red }", 1))
             .MainAnim("draw"));
    ASSERT_EQ(Render(), ResultOk) << Scene().GetErrorText();
    EXPECT_TRUE(PixelsNear(canvas.target.Get(), { { 25, 25, Red }, { 75, 75, Red }, { 15, 50, White } }));
}

TEST_F(SourceGeometryTest, AMissingFileIsNamedAtLineZero)
{
    const std::string missing = dir.Path() + "/shapes/none.tvs";
    EXPECT_EQ(LoadError(SceneText().Geometry("g", "Source{ " + missing + " hitTest 0 }")),
        FramedIn(missing, 0, "could not open the file \"" + missing + "\""));
}

TEST_F(SourceGeometryTest, AnErrorInTheIncludedFileNamesThatFileAndItsOwnLine)
{
    const std::string extra = Include("extra.tvs", "\nRectangle{ x 0 y 0\n  w 1 h 1 hitTest 0\n  extra }\n");
    EXPECT_EQ(LoadError(SceneText().Geometry("g", "Source{ " + extra + " hitTest 0 }")),
        FramedIn(extra, 4, "expecting \"}\" got \"extra\""));
    const std::string cut = Include("cut.tvs", "Rectangle{ x 0 y 0\nw 1\n");
    EXPECT_EQ(LoadError(SceneText().Geometry("g", "Source{ " + cut + " hitTest 0 }")),
        FramedIn(cut, 3, "expecting \"h\" got \"\""))
        << "the failed read after the last line counts";
    const std::string name = Include("name.tvs", "Combined{ geometry1 a geometry2 nope mode Union hitTest 0 }");
    EXPECT_EQ(LoadError(SceneText().Geometry("a", Square).Geometry("g", "Source{ " + name + " hitTest 0 }")),
        FramedIn(name, 1, "a geometry with name \"nope\" does not exist"));
}

TEST_F(SourceGeometryTest, ReadingResumesOnTheOuterLineRightAfterTheFileName)
{
    const std::string five = Include("five.tvs", "\n\n\nRectangle{ x 0 y 0 w 1 h 1\nhitTest 0 }\n");
    const std::string head = "Tavisk{\nnoOfGeometries 3\n";
    EXPECT_EQ(LoadTextError(head + " g Source{ " + five + " hitTest 0 } h " + Square + " i Blob{ hitTest 0 }\n"),
        Framed(3, "Unknown geometry type \"Blob{\""));
    EXPECT_EQ(LoadTextError(head + " g Source{ " + five + "\n hitTest 0 } h\n  " + Square + " i Blob{\n"),
        Framed(5, "Unknown geometry type \"Blob{\""))
        << "a file name ending its line: the next read takes the outer file's next line";
    EXPECT_EQ(
        LoadTextError(head + " g Source{ " + five + " oops 0 }\n"), Framed(3, "expecting \"hitTest\" got \"oops\""));

    loaded = LoadSceneText(
        canvas, dir, head + " g Source{ " + five + " hitTest 0 } h " + Square + " i " + Square + "\n" + FillG);
    ASSERT_EQ(loaded.status, 0) << loaded.errorText;
    EXPECT_NE(Scene().FindGeometry("h"), nullptr) << "a record after the include on the same line";
    EXPECT_NE(Scene().FindGeometry("i"), nullptr);
}

TEST_F(SourceGeometryTest, IncludesNest)
{
    const std::string inner = Include("inner.tvs", "\n" + Square + "\n");
    const std::string middle = Include("middle.tvs", "Source{ " + inner + "\n\n hitTest 0 }");
    loaded = LoadSceneText(canvas, dir, "Tavisk{\nnoOfGeometries 1\n g Source{ " + middle + " hitTest 0 }\n" + FillG);
    ASSERT_EQ(loaded.status, 0) << loaded.errorText;
    ASSERT_EQ(Render(), ResultOk) << Scene().GetErrorText();
    EXPECT_TRUE(PixelsNear(canvas.target.Get(), { { 50, 50, Red }, { 10, 10, White } }));

    const std::string broken = Include("broken.tvs", "Ellipse{ center\n Point{ 1 1 } radiusX 1 radiusY 1 hitTest 0 ]");
    const std::string outer = Include("outer.tvs", "\n\nSource{ " + broken + " hitTest 0 }");
    EXPECT_EQ(LoadError(SceneText().Geometry("g", "Source{ " + outer + " hitTest 0 }")),
        FramedIn(broken, 2, "expecting \"}\" got \"]\""));
    const std::string tail = Include("tail.tvs", "Source{ " + inner + "\n\n hitTest 0 ]");
    EXPECT_EQ(LoadError(SceneText().Geometry("g", "Source{ " + tail + " hitTest 0 }")),
        FramedIn(tail, 3, "expecting \"}\" got \"]\""))
        << "after the inner include, the middle file's own name and line are back";
}

TEST_F(SourceGeometryTest, AFileThatIsAlreadyBeingReadIsRefused)
{
    const std::string self = dir.Path() + "/self.tvs";
    Include("self.tvs", "\nSource{ " + self + " hitTest 0 }");
    EXPECT_EQ(LoadError(SceneText().Geometry("g", "Source{ " + self + " hitTest 0 }")),
        FramedIn(self, 2, "could not include the file \"" + self + "\": it is already being read"));

    const std::string ping = dir.Path() + "/ping.tvs";
    const std::string pongWritten = dir.Path() + "/sub/../pong.tvs";
    Include("ping.tvs", "Source{ " + pongWritten + " hitTest 0 }");
    Include("pong.tvs", "\n\n\nSource{ " + ping + " hitTest 0 }");
    std::filesystem::create_directories(dir.Path() + "/sub");
    EXPECT_EQ(LoadError(SceneText().Geometry("g", "Source{ " + ping + " hitTest 0 }")),
        FramedIn(pongWritten, 4, "could not include the file \"" + ping + "\": it is already being read"));

    const std::string root = dir.Path() + "/scene.tvs";
    EXPECT_EQ(LoadError(SceneText().Geometry("g", Square).Geometry("h", "Source{ " + root + " hitTest 0 }")),
        Framed(4, "could not include the file \"" + root + "\": it is already being read"));
}

TEST_F(SourceGeometryTest, TheSameFileMayBeIncludedAgainOnceItIsClosed)
{
    const std::string square = Include("square.tvs", Square);
    const std::string twice = Include("twice.tvs", "Combined{ geometry1 a geometry2 a mode Union hitTest 0 }");
    Load(SceneText()
             .Geometry("a", "Source{ " + square + " hitTest 0 }")
             .Geometry("b", "Source{ " + square + " hitTest 0 }")
             .Geometry("g", "Source{ " + twice + " hitTest 0 }")
             .Brush("red", RedBrush)
             .Executable("draw", Commands("Fill{ g red }", 1))
             .MainAnim("draw"));
    ASSERT_EQ(Render(), ResultOk) << Scene().GetErrorText();
    EXPECT_TRUE(PixelsNear(canvas.target.Get(), { { 50, 50, Red } }));
}

TEST_F(SourceGeometryTest, EitherHitTestMakesTheIncludedGeometryHitTestable)
{
    const std::string path = Include("path.tvs",
        "Path{ noOfFigures 1 Figure{ startPoint Point{ 10 10 } closed 1 noOfSegments 2 "
        "Line{ to Point{ 50 10 } } Line{ to Point{ 10 50 } } } hitTest 0 }");
    Load(SceneText()
             .Geometry("g", "Source{ " + path + " hitTest 1 }")
             .Executable("draw", Commands("", 0))
             .MainAnim("draw"));
    EXPECT_TRUE(Hits(15, 15));
    EXPECT_FALSE(Hits(45, 45)) << "outside the triangle";

    Load(SceneText()
             .Geometry("g", "Source{ " + path + " hitTest 0 }")
             .Executable("draw", Commands("", 0))
             .MainAnim("draw"));
    EXPECT_FALSE(Hits(15, 15));

    const std::string hitting = Include("hitting.tvs", "Rectangle{ x 0 y 0 w 30 h 30 hitTest 2 }");
    Load(SceneText()
             .Geometry("g", "Source{ " + hitting + " hitTest 0 }")
             .Executable("draw", Commands("", 0))
             .MainAnim("draw"));
    EXPECT_TRUE(Hits(15, 15));
}

TEST_F(SourceGeometryTest, NamesAreWindowsStyleAndRelativeToTheWorkingDirectory)
{
    Include("Shapes/Box.TVS", Square);
    dir.Write("scene.tvs", "Tavisk{\nnoOfGeometries 1\n g Source{ shapes\\box.tvs hitTest 0 }\n" + FillG);
    const auto drawn = RunTvsRender({ "scene.tvs", "--size", "100x100", "--at", "0", "--out", "frames" }, dir.Path());
    ASSERT_EQ(drawn.exitCode, 0) << drawn.err;
    EXPECT_TRUE(PixelsNear(Image::FromPng(dir.Path() + "/frames/0.png"), { { 50, 50, Red }, { 10, 10, White } }));

    dir.Write("missing.tvs", "Tavisk{\nnoOfGeometries 1\n g Source{ shapes\\none.tvs hitTest 0 }\n" + FillG);
    const auto missing = RunTvsRender({ "missing.tvs" }, dir.Path());
    EXPECT_EQ(missing.exitCode, 1);
    const std::string expected = "Parse Error:::shapes\\none.tvs : 0 : could not open the file \"shapes\\none.tvs\"\n";
    EXPECT_EQ(missing.err.substr(0, expected.size()), expected) << "sanitizer builds may add a report after it";
}

} // namespace
} // namespace kuvtest
