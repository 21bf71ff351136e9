// "Source{" geometries: a geometry record read from another file, with the
// reading state of the including file put back afterwards.
#include <filesystem>
#include <string>
#include <tuple>
#include <utility>

#include <gtest/gtest.h>

#include "support/Pixels.h"
#include "support/ProgramFixtures.h"

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

class SourceGeometryTest : public ProgramTest { };

TEST_F(SourceGeometryTest, TheIncludedRecordIsTheGeometry)
{
    const std::string square = dir.Write("square.tvs", "\r\n" + Square + "\r\n\r\ntrailing words are never read");
    const std::string inner = dir.Write("inner.tvs", "\n" + Square + "\n");
    const std::string nested = dir.Write("middle.tvs", "Source{ " + inner + "\n\n hitTest 0 }");
    // "a" and "b" include the same file one after the other.
    const std::string both = dir.Write("both.tvs", "Combined{ geometry1 a geometry2 b mode Intersect hitTest 0 }");
    for (const std::string& file : { square, nested, both }) {
        SCOPED_TRACE(file);
        LoadDrawing(SceneText()
                        .Geometry("a", "Source{ " + square + " hitTest 0 }")
                        .Geometry("b", "Source{ " + square + " hitTest 0 }")
                        .Geometry("g", "Source{ " + file + " hitTest 0 }")
                        .Brush("red", RedBrush),
            "Fill{ g red }", 1);
        ExpectRendered({ { 25, 25, Red }, { 75, 75, Red }, { 15, 50, White } });
    }
}

TEST_F(SourceGeometryTest, ErrorsNameTheFileAndLineTheyAreInAndReadingResumesAfterTheName)
{
    const std::string d = dir.Path() + "/";
    for (const auto& [name, text] : std::initializer_list<std::pair<std::string, std::string>> {
             { "extra.tvs", "\nRectangle{ x 0 y 0\n  w 1 h 1 hitTest 0\n  extra }\n" },
             { "cut.tvs", "Rectangle{ x 0 y 0\nw 1\n" },
             { "name.tvs", "Combined{ geometry1 a geometry2 nope mode Union hitTest 0 }" },
             { "inner.tvs", "\n" + Square + "\n" },
             { "broken.tvs", "Ellipse{ center\n Point{ 1 1 } radiusX 1 radiusY 1 hitTest 0 ]" },
             { "outer.tvs", "\n\nSource{ " + d + "broken.tvs hitTest 0 }" },
             { "tail.tvs", "Source{ " + d + "inner.tvs\n\n hitTest 0 ]" },
             { "self.tvs", "\nSource{ " + d + "self.tvs hitTest 0 }" },
             { "ping.tvs", "Source{ " + d + "sub/../pong.tvs hitTest 0 }" },
             { "pong.tvs", "\n\n\nSource{ " + d + "ping.tvs hitTest 0 }" },
             { "five.tvs", "\n\n\nRectangle{ x 0 y 0 w 1 h 1\nhitTest 0 }\n" },
         })
        dir.Write(name, text);
    std::filesystem::create_directories(d + "sub");
    // What follows the folder in the record of "g", then the file, line and message of the error.
    const std::tuple<std::string, const char*, int, std::string> cases[] = {
        { "shapes/none.tvs hitTest 0 }", "shapes/none.tvs", 0, "could not open the file \"" + d + "shapes/none.tvs\"" },
        { "extra.tvs hitTest 0 }", "extra.tvs", 4, "expecting \"}\" got \"extra\"" },
        // The failed read after the last line counts.
        { "cut.tvs hitTest 0 }", "cut.tvs", 3, "expecting \"h\" got \"\"" },
        { "name.tvs hitTest 0 }", "name.tvs", 1, "a geometry with name \"nope\" does not exist" },
        { "outer.tvs hitTest 0 }", "broken.tvs", 2, "expecting \"}\" got \"]\"" },
        // After the inner include, the middle file's own name and line are back.
        { "tail.tvs hitTest 0 }", "tail.tvs", 3, "expecting \"}\" got \"]\"" },
        { "self.tvs hitTest 0 }", "self.tvs", 2,
            "could not include the file \"" + d + "self.tvs\": it is already being read" },
        { "ping.tvs hitTest 0 }", "sub/../pong.tvs", 4,
            "could not include the file \"" + d + "ping.tvs\": it is already being read" },
        { "scene.tvs hitTest 0 }", "scene.tvs", 4,
            "could not include the file \"" + d + "scene.tvs\": it is already being read" },
        // Reading resumes right after the file name: on the same line, or on the outer file's next line.
        { "five.tvs hitTest 0 } h " + Square + " i Blob{ hitTest 0 }", "scene.tvs", 4,
            "Unknown geometry type \"Blob{\"" },
        { "five.tvs\n hitTest 0 } h\n  " + Square + " i Blob{", "scene.tvs", 6, "Unknown geometry type \"Blob{\"" },
        { "five.tvs oops 0 }", "scene.tvs", 4, "expecting \"hitTest\" got \"oops\"" },
    };
    for (const auto& [rest, file, line, message] : cases) {
        SCOPED_TRACE(rest);
        loaded
            = LoadSceneText(canvas, dir, "Tavisk{\nnoOfGeometries 4\n a " + Square + "\n g Source{ " + d + rest + "\n");
        EXPECT_EQ(loaded.errorText, "Parse Error:::" + d + file + " : " + std::to_string(line) + " : " + message);
    }
}

TEST_F(SourceGeometryTest, EitherHitTestMakesTheIncludedGeometryHitTestable)
{
    const std::string triangle = dir.Write("triangle.tvs",
        "Path{ noOfFigures 1 Figure{ startPoint Point{ 10 10 } closed 1 noOfSegments 2 "
        "Line{ to Point{ 50 10 } } Line{ to Point{ 10 50 } } } hitTest 0 }");
    const std::string hitting = dir.Write("hitting.tvs", "Rectangle{ x 0 y 0 w 30 h 30 hitTest 2 }");
    // (45, 45) lies outside both shapes.
    for (const auto& [file, outer, hit] : { std::tuple { triangle, "1", true }, std::tuple { triangle, "0", false },
             std::tuple { hitting, "0", true } }) {
        LoadDrawing(SceneText().Geometry("g", "Source{ " + file + " hitTest " + outer + " }"), "", 0);
        EXPECT_EQ(Hits(15, 15), hit) << file << " hitTest " << outer;
        EXPECT_FALSE(Hits(45, 45));
    }
}

TEST_F(SourceGeometryTest, NamesAreWindowsStyleAndRelativeToTheWorkingDirectory)
{
    dir.Write("Shapes/Box.TVS", Square);
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
