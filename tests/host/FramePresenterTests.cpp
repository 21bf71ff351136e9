// Frames drawn offscreen reach the window with their colours and follow size changes.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include <SDL.h>

#include "Host/FramePresenter.h"

namespace {

// A frame of one premultiplied B8G8R8A8 colour, rows padded like an image surface's.
struct Frame {
    Frame(int width, int height, std::uint8_t b, std::uint8_t g, std::uint8_t r)
        : width(width)
        , height(height)
        , stride(width * 4 + 16)
        , bytes(static_cast<size_t>(stride) * height, 0)
    {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                std::uint8_t* pixel = &bytes[static_cast<size_t>(y) * stride + x * 4];
                pixel[0] = b;
                pixel[1] = g;
                pixel[2] = r;
                pixel[3] = 255;
            }
    }
    int width;
    int height;
    int stride;
    std::vector<std::uint8_t> bytes;
};

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
    std::unique_ptr<Host::FramePresenter> m_Presenter = std::make_unique<Host::FramePresenter>();
};

TEST_F(FramePresenterTest, ShowsTheFrameWithItsChannelsInOrder)
{
    ASSERT_TRUE(m_Presenter->Create(m_Window)) << m_Presenter->Error();
    const Frame frame(64, 48, 0x30, 0x80, 0xE0);
    ASSERT_TRUE(m_Presenter->Present(frame.bytes.data(), frame.stride, frame.width, frame.height))
        << m_Presenter->Error();
    EXPECT_EQ(ShownAt(0, 0), 0xE08030u);
    EXPECT_EQ(ShownAt(63, 47), 0xE08030u);
}

TEST_F(FramePresenterTest, FollowsAChangeOfFrameSize)
{
    ASSERT_TRUE(m_Presenter->Create(m_Window)) << m_Presenter->Error();
    const Frame small(64, 48, 0xFF, 0x00, 0x00);
    ASSERT_TRUE(m_Presenter->Present(small.bytes.data(), small.stride, small.width, small.height));
    const Frame large(100, 70, 0x00, 0xFF, 0x00);
    ASSERT_TRUE(m_Presenter->Present(large.bytes.data(), large.stride, large.width, large.height))
        << m_Presenter->Error();
    EXPECT_EQ(ShownAt(32, 24), 0x00FF00u);
    const Frame tiny(1, 1, 0x00, 0x00, 0xFF);
    ASSERT_TRUE(m_Presenter->Present(tiny.bytes.data(), tiny.stride, tiny.width, tiny.height)) << m_Presenter->Error();
    EXPECT_EQ(ShownAt(10, 10), 0xFF0000u) << "a one-pixel frame covers the window";
}

TEST_F(FramePresenterTest, RefusesAMissingOrEmptyFrame)
{
    ASSERT_TRUE(m_Presenter->Create(m_Window)) << m_Presenter->Error();
    EXPECT_FALSE(m_Presenter->Present(nullptr, 256, 64, 48));
    EXPECT_FALSE(m_Presenter->Error().empty());
    const Frame frame(64, 48, 1, 2, 3);
    EXPECT_FALSE(m_Presenter->Present(frame.bytes.data(), frame.stride, 0, 0));
}

TEST_F(FramePresenterTest, PresentingWithoutARendererFails)
{
    const Frame frame(64, 48, 1, 2, 3);
    EXPECT_FALSE(m_Presenter->Present(frame.bytes.data(), frame.stride, frame.width, frame.height));
    EXPECT_NE(m_Presenter->Error().find("no renderer"), std::string::npos) << m_Presenter->Error();
}

} // namespace
