// Loading documents: sections, registries, child scenes, paths, and the texts
// and statuses of every loading failure.
#include <gtest/gtest.h>

#include "Core/Factory.h"
#include "Core/Tavisk.h"
#include "support/Scenes.h"

using namespace KUV;
using kuvtest::Canvas;
using kuvtest::LoadedScene;
using kuvtest::SceneText;
using kuvtest::TempDir;

namespace {

const std::string Rect = "Rectangle{ x 0 y 0 w 1 h 1 hitTest 0 }";
const std::string Red = "SolidColorBrush{ Color{ 1 0 0 1 } opacity 1 }";

class LoadingTest : public ::testing::Test {
protected:
    LoadedScene Load(const std::string& text) { return kuvtest::LoadSceneText(canvas, dir, text); }
    LoadedScene LoadFile(const std::string& path) { return kuvtest::LoadScene(canvas, path); }
    std::string Scene() const { return dir.Path() + "/scene.tvs"; }

    TempDir dir;
    Canvas canvas;
};

TEST_F(LoadingTest, AnEmptyDocumentLoadsButHasNoMainAnimation)
{
    LoadedScene loaded = Load(SceneText().Str());
    ASSERT_EQ(loaded.status, LoadOk) << loaded.errorText;
    EXPECT_EQ(loaded.scene->Update(0), ResultNotFound);
    EXPECT_EQ(loaded.scene->GetErrorText(), "MainAnim animation does not exist");
    EXPECT_EQ(loaded.RenderFrame(canvas), ResultOk) << "a scene with no active animation still renders";
}

TEST_F(LoadingTest, AMissingFileIsFramedWithItsOwnPathAtLineZero)
{
    LoadedScene loaded = LoadFile("data\\nowhere\\scene.tvs");
    EXPECT_EQ(loaded.status, LoadLogicError);
    EXPECT_EQ(loaded.errorText,
        "Parse Error:::data\\nowhere\\scene.tvs : 0 : could not open the file \"data\\nowhere\\scene.tvs\"");
    EXPECT_EQ(loaded.scene, nullptr);
}

TEST_F(LoadingTest, AFolderIsNoSceneFile)
{
    dir.Write("folder.tvs/inside", "");
    LoadedScene loaded = LoadFile(dir.Path() + "/folder.tvs");
    EXPECT_EQ(loaded.status, LoadLogicError);
    EXPECT_EQ(loaded.errorText,
        "Parse Error:::" + dir.Path() + "/folder.tvs : 0 : could not open the file \"" + dir.Path() + "/folder.tvs\"");
}

TEST_F(LoadingTest, SectionsMustComeInOrder)
{
    LoadedScene loaded = Load("Tavisk{\nnoOfGeometries 0\nnoOfImages 0\n");
    EXPECT_EQ(loaded.status, LoadLogicError);
    EXPECT_EQ(loaded.errorText, "Parse Error:::" + Scene() + " : 3 : expecting \"noOfBrushes\" got \"noOfImages\"");
}

TEST_F(LoadingTest, TheEndOfTheFileBeforeTheClosingBrace)
{
    std::string text = SceneText().Str();
    text.erase(text.rfind('}'));
    LoadedScene loaded = Load(text);
    EXPECT_EQ(loaded.errorText, "Parse Error:::" + Scene() + " : 10 : expecting \"}\" got \"\"");
}

TEST_F(LoadingTest, NothingAfterTheClosingBraceIsRead)
{
    EXPECT_EQ(Load(SceneText().Str() + "garbage Ellipse{\n").status, LoadOk);
}

// The smallest record of each section, in section order.
std::vector<std::pair<Section, std::string>> OneOfEachKind(const std::string& childScene)
{
    return {
        { Section::Geometries, Rect },
        { Section::Brushes, Red },
        { Section::Images, "BitmapFromFile{ missing.png }" },
        { Section::Transforms, "Translation{ x 0 y 0 }" },
        { Section::ChildKuvs, "Tavisk{ " + childScene + " noOfArgs 0 }" },
        { Section::Executables, "Procedure{ noOfCommands 0 }" },
        { Section::Controllers, "Const{ target null begin 0 end 1 loops 0 value 0 noOfChildren 0 }" },
        { Section::Animations, "Animation{ renderFunction null controller null transitionTarget null }" },
    };
}

TEST_F(LoadingTest, DuplicateNamesAreRefusedPerKindOnly)
{
    SceneText everyKind;
    for (const auto& [section, record] : OneOfEachKind(dir.Write("child.tvs", SceneText().Str()))) {
        const std::size_t index = std::size_t(section);
        LoadedScene loaded = Load(SceneText().Add(section, "a", record).Add(section, "a", record).Str());
        EXPECT_EQ(loaded.status, LoadLogicError) << index;
        // The document's first line, the headers of the sections before, its own header, two records.
        EXPECT_EQ(loaded.errorText,
            "Parse Error:::" + Scene() + " : " + std::to_string(index + 4) + " : a was defined as "
                + ComponentKinds[index].name + " before");
        everyKind.Add(section, "a", record);
    }
    LoadedScene shared = Load(everyKind.Str());
    EXPECT_EQ(shared.status, LoadOk) << "components of different kinds may share a name: " << shared.errorText;
}

TEST_F(LoadingTest, UnknownRecordTypesOfEachFamily)
{
    const auto frame = [&](int line) { return "Parse Error:::" + Scene() + " : " + std::to_string(line) + " : "; };
    EXPECT_EQ(Load(SceneText().Geometry("g", "Triangle{ }").Str()).errorText,
        frame(3) + "Unknown geometry type \"Triangle{\"");
    EXPECT_EQ(Load(SceneText().Brush("b", "Pattern{ }").Str()).errorText, frame(4) + "Unknown brush type \"Pattern{\"");
    EXPECT_EQ(Load(SceneText().Image("i", "Png{ a.png }").Str()).errorText, frame(5) + "Unknown bitmap type \"Png{\"");
}

TEST_F(LoadingTest, ChildScenesLoadWithTheirArguments)
{
    dir.Write("child.tvs",
        SceneText()
            .Geometry("g", "Rectangle{ x $x y $y w 1 h 1 hitTest 0 }")
            .Executable("draw", "Procedure{ noOfCommands 0 }")
            .MainAnim("draw")
            .Str());
    const std::string parent
        = SceneText()
              .ChildKuv("kid", "Tavisk{ " + dir.Path() + "/child.tvs noOfArgs 2 $x 4.5 $unused 1 }")
              .Executable("draw", "Procedure{ noOfCommands 0 }")
              .MainAnim("draw")
              .Str();
    LoadedScene loaded = Load(parent);
    ASSERT_EQ(loaded.status, LoadOk) << loaded.errorText;
    auto* scene = dynamic_cast<Tavisk*>(loaded.scene.get());
    ASSERT_NE(scene, nullptr);
    float x = 0.f;
    ASSERT_EQ(scene->Find<ITavisk>("kid")->ReadVariable("$x", &x), ResultOk);
    EXPECT_EQ(x, 4.5f);
    EXPECT_EQ(scene->ReadVariable("$x", &x), ResultNotFound) << "a child's variables are its own";
}

TEST_F(LoadingTest, AFailingChildIsFramedByItsParentToo)
{
    dir.Write("child.tvs", "Tavisk{\nnoOfGeometries 1\ng Blob{\n");
    LoadedScene loaded = Load(SceneText().ChildKuv("kid", "Tavisk{ " + dir.Path() + "/child.tvs noOfArgs 0 }").Str());
    EXPECT_EQ(loaded.status, LoadLogicError);
    EXPECT_EQ(loaded.errorText,
        "Parse Error:::" + Scene() + " : 7 : Parse Error:::" + dir.Path()
            + "/child.tvs : 3 : Unknown geometry type \"Blob{\"");
}

TEST_F(LoadingTest, AChildChainBackToALoadingFileIsRefused)
{
    dir.Write("a.tvs", SceneText().ChildKuv("b", "Tavisk{ " + dir.Path() + "/b.tvs noOfArgs 0 }").Str());
    dir.Write("b.tvs", SceneText().ChildKuv("a", "Tavisk{ " + dir.Path() + "/a.tvs noOfArgs 0 }").Str());
    LoadedScene loaded = LoadFile(dir.Path() + "/a.tvs");
    EXPECT_EQ(loaded.status, LoadLogicError);
    EXPECT_EQ(loaded.errorText,
        "Parse Error:::" + dir.Path() + "/a.tvs : 7 : Parse Error:::" + dir.Path()
            + "/b.tvs : 7 : could not load the file \"" + dir.Path() + "/a.tvs\": it is already being loaded");
}

TEST_F(LoadingTest, AnArgumentCountRunningPastTheEndOfTheFileFailsAtTheEnd)
{
    dir.Write("child.tvs", SceneText().Str());
    std::string text = SceneText().ChildKuv("kid", "Tavisk{ " + dir.Path() + "/child.tvs noOfArgs 2000000000 }").Str();
    text.erase(text.find("2000000000") + 10);
    LoadedScene loaded = Load(text + "\n");
    EXPECT_EQ(loaded.status, LoadLogicError);
    EXPECT_EQ(loaded.errorText, "Parse Error:::" + Scene() + " : 8 : expecting \"}\" got \"\"");
}

// Writes a chain of length scene files, each one's child the next; returns the first one's path.
std::string WriteChildChain(const TempDir& dir, int length)
{
    auto path = [&](int i) { return dir.Path() + "/chain" + std::to_string(i) + ".tvs"; };
    dir.Write("chain" + std::to_string(length - 1) + ".tvs", SceneText().Str());
    for (int i = length - 2; i >= 0; --i)
        dir.Write("chain" + std::to_string(i) + ".tvs",
            SceneText().ChildKuv("next", "Tavisk{ " + path(i + 1) + " noOfArgs 0 }").Str());
    return path(0);
}

TEST_F(LoadingTest, ChildSceneNestingIsLimited)
{
    EXPECT_EQ(LoadFile(WriteChildChain(dir, 50)).status, LoadOk);
    EXPECT_EQ(LoadFile(WriteChildChain(dir, 64)).status, LoadOk);
    LoadedScene deep = LoadFile(WriteChildChain(dir, 3000));
    EXPECT_EQ(deep.status, LoadLogicError);
    EXPECT_EQ(deep.errorText.rfind("Parse Error:::" + dir.Path() + "/chain0.tvs : 7 : Parse Error:::", 0), 0u);
    const std::string innermost = "Parse Error:::" + dir.Path() + "/chain63.tvs : 7 : could not load the file \""
        + dir.Path() + "/chain64.tvs\": child scenes nested more than 64 deep";
    EXPECT_EQ(deep.errorText.substr(deep.errorText.size() - innermost.size()), innermost);
}

TEST_F(LoadingTest, TheSameChildFileMayBeLoadedTwice)
{
    dir.Write("child.tvs", SceneText().Str());
    const std::string child = "Tavisk{ " + dir.Path() + "/child.tvs noOfArgs 0 }";
    EXPECT_EQ(Load(SceneText().ChildKuv("one", child).ChildKuv("two", child).Str()).status, LoadOk);
}

TEST_F(LoadingTest, WindowsStylePathsFindFilesWhateverTheirCase)
{
    dir.Write("Data/Tessik/Scene.TVS", SceneText().Str());
    const std::string written = dir.Path() + "\\data\\tessik\\scene.tvs";
    EXPECT_EQ(LoadFile(written).status, LoadOk);
    LoadedScene missing = LoadFile(dir.Path() + "\\data\\tessik\\other.tvs");
    EXPECT_EQ(missing.errorText,
        "Parse Error:::" + dir.Path() + "\\data\\tessik\\other.tvs : 0 : could not open the file \"" + dir.Path()
            + "\\data\\tessik\\other.tvs\"")
        << "messages keep the path as written";
}

TEST_F(LoadingTest, CrlfDocumentsLoadLikeLfDocuments)
{
    std::string text = SceneText().Geometry("g", Rect).Str();
    std::string crlf;
    for (char c : text)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    crlf += "\r\n";
    EXPECT_EQ(Load(crlf).status, LoadOk);
}

TEST_F(LoadingTest, TheFactoryKeepsTheLastFailure)
{
    Factory* factory = GetSceneFactory();
    ASSERT_EQ(factory, GetSceneFactory()) << "one factory per process";
    Load("Tavisk{ noOfGeometries");
    const std::string failure = factory->GetErrorText();
    EXPECT_EQ(Load(SceneText().Str()).status, LoadOk);
    EXPECT_EQ(factory->GetErrorText(), failure) << "a successful load does not clear the text";
}

} // namespace
