// The preview's scene session: exact seeking, reloading at the same tick, failures that
// keep the last good scene, and the files it watches.
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Core/Factory.h"
#include "Core/FilePath.h"
#include "Core/Tavisk.h"
#include "Preview/PreviewSession.h"
#include "support/ProgramFixtures.h"

using namespace kuvtest;

namespace {

std::string Ramp(
    const std::string& variable, int end, int endValue, const std::string& children = "", int childCount = 0)
{
    return "Linear{ target " + variable + " begin 0 end " + std::to_string(end) + " loops 0 beginValue 0 endValue "
        + std::to_string(endValue) + " noOfChildren " + std::to_string(childCount) + " " + children + "}";
}

// The root ramps $a for 1000 ms, hands over to B, which ramps $b for 500 ms and triggers the
// child's "Go" 200 ms into it, then back to MainAnim. The child counts its own time into $t.
std::string ChildText()
{
    SceneText child;
    Declare(child, { "$t" })
        .Controller("count", Ramp("$t", 100000, 100000))
        .MainAnim("null")
        .Animation("Go", "Animation{ renderFunction null controller count transitionTarget null }");
    return child.Str();
}

std::string RootText(const std::string& childPath, int rampValue = 100)
{
    SceneText root;
    Declare(root, { "$a", "$b" })
        .ChildKuv("kid", "Tavisk{ " + childPath + " noOfArgs 0 }")
        .Controller("a", Ramp("$a", 1000, rampValue))
        .Controller(
            "b", Ramp("$b", 500, 50, "Trigger{ begin 200 targetKuv kid targetAnimation Go noOfChildren 0 } ", 1))
        .MainAnim("null", "a", "B")
        .Animation("B", "Animation{ renderFunction null controller b transitionTarget MainAnim }");
    return root.Str();
}

// Everything a tick leaves behind: each scene's current animation and its variables.
std::string Dump(KUV::ITavisk& scene)
{
    const auto& tavisk = dynamic_cast<const KUV::Tavisk&>(scene);
    std::ostringstream out;
    out << "[" << tavisk.CurrentAnimation() << "]";
    for (const auto& [name, value] : tavisk.Variables())
        out << " " << name << "=" << value;
    for (const auto& [name, child] : tavisk.Table<KUV::ITavisk>())
        out << " " << name << ":{" << Dump(*child) << "}";
    return out.str();
}

// What the player would hold at tick after updates every 16 ms from 0, then at tick.
std::string StraightRun(Canvas& canvas, const std::string& path, std::int64_t tick)
{
    LoadedScene loaded = LoadScene(canvas, path);
    EXPECT_EQ(loaded.status, 0) << loaded.errorText;
    std::int64_t t = 0;
    for (; t <= tick; t += 16)
        loaded.scene->Update(static_cast<int>(t));
    if (t - 16 != tick) loaded.scene->Update(static_cast<int>(tick));
    return Dump(*loaded.scene);
}

class PreviewSessionTest : public ::testing::Test {
protected:
    PreviewSessionTest()
        : session(*KUV::GetSceneFactory(), canvas.target.Get(), dir.Path() + "/scene.tvs")
    {
    }

    std::string WriteScene(const std::string& text) { return dir.Write("scene.tvs", text); }
    std::string WriteStandardScene(int rampValue = 100)
    {
        return WriteScene(RootText(dir.Write("child.tvs", ChildText()), rampValue));
    }
    float Var(const std::string& name)
    {
        float value = -1.f;
        EXPECT_EQ(session.Scene()->ReadVariable(name, &value), KUV::ResultOk) << name;
        return value;
    }

