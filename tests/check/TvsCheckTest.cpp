// tvs-check: each kind of warning on the smallest scene that shows it and its
// absence once the scene is mended; exit codes, the summary and the timeline.
#include <filesystem>

#include <gtest/gtest.h>

#include "Check/SceneCheck.h"
#include "Core/Tavisk.h"
#include "support/ImageFiles.h"
#include "support/Pixels.h"
#include "support/Scenes.h"

using kuvtest::SceneText;
using kuvtest::TempDir;

namespace {

// The 1-based number of the first line of text that holds marker; 0 when none does.
int LineOf(const std::string& text, const std::string& marker)
{
    const size_t at = text.find(marker);
    return at == std::string::npos ? 0 : 1 + static_cast<int>(std::count(text.begin(), text.begin() + at, '\n'));
}

// A scene that draws one red square and checks clean; the cases add to it.
SceneText Square()
{
    return SceneText()
        .Geometry("g", "Rectangle{ x 0 y 0 w 10 h 10 hitTest 0 }")
        .Brush("b", "SolidColorBrush{ Color{ 1 0 0 1 } opacity 1 }");
}

// A child scene drawing a dot of radius $r; with play, it also has a "Play" animation.
std::string Child(bool play)
{
    SceneText child;
    child.Geometry("dot", "Ellipse{ center Point{ 5 5 } radiusX $r radiusY $r hitTest 0 }")
        .Brush("ink", "SolidColorBrush{ Color{ 0 0 0 1 } opacity 1 }")
        .Executable("draw", "Procedure{ noOfCommands 1 Fill{ dot ink } }")
        .MainAnim("draw");
    if (play) child.Animation("Play", "Animation{ renderFunction draw controller null transitionTarget null }");
    return child.Str();
}

struct Case {
    const char* kind;
    std::string broken; // shows the warning
    std::string fixed; // the same scene mended: checks clean
    std::string warning; // the start of the warning's text
    std::string marker; // the warning is on the broken scene's first line holding this
    bool play = false; // the child scene has a "Play" animation
};

class TvsCheckTest : public ::testing::Test {
protected:
    // The warnings for text as scene.tvs (beside child.tvs), as "LINE: TEXT".
    std::vector<std::string> WarningsFor(const std::string& text, bool play)
    {
        dir.Write("child.tvs", Child(play));
        kuvtest::Canvas canvas;
        auto loaded = kuvtest::LoadSceneText(canvas, dir, text);
        EXPECT_EQ(loaded.status, 0) << loaded.errorText;
        std::vector<std::string> lines;
        if (auto* scene = dynamic_cast<KUV::Tavisk*>(loaded.scene.get()))
            for (const auto& w : KUV::Check::CheckSceneTree(*scene))
                lines.push_back(std::filesystem::path(w.at.file).filename().string() + ":" + std::to_string(w.at.line)
                    + ": " + w.text);
        return lines;
    }

    std::string ChildPath() const { return dir.Path() + "/child.tvs"; }
    std::string Kid(const std::string& arguments = "0") const
    {
        return "Tavisk{ " + ChildPath() + " noOfArgs " + arguments + " }";
    }

