// The bundled show played offscreen from start to end, with probes chosen from each
// section's design, and its timing checked against the score.
#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>

#include <gtest/gtest.h>

#include "Core/Controllers.h"
#include "Core/Tavisk.h"
#include "Synth/Score.h"
#include "support/FailureFiles.h"
#include "support/Pixels.h"
#include "support/Scenes.h"

namespace {

using kuvtest::Image;
using kuvtest::Rgba;

constexpr const char* RootScene = "data\\tessik\\postprocess.tvs";
constexpr const char* ScoreFile = "data/music/vantrel.score";
constexpr int Step = 16;
constexpr int LastTick = 160000;
constexpr int RenderEvery = 2000;

struct Box {
    int left, top, right, bottom;
};

double Luminance(Rgba p)
{
    return (0.2126 * p.r + 0.7152 * p.g + 0.0722 * p.b) / 255.0;
}

double MeanLuminance(const Image& image, Box box)
{
    double sum = 0;
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x)
            sum += Luminance(image.At(x, y));
    return sum / ((box.right - box.left) * (box.bottom - box.top));
}

// The share of pixels in box for which ink holds.
double InkShare(const Image& image, Box box, const std::function<bool(Rgba)>& ink)
{
    int count = 0;
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x)
            count += ink(image.At(x, y)) ? 1 : 0;
    return double(count) / ((box.right - box.left) * (box.bottom - box.top));
}

bool Warm(Rgba p)
{
    return p.r > 150 && p.r > p.b + 40;
}

constexpr Box Whole { 0, 0, 800, 600 };

// Runs the show from its own folder, as the player does.
class ProductionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_Previous = std::filesystem::current_path();
        std::filesystem::current_path(std::filesystem::path(KUV_TEST_SOURCE_DIR).parent_path());
        m_Loaded = kuvtest::LoadScene(m_Canvas, RootScene);
        ASSERT_EQ(m_Loaded.status, 0) << m_Loaded.errorText;
    }
    void TearDown() override { std::filesystem::current_path(m_Previous); }

    KUV::Tavisk& Root() { return dynamic_cast<KUV::Tavisk&>(*m_Loaded.scene); }

    // Plays every 16 ms up to LastTick, rendering every 2 s and at each probe tick; returns the probed frames.
    std::map<int, Image> Play(const std::vector<int>& probes)
    {
        std::map<int, Image> frames;
        for (int tick = 0; tick <= LastTick; tick += Step) {
            const int result = m_Loaded.scene->Update(tick);
            EXPECT_EQ(result, KUV::ResultOk) << "update at " << tick << ": " << m_Loaded.scene->GetErrorText();
            if (result != KUV::ResultOk) return frames;
            const bool probed = std::find(probes.begin(), probes.end(), tick) != probes.end();
            if (tick % RenderEvery != 0 && !probed) continue;
            EXPECT_EQ(m_Loaded.RenderFrame(m_Canvas), KUV::ResultOk)
                << "render at " << tick << ": " << m_Loaded.scene->GetErrorText();
            if (probed) frames.emplace(tick, Image::FromTarget(m_Canvas.target.Get()));
        }
        return frames;
    }

    std::filesystem::path m_Previous;
    kuvtest::Canvas m_Canvas { 800, 600 };
    kuvtest::LoadedScene m_Loaded;
};

std::string SaveOnFailure(const Image& image, int tick, bool ok)
{
    return ok ? std::string() : " (frame at " + std::to_string(tick) + " saved as " + SaveFailedFrame(image) + ")";
}

