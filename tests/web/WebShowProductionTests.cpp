// The page's frame at a tick (index.html?at=MS) is the frame tvs-render draws at that tick: drawn
// after updates every 16 ms from 0 and no frame drawn before it (a drawn frame changes later ones).
#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "Web/WebShow.h"
#include "support/Pixels.h"
#include "support/Scenes.h"

namespace {

class WebShowProduction : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_Previous = std::filesystem::current_path();
        std::filesystem::current_path(std::filesystem::path(KUV_TEST_SOURCE_DIR).parent_path());
    }
    void TearDown() override { std::filesystem::current_path(m_Previous); }

    static kuvtest::Image Frame(const KUV::Web::WebShow& show)
    {
        kuvtest::Image image(800, 600, kuvtest::White);
        const std::uint8_t* p = show.Rgba();
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < 800; ++x, p += 4)
                image.Set(x, y, { p[0], p[1], p[2], p[3] });
        return image;
    }

private:
    std::filesystem::path m_Previous;
};

} // namespace

TEST_F(WebShowProduction, SeekingForwardAndBackGivesTvsRendersFrames)
{
    const kuvtest::TempDir out;
    const std::string command = std::string(KUV_TVS_RENDER) + " 'data\\tessik\\postprocess.tvs' --at 8000,92000 --out "
        + out.Path() + " >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);

    KUV::Web::WebShow show(800, 600);
    ASSERT_TRUE(show.Load("data\\tessik\\postprocess.tvs")) << show.ErrorText();
    ASSERT_TRUE(show.Seek(92000)) << show.ErrorText();
    EXPECT_TRUE(kuvtest::ImagesNear(kuvtest::Image::FromPng(out.Path() + "/92000.png"), Frame(show), 0));
    ASSERT_TRUE(show.Seek(8000)) << show.ErrorText();
    EXPECT_TRUE(kuvtest::ImagesNear(kuvtest::Image::FromPng(out.Path() + "/8000.png"), Frame(show), 0));
}