    std::vector<Case> Cases() const
    {
        const std::string draw = "Procedure{ noOfCommands 1 Fill{ g b } }";
        const auto withChild = [&](const std::string& arguments, const std::string& extra) {
            return SceneText()
                .ChildKuv("kid", Kid(arguments))
                .Executable("draw",
                    "Procedure{ noOfCommands " + std::string(extra.empty() ? "1" : "2") + " RenderKuv{ kid } " + extra
                        + " }")
                .MainAnim("draw")
                .Str();
        };
        const auto moving = [&](const std::string& controller, const std::string& transition = "null") {
            return Square()
                .Geometry("m", "Rectangle{ x $x y 0 w 1 h 1 hitTest 0 }")
                .Executable("draw", "Procedure{ noOfCommands 2 Fill{ g b } Fill{ m b } }")
                .Controller("c", controller)
                .MainAnim("draw", "c", transition)
                .Str();
        };
        const auto pushing = [&](const std::string& commands) {
            return Square()
                .Transform("t", "Translation{ x 1 y 1 }")
                .Executable("pop", "Procedure{ noOfCommands 1 PopTransform{ } }")
                .Executable("draw", "Procedure{ " + commands + " }")
                .MainAnim("draw")
                .Str();
        };
        const std::string loop = "begin 0 end 1000 loops 1";
        // Strokes geometry with the width $x; "m" follows $x itself, "g" is static.
        const auto stroking = [&](const std::string& geometry) {
            return Square()
                .Geometry("m", "Rectangle{ x $x y 0 w 1 h 1 hitTest 0 }")
                .Executable("draw", "Procedure{ noOfCommands 2 Fill{ g b } Stroke{ " + geometry + " b $x } }")
                .Controller("c", "Const{ target $x " + loop + " value 1 noOfChildren 0 }")
                .MainAnim("draw", "c")
                .Str();
        };
        return {
            { "controller target", moving("Const{ target x " + loop + " value 1 noOfChildren 0 }"),
                moving("Const{ target $x " + loop + " value 1 noOfChildren 0 }"),
                "controller target \"x\" is not a variable of \"scene.tvs\" (did you mean \"$x\"?)", "target x" },
            { "child argument", withChild("1 $radius 5", ""), withChild("1 $r 5", ""),
                "child argument \"$radius\" is not a variable of \"child.tvs\"", "$radius" },
            { "SetKuvVar name", withChild("0", "SetKuvVar{ kid $R 4 }"), withChild("0", "SetKuvVar{ kid $r 4 }"),
                "SetKuvVar{ name \"$R\" is not a variable of \"child.tvs\"", "SetKuvVar" },
            { "variable never written", moving("Const{ target null " + loop + " value 1 noOfChildren 0 }"),
                moving("Const{ target $x " + loop + " value 1 noOfChildren 0 }"),
                "variable \"$x\" is read but nothing writes it: it stays 0", "$x" },
            { "trigger animation", TriggerScene("Paly"), TriggerScene("Play"),
                "Trigger{ starts \"Paly\", which \"child.tvs\" does not have", "Trigger{", true },
            { "transition target",
                Square()
                    .Executable("draw", draw)
                    .Controller("c", "Const{ target null begin 0 end 1000 loops 0 value 0 noOfChildren 0 }")
                    .MainAnim("draw", "c", "Nxet")
                    .Animation("Next", "Animation{ renderFunction draw controller null transitionTarget null }")
                    .Str(),
                Square()
                    .Executable("draw", draw)
                    .Controller("c", "Const{ target null begin 0 end 1000 loops 0 value 0 noOfChildren 0 }")
                    .MainAnim("draw", "c", "Next")
                    .Animation("Next", "Animation{ renderFunction draw controller null transitionTarget null }")
                    .Str(),
                "transition target \"Nxet\" of \"MainAnim\" names no animation", "MainAnim" },
            { "null transition target", moving("Const{ target $x begin 0 end 1000 loops 0 value 1 noOfChildren 0 }"),
                moving("Const{ target $x begin 0 end 1000 loops 1 value 1 noOfChildren 0 }"),
                "animation \"MainAnim\" does not loop and its transition target is \"null\": started at 0 it stops "
                "the run at 1008",
                "MainAnim" },
            { "empty window", moving("Const{ target $x begin 500 end 500 loops 1 value 1 noOfChildren 0 }"),
                moving("Const{ target $x begin 0 end 500 loops 1 value 1 noOfChildren 0 }"),
                "controller \"c\" has an empty window (begin 500, end 500): it never writes and never finishes",
                "Const{" },
            { "pop without push", pushing("noOfCommands 2 Fill{ g b } Call{ pop }"),
                pushing("noOfCommands 3 PushTransform{ t } Fill{ g b } Call{ pop }"),
                "PopTransform{ pops more than procedure \"draw\" has pushed", "PopTransform" },
            { "transforms left pushed", pushing("noOfCommands 2 PushTransform{ t } Fill{ g b }"),
                pushing("noOfCommands 3 PushTransform{ t } Fill{ g b } Call{ pop }"),
                "procedure \"draw\" leaves 1 transform pushed", "draw Procedure" },
            { "variable stroke width", stroking("g"), stroking("m"),
                "static geometry \"g\" is stroked with the variable width \"$x\"", "Stroke{" },
            { "unused component",
                Square()
                    .Geometry("spare", "Ellipse{ center Point{ 0 0 } radiusX 1 radiusY 1 hitTest 0 }")
                    .Executable("draw", draw)
                    .MainAnim("draw")
                    .Str(),
                Square().Executable("draw", draw).MainAnim("draw").Str(), "geometry \"spare\" is not used", "spare" },
            { "unreachable component",
                Square()
                    .Brush("blue", "SolidColorBrush{ Color{ 0 0 1 1 } opacity 1 }")
                    .Executable("other", "Procedure{ noOfCommands 1 Fill{ g blue } }")
                    .Executable("draw", draw)
                    .MainAnim("draw")
                    .Str(),
                Square()
                    .Brush("blue", "SolidColorBrush{ Color{ 0 0 1 1 } opacity 1 }")
                    .Executable("other", "Procedure{ noOfCommands 1 Fill{ g blue } }")
                    .Executable("draw", "Procedure{ noOfCommands 2 Fill{ g b } Call{ other } }")
                    .MainAnim("draw")
                    .Str(),
                "brush \"blue\" cannot be reached from \"MainAnim\"", "blue" },
            { "fallback font", TextScene("NoSuchFamilyAtAll"), TextScene("Arial"),
                "font \"NoSuchFamilyAtAll\" of geometry \"t\" is not installed: the text is drawn in \"", "Text{" },
            { "weakly aliased font", TextScene("Times"), TextScene("LiberationSerif"),
                "font \"Times\" of geometry \"t\" is not installed: the text is drawn in \"Liberation Serif\"",
                "Text{" },
            { "missing bitmap", BitmapScene(dir.Path() + "/missing.png"), BitmapScene(dir.Path() + "/red.png"),
                "bitmap \"p\": the file \"" + dir.Path() + "/missing.png\" does not exist", "BitmapFromFile{" },
            { "undecodable bitmap", BitmapScene(dir.Path() + "/child.tvs"), BitmapScene(dir.Path() + "/red.png"),
                "bitmap \"p\": the file \"" + dir.Path() + "/child.tvs\" cannot be decoded", "BitmapFromFile{" },
        };
    }

