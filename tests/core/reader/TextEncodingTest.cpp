#include <gtest/gtest.h>

#include "Core/TextEncoding.h"

using KUV::WidenSceneText;

TEST(TextEncoding, AsciiAndEmptyMapToThemselves)
{
    EXPECT_EQ(WidenSceneText(""), u"");
    EXPECT_EQ(WidenSceneText("Velorine data\\tessik"), u"Velorine data\\tessik");
}

TEST(TextEncoding, ValidUtf8IsDecodedIncludingSurrogatePairs)
{
    EXPECT_EQ(WidenSceneText("K\xC3\xA4ytt\xC3\xB6"), u"K\u00E4ytt\u00F6");
    EXPECT_EQ(WidenSceneText("\xE2\x82\xAC"), u"\u20AC");
    EXPECT_EQ(WidenSceneText("a\xF0\x9F\x8E\xB5z"), u"a\U0001F3B5z");
    EXPECT_EQ(WidenSceneText("\xF4\x8F\xBF\xBF"), u"\U0010FFFF");
}

TEST(TextEncoding, InvalidUtf8FallsBackToWindows1252ForTheWholeText)
{
    // Latin-1 range bytes stand for themselves; one bad byte turns the whole text into cp1252.
    EXPECT_EQ(WidenSceneText("K\xE4ytt\xF6"), u"K\u00E4ytt\u00F6");
    EXPECT_EQ(WidenSceneText("\xC3\xA4 \xE4"), u"\u00C3\u00A4 \u00E4");
    EXPECT_EQ(WidenSceneText("\x80\x85\x8A\x99\x9F"), u"\u20AC\u2026\u0160\u2122\u0178");
}

TEST(TextEncoding, UndefinedWindows1252BytesStandForThemselves)
{
    EXPECT_EQ(WidenSceneText("\x81\x8D\x8F\x90\x9D"), u"\u0081\u008D\u008F\u0090\u009D");
}

TEST(TextEncoding, MalformedUtf8FormsAreNotAccepted)
{
    EXPECT_EQ(WidenSceneText("\xC0\xAF"), u"\u00C0\u00AF"); // overlong '/'
    EXPECT_EQ(WidenSceneText("\xED\xA0\x80"), u"\u00ED\u00A0\u20AC"); // encoded surrogate
    EXPECT_EQ(WidenSceneText("\xF4\x90\x80\x80"), u"\u00F4\u0090\u20AC\u20AC"); // beyond U+10FFFF
    EXPECT_EQ(WidenSceneText("ab\xE2\x82"), u"ab\u00E2\u201A"); // cut short at the end
    EXPECT_EQ(WidenSceneText("\xBF"), u"\u00BF"); // lone continuation byte
}

TEST(TextEncoding, EmbeddedNulIsKept)
{
    EXPECT_EQ(WidenSceneText(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
}
