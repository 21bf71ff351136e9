// Frames drawn offscreen reach the window with their colours and follow size changes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include <SDL.h>

#include "Host/FramePresenter.h"

namespace {

// Presents a frame of one colour, 0xAARRGGBB as B8G8R8A8 bytes, with rows padded by four empty pixels.
bool Show(KUV::Host::FramePresenter& presenter, int width, int height, std::uint32_t colour)
{
    std::vector<std::uint32_t> pixels(static_cast<size_t>(width + 4) * std::max(height, 1), 0);
    for (int y = 0; y < height; ++y)
        std::fill_n(pixels.begin() + y * (width + 4), width, colour);
    return presenter.Present(reinterpret_cast<const std::uint8_t*>(pixels.data()), (width + 4) * 4, width, height);
}

class FramePresenterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SDL_setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        m_Window = SDL_CreateWindow("Kuv", 0, 0, 64, 48, SDL_WINDOW_HIDDEN);
        ASSERT_NE(m_Window, nullptr) << SDL_GetError();
    }
    void TearDown() override
    {
        m_Presenter.reset();
        if (m_Window) SDL_DestroyWindow(m_Window);
        SDL_Quit();
    }

    // The colour the window shows at (x, y), as 0xRRGGBB.
    std::uint32_t ShownAt(int x, int y)
    {
        SDL_Surface* surface = SDL_GetWindowSurface(m_Window);
        if (!surface) return 0xDEADBEEF;
        std::uint32_t pixel = 0;
        SDL_LockSurface(surface);
        const auto* row = static_cast<const std::uint8_t*>(surface->pixels) + y * surface->pitch;
        SDL_memcpy(&pixel, row + x * surface->format->BytesPerPixel, surface->format->BytesPerPixel);
        SDL_UnlockSurface(surface);
        Uint8 r = 0, g = 0, b = 0;
        SDL_GetRGB(pixel, surface->format, &r, &g, &b);
        return (std::uint32_t(r) << 16) | (std::uint32_t(g) << 8) | b;
    }

    SDL_Window* m_Window = nullptr;
    std::unique_ptr<KUV::Host::FramePresenter> m_Presenter = std::make_unique<KUV::Host::FramePresenter>();
};

TEST_F(FramePresenterTest, ShowsEachFrameWithItsChannelsInOrderWhateverItsSize)
{
    ASSERT_TRUE(m_Presenter->Create(m_Window)) << m_Presenter->Error();
    ASSERT_TRUE(Show(*m_Presenter, 64, 48, 0xFFE08030u)) << m_Presenter->Error();
    EXPECT_EQ(ShownAt(0, 0), 0xE08030u);
    EXPECT_EQ(ShownAt(63, 47), 0xE08030u);
    ASSERT_TRUE(Show(*m_Presenter, 100, 70, 0xFF00FF00u)) << m_Presenter->Error();
    EXPECT_EQ(ShownAt(32, 24), 0x00FF00u);
    ASSERT_TRUE(Show(*m_Presenter, 1, 1, 0xFFFF0000u)) << m_Presenter->Error();
    EXPECT_EQ(ShownAt(10, 10), 0xFF0000u) << "a one-pixel frame covers the window";
}

TEST_F(FramePresenterTest, RefusesToPresentWithoutARendererOrAFrame)
{
    EXPECT_FALSE(Show(*m_Presenter, 64, 48, 0xFF030201u));
    EXPECT_NE(m_Presenter->Error().find("no renderer"), std::string::npos) << m_Presenter->Error();
    ASSERT_TRUE(m_Presenter->Create(m_Window)) << m_Presenter->Error();
    EXPECT_FALSE(m_Presenter->Present(nullptr, 256, 64, 48));
    EXPECT_FALSE(m_Presenter->Error().empty());
    EXPECT_FALSE(Show(*m_Presenter, 0, 0, 0xFF030201u));
}

} // namespace