    std::string TriggerScene(const std::string& animation) const
    {
        return SceneText()
            .ChildKuv("kid", Kid("1 $r 5"))
            .Executable("draw", "Procedure{ noOfCommands 1 RenderKuv{ kid } }")
            .Controller("c",
                "Const{ target null begin 0 end 1000 loops 1 value 0 noOfChildren 1\n"
                "    Trigger{ begin 500 targetKuv kid targetAnimation "
                    + animation + " noOfChildren 0 } }")
            .MainAnim("draw", "c")
            .Str();
    }

    static std::string TextScene(const std::string& font)
    {
        return SceneText()
            .Geometry("t", "Text{ text Hi font " + font + " size 10 x 0 y 0 w 40 h 20 hitTest 0 }")
            .Brush("b", "SolidColorBrush{ Color{ 1 0 0 1 } opacity 1 }")
            .Executable("draw", "Procedure{ noOfCommands 1 Fill{ t b } }")
            .MainAnim("draw")
            .Str();
    }

    static std::string BitmapScene(const std::string& path)
    {
        return SceneText()
            .Image("p", "BitmapFromFile{ " + path + " }")
            .Executable("draw",
                "Procedure{ noOfCommands 1 DrawImage{ source p destRect Rect{ 0 0 2 2 } opacity 1 srcRect Rect{ 0 0 2 "
                "2 "
                "} } }")
            .MainAnim("draw")
            .Str();
    }

    TempDir dir;
};

TEST_F(TvsCheckTest, EveryKindOfMistakeIsReportedAtItsLineAndGoesOnceMended)
{
    kuvtest::WritePng(dir.Path() + "/red.png", 2, 2, kuvtest::Red, kuvtest::Red);
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.kind);
        const std::vector<std::string> broken = WarningsFor(c.broken, c.play);
        const std::string expected = "scene.tvs:" + std::to_string(LineOf(c.broken, c.marker)) + ": " + c.warning;
        EXPECT_TRUE(
            std::any_of(broken.begin(), broken.end(), [&](const std::string& w) { return w.rfind(expected, 0) == 0; }))
            << "expected " << expected << "\ngot:\n"
            << ::testing::PrintToString(broken);
        EXPECT_EQ(WarningsFor(c.fixed, c.play), std::vector<std::string>()) << "the mended scene";
    }
}

} // namespace

namespace {

class TvsCheckToolTest : public ::testing::Test {
protected:
    TempDir dir;
};

TEST_F(TvsCheckToolTest, ACleanSceneExitsZeroWithItsSummary)
{
    dir.Write(
        "clean.tvs", Square().Executable("draw", "Procedure{ noOfCommands 1 Fill{ g b } }").MainAnim("draw").Str());
    const auto run = kuvtest::RunTvsCheck({ "clean.tvs" }, dir.Path());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "1 file, 0 warnings\n");
}

