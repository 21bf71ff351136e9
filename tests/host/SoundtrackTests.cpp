// The soundtrack on SDL's silent output: opening, the fallback, playing and its failures.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include <SDL.h>
#include <SDL_mixer.h>

#include "Host/Soundtrack.h"

namespace {

namespace fs = std::filesystem;

const std::string RepositorySoundtrack = std::string(KUV_TEST_SOURCE_DIR) + "/../data/music/vantrel.mp3";
const fs::path OutputFolder = fs::path(KUV_TEST_OUTPUT_DIR) / "host-soundtrack";

class SoundtrackTest : public ::testing::Test {
protected:
    void SetUp() override { SDL_setenv("SDL_AUDIODRIVER", "dummy", 1); }
    void TearDown() override
    {
        m_Soundtrack.Stop();
        SDL_ResetHint(SDL_HINT_AUDIODRIVER);
        SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
        SDL_Quit();
    }

    KUV::Host::Soundtrack m_Soundtrack;
};

TEST_F(SoundtrackTest, PlaysAWindowsStylePathWhateverTheCaseOfItsFoldersAndStopsTwiceHarmlessly)
{
    ASSERT_TRUE(fs::exists(RepositorySoundtrack)) << RepositorySoundtrack;
    const fs::path folder = OutputFolder / "Data" / "MUSIC";
    fs::create_directories(folder);
    fs::copy_file(RepositorySoundtrack, folder / "Vantrel.mp3", fs::copy_options::overwrite_existing);
    std::string written = (OutputFolder / "data" / "music" / "vantrel.mp3").string();
    std::replace(written.begin(), written.end(), '/', '\\');
    std::string warning;
    ASSERT_TRUE(m_Soundtrack.OpenOutput(44100, &warning)) << m_Soundtrack.Error();
    EXPECT_EQ(warning, "");
    ASSERT_TRUE(m_Soundtrack.Play(written)) << m_Soundtrack.Error();
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
    ASSERT_EQ(Mix_QuerySpec(&frequency, &format, &channels), 1);
    EXPECT_EQ(frequency, 44100);
    m_Soundtrack.Stop();
    EXPECT_EQ(Mix_PlayingMusic(), 0);
    m_Soundtrack.Stop();
}

TEST_F(SoundtrackTest, FailuresAreReportedOnOneLineWithThePathAsWritten)
{
    EXPECT_FALSE(m_Soundtrack.Play(RepositorySoundtrack));
    EXPECT_NE(m_Soundtrack.Error().find("audio output is not open"), std::string::npos) << m_Soundtrack.Error();
    ASSERT_TRUE(m_Soundtrack.OpenOutput(44100, nullptr)) << m_Soundtrack.Error();

    EXPECT_FALSE(m_Soundtrack.Play("data\\music\\no-such-track.mp3"));
    const std::string expected = "cannot open the soundtrack \"data\\music\\no-such-track.mp3\": ";
    EXPECT_EQ(m_Soundtrack.Error().substr(0, expected.size()), expected) << m_Soundtrack.Error();
    EXPECT_GT(m_Soundtrack.Error().size(), expected.size()) << "the reason is missing";
    EXPECT_EQ(m_Soundtrack.Error().find('\n'), std::string::npos);

    fs::create_directories(OutputFolder);
    const fs::path bogus = OutputFolder / "host-soundtrack-bogus.mp3";
    std::ofstream(bogus) << "this is not an MPEG audio stream\n";
    EXPECT_FALSE(m_Soundtrack.Play(bogus.string()));
    EXPECT_NE(m_Soundtrack.Error().find("host-soundtrack-bogus.mp3"), std::string::npos) << m_Soundtrack.Error();
}

TEST_F(SoundtrackTest, WithoutAUsableDeviceItPlaysSilentlyAndSaysSo)
{
    SDL_setenv("SDL_AUDIODRIVER", "no-such-audio-driver", 1);
    std::string warning;
    ASSERT_TRUE(m_Soundtrack.OpenOutput(44100, &warning)) << m_Soundtrack.Error();
    EXPECT_NE(warning.find("silent output"), std::string::npos) << warning;
    EXPECT_EQ(warning.find('\n'), std::string::npos);
    EXPECT_STREQ(SDL_GetCurrentAudioDriver(), "dummy");
    EXPECT_TRUE(m_Soundtrack.Play(RepositorySoundtrack)) << m_Soundtrack.Error();
}

} // namespace