    Canvas canvas;
    TempDir dir;
    KUV::Preview::PreviewSession session;
};

TEST_F(PreviewSessionTest, SeekingInAnyOrderReachesWhatAStraightRunHoldsAcrossTransitionsAndTriggers)
{
    const std::string path = WriteStandardScene();
    ASSERT_TRUE(session.LoadAt(0));
    // On-grid ticks followed by later ones go on updating; the rest load anew.
    for (std::int64_t tick : { 496, 1008, 1003, 1200, 1216, 1500, 1777, 2600, 2600, 400, 4013, 0, 150000 }) {
        SCOPED_TRACE(tick);
        session.SeekTo(tick);
        EXPECT_EQ(session.Tick(), tick);
        EXPECT_EQ(Dump(*session.Scene()), StraightRun(canvas, path, tick));
        EXPECT_EQ(session.ErrorText(), "");
    }
}

TEST_F(PreviewSessionTest, PlayingUpdatesAtTheGridTicksItPasses)
{
    const std::string path = WriteStandardScene();
    ASSERT_TRUE(session.LoadAt(0));
    for (std::int64_t tick = 7; tick <= 2500; tick += 17)
        session.PlayTo(tick);
    EXPECT_EQ(session.Tick(), 2489);
    EXPECT_EQ(Dump(*session.Scene()), StraightRun(canvas, path, 2480));
}

TEST_F(PreviewSessionTest, AReloadKeepsTheTickAndShowsTheSavedChange)
{
    WriteStandardScene();
    ASSERT_TRUE(session.LoadAt(0));
    session.PlayTo(509);
    const std::string before = Dump(*session.Scene());
    ASSERT_TRUE(session.Reload());
    EXPECT_EQ(session.Tick(), 509);
    EXPECT_EQ(Dump(*session.Scene()), before) << "unchanged files give the same state";

    WriteStandardScene(200);
    ASSERT_TRUE(session.Reload());
    EXPECT_EQ(session.Tick(), 509);
    EXPECT_FLOAT_EQ(Var("$a"), 200.f * 496 / 1000) << "the new ramp at the last grid tick played";
}

TEST_F(PreviewSessionTest, AFailedReloadKeepsTheLastGoodSceneAndItsTickAndShowsTheErrorUntilAGoodSave)
{
    const std::string path = WriteStandardScene();
    ASSERT_TRUE(session.LoadAt(320));
    const KUV::ITavisk* good = session.Scene();
    const std::string state = Dump(*session.Scene());

    WriteScene("Tavisk{\nnoOfGeometries 1\n  g Triangle{ }\n");
    EXPECT_FALSE(session.Reload());
    EXPECT_EQ(session.Scene(), good);
    EXPECT_EQ(Dump(*session.Scene()), state);
    EXPECT_EQ(session.Tick(), 320);
    EXPECT_EQ(session.ErrorText(), "Parse Error:::" + path + " : 3 : Unknown geometry type \"Triangle{\"");
    session.PlayTo(352);
    EXPECT_NE(session.ErrorText(), "") << "playing on does not hide the error";

    WriteStandardScene();
    EXPECT_TRUE(session.Reload());
    EXPECT_EQ(session.ErrorText(), "");
    EXPECT_EQ(session.Tick(), 352);
}

TEST_F(PreviewSessionTest, UpdateAndRenderFailuresAreKeptWithTheirTickAndTheSceneStays)
{
    SceneText text;
    Declare(text, { "$a" }).Controller("a", Ramp("$a", 100, 1)).MainAnim("null", "a");
    WriteScene(text.Str());
    ASSERT_TRUE(session.LoadAt(0));
    session.SeekTo(300);
    EXPECT_EQ(session.ErrorText(),
        "Update at 0.112 s: Tavisk Runtime Blocking Error:::MainAnim is not a looping animation but it has a null "
        "transition target");
    EXPECT_TRUE(session.HasScene());
    EXPECT_EQ(session.Tick(), 300);

    WriteScene(SceneText().Executable("pop", Commands("PopTransform{ }", 1)).MainAnim("pop").Str());
    ASSERT_TRUE(session.Reload());
    EXPECT_EQ(session.ErrorText(), "") << "a good save clears the old failure";
    canvas.target->BeginDraw();
    session.Render();
    canvas.target->EndDraw();
    EXPECT_EQ(session.ErrorText(),
        "Render at 0.300 s: Tavisk Runtime Blocking Error:::trying to run PopTransform while transform stack is "
        "empty");
}

TEST_F(PreviewSessionTest, AStartWithoutAGoodSceneWaitsForOne)
{
    const std::string path = WriteScene("Tavisk{ noOfGeometries");
    EXPECT_FALSE(session.LoadAt(1000));
    EXPECT_FALSE(session.HasScene());
    EXPECT_NE(session.ErrorText().find("Parse Error:::" + path), std::string::npos);
    session.SeekTo(2000);
    session.PlayTo(2100);
    canvas.target->BeginDraw();
    session.Render();
    canvas.target->EndDraw();
    EXPECT_EQ(session.Tick(), 2100);
    EXPECT_EQ(session.WatchedFiles(), std::vector<std::string> { path });

    WriteStandardScene();
    EXPECT_TRUE(session.Reload());
    EXPECT_EQ(session.Tick(), 2100);
    EXPECT_EQ(session.ErrorText(), "");
}

TEST_F(PreviewSessionTest, TheWatchedFilesAreEveryFileTheSceneReadOrNamed)
{
    const std::string square = dir.Write("shapes/square.tvs", "Rectangle{ x 0 y 0 w 10 h 10 hitTest 0 }");
    const std::string nested = dir.Write("shapes/nested.tvs", "Source{ " + square + " hitTest 0 }");
    SceneText child;
    child.Geometry("s", "Source{ " + nested + " hitTest 0 }").MainAnim("null");
    const std::string childPath = dir.Write("kids/child.tvs", child.Str());
    const std::string picture = dir.Path() + "/pictures/sun.png"; // decoded when drawn, so it need not exist yet
    const std::string path = WriteScene(SceneText()
                                            .Geometry("a", "Source{ " + square + " hitTest 0 }")
                                            .Image("sun", "BitmapFromFile{ " + picture + " }")
                                            .ChildKuv("one", "Tavisk{ " + childPath + " noOfArgs 0 }")
                                            .ChildKuv("two", "Tavisk{ " + childPath + " noOfArgs 0 }")
                                            .MainAnim("null")
                                            .Str());
    ASSERT_TRUE(session.LoadAt(0)) << session.ErrorText();
    EXPECT_EQ(session.WatchedFiles(), (std::vector<std::string> { path, square, picture, childPath, nested }));

    // A child that breaks is still watched beside everything the good scene read.
    const std::string missing = dir.Path() + "/kids/new.tvs";
    WriteScene(SceneText().ChildKuv("new", "Tavisk{ " + missing + " noOfArgs 0 }").MainAnim("null").Str());
    EXPECT_FALSE(session.Reload());
    EXPECT_EQ(session.WatchedFiles(), (std::vector<std::string> { path, square, picture, childPath, nested, missing }));
    dir.Write("kids/new.tvs", SceneText().MainAnim("null").Str());
    EXPECT_TRUE(session.Reload());
    EXPECT_EQ(session.WatchedFiles(), (std::vector<std::string> { path, missing }));
}

// The bundled show names its files relative to the repository's root.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::filesystem::path& path)
        : m_Saved(std::filesystem::current_path())
    {
        std::filesystem::current_path(path);
    }
    ~WorkingDirectory() { std::filesystem::current_path(m_Saved); }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

private:
    std::filesystem::path m_Saved;
};