TEST_F(TvsCheckToolTest, WarningsExitOneUnlessNoFail)
{
    dir.Write("child.tvs", Child(false));
    dir.Write("root.tvs",
        Square()
            .ChildKuv("kid", "Tavisk{ child.tvs noOfArgs 1 $r 2 }")
            .Executable("draw", "Procedure{ noOfCommands 2 Fill{ g b } RenderKuv{ kid } }")
            .MainAnim("draw", "null", "Elsewhere")
            .Str());
    const auto run = kuvtest::RunTvsCheck({ "root.tvs" }, dir.Path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out,
        "root.tvs:14: warning: transition target \"Elsewhere\" of \"MainAnim\" names no animation: the last picture "
        "stays frozen\n"
        "2 files, 1 warning\n");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(kuvtest::RunTvsCheck({ "--no-fail", "root.tvs" }, dir.Path()).exitCode, 0);
}

TEST_F(TvsCheckToolTest, ALoadFailureExitsWithItsStatusAndText)
{
    dir.Write("bad.tvs", "Tavisk{ noOfGeometries 1 g Blob{ } }");
    const auto run = kuvtest::RunTvsCheck({ "bad.tvs" }, dir.Path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "Parse Error:::bad.tvs : 1 : Unknown geometry type \"Blob{\"\n");
    EXPECT_EQ(run.out, "");
}

TEST_F(TvsCheckToolTest, HelpGoesToStandardOutputAndBadCommandLinesExit64)
{
    const auto help = kuvtest::RunTvsCheck({ "--help" }, dir.Path());
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("usage: tvs-check", 0), 0u);
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>> {
             {}, { "--bogus", "a.tvs" }, { "--timeline", "--until", "x", "a.tvs" } }) {
        const auto run = kuvtest::RunTvsCheck(arguments, dir.Path());
        EXPECT_EQ(run.exitCode, 64) << ::testing::PrintToString(arguments);
        EXPECT_NE(run.err.find("usage: tvs-check"), std::string::npos);
    }
}

TEST_F(TvsCheckToolTest, TimelinePrintsEveryStartAtItsTick)
{
    SceneText child;
    child.Executable("draw", "Procedure{ noOfCommands 0 }")
        .MainAnim("draw")
        .Animation("Play", "Animation{ renderFunction draw controller null transitionTarget null }");
    dir.Write("child.tvs", child.Str());
    dir.Write("first.tvs", child.Str());
    dir.Write("root.tvs",
        SceneText()
            .ChildKuv("kid", "Tavisk{ child.tvs noOfArgs 0 }")
            .ChildKuv("opener", "Tavisk{ first.tvs noOfArgs 0 }")
            .Executable("draw", "Procedure{ noOfCommands 2 RenderKuv{ kid } RenderKuv{ opener } }")
            .Controller("c",
                "Const{ target null begin 0 end 1000 loops 0 value 0 noOfChildren 2"
                " Trigger{ begin 500 targetKuv kid targetAnimation Play noOfChildren 0 }"
                " Trigger{ begin 0 targetKuv opener targetAnimation Play noOfChildren 0 } }")
            .MainAnim("draw", "c", "Second")
            .Animation("Second", "Animation{ renderFunction draw controller null transitionTarget null }")
            .Str());
    const auto run = kuvtest::RunTvsCheck({ "--timeline", "--until", "2000", "root.tvs" }, dir.Path());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    // A trigger at 0 fires while the scene loads; a later one passes its scheduled tick; the
    // transition happens at the first update past the end and rewinds the children.
    EXPECT_EQ(run.out,
        "0 first.tvs: MainAnim -> Play\n"
        "500 child.tvs: MainAnim -> Play\n"
        "1008 root.tvs: MainAnim -> Second\n"
        "1008 child.tvs: Play -> MainAnim\n"
        "1008 first.tvs: Play -> MainAnim\n");
}

TEST_F(TvsCheckToolTest, TimelineStopsWhereTheRunStops)
{
    dir.Write("stop.tvs",
        SceneText()
            .Executable("draw", "Procedure{ noOfCommands 0 }")
            .Controller("c", "Const{ target null begin 0 end 100 loops 0 value 0 noOfChildren 0 }")
            .MainAnim("draw", "c")
            .Str());
    const auto run = kuvtest::RunTvsCheck({ "--timeline", "stop.tvs" }, dir.Path());
    EXPECT_EQ(run.exitCode, 14);
    EXPECT_EQ(run.err,
        "Tavisk Runtime Blocking Error:::MainAnim is not a looping animation but it has a null transition target\n");
}

} // namespace
