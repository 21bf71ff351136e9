// Reading rules of the scene text: tokens, line counting, numbers, values and
// the framing of errors.
#include <gtest/gtest.h>

#include "Core/SceneReader.h"
#include "Core/Tavisk.h"
#include "support/Scenes.h"

using namespace KUV;
using kuvtest::Canvas;
using kuvtest::TempDir;

namespace {

class SceneReaderTest : public ::testing::Test {
protected:
    SceneReader& Open(const std::string& text)
    {
        const std::string path = dir.Write("input.tvs", text);
        EXPECT_TRUE(reader.Open(path));
        reader.fileName = "input.tvs";
        reader.lineNumber = 0;
        reader.scene = &scene;
        return reader;
    }

    // The message of the parse error that reading raises.
    template <class Read> std::string ErrorOf(Read&& read)
    {
        try {
            read();
        } catch (const std::logic_error& e) {
            return e.what();
        }
        return "(no error)";
    }

    TempDir dir;
    Canvas canvas;
    Tavisk scene { canvas.target.Get() };
    SceneReader reader;
};

TEST_F(SceneReaderTest, TokensAreFoundAcrossBlankLinesAndCountTheLinesRead)
{
    Open("alpha\n\n   beta\tgamma  \n");
    EXPECT_EQ(reader.ReadWord(), "alpha");
    EXPECT_EQ(reader.lineNumber, 1);
    EXPECT_EQ(reader.ReadWord(), "beta");
    EXPECT_EQ(reader.ReadWord(), "gamma");
    EXPECT_EQ(reader.lineNumber, 3);
    EXPECT_EQ(reader.ReadWord(), "");
    EXPECT_EQ(reader.lineNumber, 4) << "the failed read past the end counts as a line";
    EXPECT_EQ(reader.ReadWord(), "");
    EXPECT_EQ(reader.lineNumber, 4) << "nothing more is read once the file has ended";
}

TEST_F(SceneReaderTest, CrlfLinesReadLikeLfLines)
{
    Open("Color{\r\n1 0\r\n0 1 }\r\n");
    const D2D1_COLOR_F c = reader.ReadColor().Get();
    EXPECT_EQ(c.r, 1.f);
    EXPECT_EQ(c.a, 1.f);
    EXPECT_EQ(reader.ReadWord(), "");
    EXPECT_EQ(reader.lineNumber, 4);
}

TEST_F(SceneReaderTest, IntegerReadingDropsTheRestOfALineThatHoldsNoNumber)
{
    Open("word 5\n7 12abc\n99999999999 3\n4\n");
    EXPECT_EQ(reader.ReadInt(), 7);
    EXPECT_EQ(reader.lineNumber, 2);
    EXPECT_EQ(reader.ReadInt(), 12);
    EXPECT_EQ(reader.ReadWord(), "abc") << "the characters after the digits stay in the line";
    EXPECT_EQ(reader.ReadInt(), 4) << "an integer outside 32 bits drops its line";
    EXPECT_EQ(reader.ReadInt(), 0);
}

TEST_F(SceneReaderTest, FloatsTakeSignsFractionsAndExponents)
{
    Open("-2.5e1 +.5\n");
    EXPECT_EQ(reader.ReadFloat(), -25.f);
    EXPECT_EQ(reader.ReadFloat(), 0.5f);
    EXPECT_EQ(reader.ReadFloat(), 0.f);
}

TEST_F(SceneReaderTest, ValuesAreConstantsOrVariablesOfTheScene)
{
    Open("2.5abc letters $ $speed 7\n");
    EXPECT_EQ(reader.ReadValue().Get(), 2.5f) << "only the leading number counts";
    EXPECT_FALSE(reader.usesVariables);
    EXPECT_EQ(reader.ReadValue().Get(), 0.f) << "a token without a leading number reads as 0";
    const ValueD dollar = reader.ReadValue();
    EXPECT_EQ(dollar.m_Name, "$");
    EXPECT_TRUE(reader.usesVariables);
    const ValueD speed = reader.ReadValue();
    EXPECT_EQ(speed.m_Name, "$speed");
    EXPECT_EQ(speed.m_Domain, &scene);
    scene.WriteVariable("$speed", 3.f);
    EXPECT_EQ(speed.Get(), 3.f);
    EXPECT_EQ(scene.Variables().size(), 2u);
}

TEST_F(SceneReaderTest, AVariableMentionedAgainIsResetToZero)
{
    Open("$v $v\n");
    reader.ReadValue();
    scene.WriteVariable("$v", 4.f);
    reader.ReadValue();
    float v = -1.f;
    EXPECT_EQ(scene.ReadVariable("$v", &v), ResultOk);
    EXPECT_EQ(v, 0.f);
}

TEST_F(SceneReaderTest, RecordsMayBeSpreadOverLines)
{
    Open("Point{\n3\n4 }\nRect{ 1 2 3 4 }\n");
    const D2D1_POINT_2F p = reader.ReadPoint().Get();
    EXPECT_EQ(p.x, 3.f);
    EXPECT_EQ(p.y, 4.f);
    const D2D1_RECT_F r = reader.ReadRect().Get();
    EXPECT_EQ(r.left, 1.f);
    EXPECT_EQ(r.bottom, 4.f);
}

TEST_F(SceneReaderTest, OpenersMustStandAlone)
{
    Open("Color{1 0 0 1 }\n");
    EXPECT_EQ(
        ErrorOf([&] { reader.ReadColor(); }), "Parse Error:::input.tvs : 1 : expecting \"Color{\" got \"Color{1\"");
    Open("\nColor { 1 0 0 1 }\n");
    EXPECT_EQ(ErrorOf([&] { reader.ReadColor(); }), "Parse Error:::input.tvs : 2 : expecting \"Color{\" got \"Color\"");
}

TEST_F(SceneReaderTest, AValueAgainstTheBraceLeavesTheNextTokenToCompare)
{
    Open("Point{ 4 5}\nnext\n");
    EXPECT_EQ(ErrorOf([&] { reader.ReadPoint(); }), "Parse Error:::input.tvs : 2 : expecting \"}\" got \"next\"");
}

TEST_F(SceneReaderTest, TheEndOfTheFileInsideARecordNamesTheLineAfterTheLast)
{
    Open("Point{ 1\n2\n");
    EXPECT_EQ(ErrorOf([&] { reader.ReadPoint(); }), "Parse Error:::input.tvs : 3 : expecting \"}\" got \"\"");
}

} // namespace