TEST(PreviewProductionTest, SeekingTheBundledShowReachesWhatAStraightRunHolds)
{
    const std::filesystem::path root = std::filesystem::path(KUV_TEST_SOURCE_DIR).parent_path();
    if (!std::filesystem::exists(root / "data/tessik/postprocess.tvs")) GTEST_SKIP() << "no bundled show";
    WorkingDirectory inRoot(root);
    const std::string path = "data\\tessik\\postprocess.tvs";
    Canvas canvas(800, 600);
    KUV::Preview::PreviewSession session(*KUV::GetSceneFactory(), canvas.target.Get(), path);
    ASSERT_TRUE(session.LoadAt(150000)) << session.ErrorText();
    EXPECT_GT(session.WatchedFiles().size(), 1u);
    for (std::int64_t tick : { 150000, 12345, 30000, 75000, 120016 }) {
        SCOPED_TRACE(tick);
        session.SeekTo(tick);
        EXPECT_EQ(Dump(*session.Scene()), StraightRun(canvas, path, tick));
        EXPECT_EQ(session.ErrorText(), "");
    }
}

TEST_F(PreviewSessionTest, TheOverlayNamesTheCurrentAnimationOfEveryScene)
{
    WriteStandardScene();
    ASSERT_TRUE(session.LoadAt(1300));
    const std::vector<KUV::Preview::SceneAnimation> animations = session.Animations();
    ASSERT_EQ(animations.size(), 2u);
    EXPECT_EQ(animations[0].scene, "");
    EXPECT_EQ(animations[0].animation, "B");
    EXPECT_EQ(animations[1].scene, "kid");
    EXPECT_EQ(animations[1].animation, "Go");
}

} // namespace