TEST_F(ProductionTest, PlaysToTheEndAndEverySectionShowsAtItsTime)
{
    // Ticks inside each section, chosen from what that section draws then.
    const int title = 10000, dusk = 15360 + 6000, rings = 30720 + 20000, gallery = 61440 + 8000, swarm = 76800 + 16000,
              reprise = 107520 + 8000, credits = 122880 + 10000;
    const std::vector<int> probes { 0, title, dusk, rings, gallery, swarm, reprise, credits, 154000, LastTick };
    auto frames = Play(probes);
    ASSERT_EQ(frames.size(), probes.size());

    for (int tick : { 0, 154000, LastTick }) {
        const double mean = MeanLuminance(frames[tick], Whole);
        EXPECT_LT(mean, 0.01) << "black at " << tick << SaveOnFailure(frames[tick], tick, mean < 0.01);
    }
    for (int tick : { title, dusk, rings, gallery, swarm, reprise, credits }) {
        const double mean = MeanLuminance(frames[tick], Whole);
        EXPECT_GT(mean, 0.03) << "something shows at " << tick << SaveOnFailure(frames[tick], tick, mean > 0.03);
    }

    // The title's letters: warm gilt ink across the word's box.
    const double letters = InkShare(frames[title], { 150, 190, 650, 330 }, Warm);
    EXPECT_GT(letters, 0.12) << SaveOnFailure(frames[title], title, letters > 0.12);
    // The dusk: the setting sun, dimmed a little by the falling night, at its place on its path.
    const Rgba sun = frames[dusk].At(520, 324);
    EXPECT_TRUE(Warm(sun) && Luminance(sun) > 0.6) << SaveOnFailure(frames[dusk], dusk, false);
    // The rings: the gilt ring crosses the right of the centre, between two petals.
    EXPECT_TRUE(Warm(frames[rings].At(528, 300))) << SaveOnFailure(frames[rings], rings, false);
    // The gallery: the ringed planet, lit orange, drifting through the nebula.
    EXPECT_TRUE(Warm(frames[gallery].At(530, 330))) << SaveOnFailure(frames[gallery], gallery, false);
    // The swarm: its glowing core at the centre of the orbits.
    const Rgba core = frames[swarm].At(400, 300);
    EXPECT_TRUE(core.r > 230 && core.g > 150) << SaveOnFailure(frames[swarm], swarm, false);
    // The credits: a name card in chalk white across the middle.
    const double card = InkShare(frames[credits], { 250, 280, 550, 330 }, [](Rgba p) { return Luminance(p) > 0.7; });
    EXPECT_GT(card, 0.05) << SaveOnFailure(frames[credits], credits, card > 0.05);
    // The reprise: the word at the heart of the tunnel, on its dark plate.
    const double word = InkShare(frames[reprise], { 220, 250, 580, 350 }, Warm);
    EXPECT_GT(word, 0.1) << SaveOnFailure(frames[reprise], reprise, word > 0.1);
}

// The triggers that start the sections, as (tick, child scene name) in tick order.
std::vector<std::pair<int, std::string>> Triggers(KUV::Tavisk& root)
{
    std::vector<std::pair<int, std::string>> triggers;
    for (const auto& child : root.Find<KUV::ControllerBase>("Director")->m_Children) {
        const auto* trigger = dynamic_cast<const KUV::Trigger*>(child.get());
        if (trigger == nullptr || trigger->m_TargetAnimation != "Play") continue;
        for (const auto& [name, scene] : root.Table<KUV::ITavisk>())
            if (scene == trigger->m_TargetKuv) triggers.emplace_back(trigger->m_Begin, name);
    }
    std::sort(triggers.begin(), triggers.end());
    return triggers;
}

TEST_F(ProductionTest, EverySectionStartsOnItsBarLineFromTheScore)
{
    std::string error;
    const auto score = KUV::Synth::ReadScoreFile(ScoreFile, error);
    ASSERT_TRUE(score) << error;
    const auto triggers = Triggers(Root());
    ASSERT_EQ(triggers.size(), score->sections.size());
    for (size_t i = 0; i < triggers.size(); ++i) {
        EXPECT_EQ(triggers[i].first, score->SectionStartMs(i)) << "section " << score->sections[i].name;
        EXPECT_EQ(score->sections[i].startBar * score->MsPerBar(), score->SectionStartMs(i));
    }
    // Each section starts "Play" in its own scene, and each scene once.
    for (size_t i = 1; i < triggers.size(); ++i)
        EXPECT_NE(triggers[i].second, triggers[i - 1].second);
}

} // namespace
