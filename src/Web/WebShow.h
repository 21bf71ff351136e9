// The show as the page drives it: the production loaded into an offscreen frame of the canvas's
// size, each frame drawn at the tick the show clock gives for the soundtrack's position, seeking,
// and the failure text the player's message box would show. Needs no browser.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Core/ITavisk.h"
#include "Gfx/Com.h"
#include "Gfx/D2D1.h"
#include "Web/ShowClock.h"

namespace KUV::Web {

struct ShowState {
    std::int32_t tick = 0;
    bool ended = false;
    std::string animation; // the root scene's current animation
    double updateMs = 0.0; // the last frame's update, all catch-up updates included
    double renderMs = 0.0; // the last frame's render and its conversion for the canvas
};

class WebShow {
public:
    // The show's own size; its frames are drawn at that many pixels until Resize says otherwise.
    WebShow(int width, int height);
    ~WebShow();
    WebShow(const WebShow&) = delete;
    WebShow& operator=(const WebShow&) = delete;

    // Loads scenePath and updates it at tick 0, drawing nothing yet. False, with ErrorText(), when
    // it fails.
    bool Load(const std::string& scenePath);
    // Draws the frame for the soundtrack at audioMs. False, with ErrorText(), on a failed update
    // or render; the show then stays on its last good frame.
    bool Frame(double audioMs);
    // Moves the show to ms (loading the scene again to go back) and draws it there.
    bool Seek(std::int32_t ms);
    // Draws the show at pixelWidth x pixelHeight from now on, its own size scaled to fill them (the
    // canvas's size in device pixels, so that the frame is sharp on any screen). A loaded scene is
    // loaded again for the new frame, brought back to its tick and drawn there.
    bool Resize(int pixelWidth, int pixelHeight);

    // The last frame, PixelWidth() x PixelHeight() straight RGBA pixels.
    const std::uint8_t* Rgba() const { return m_Rgba.data(); }
    int PixelWidth() const { return m_PixelWidth; }
    int PixelHeight() const { return m_PixelHeight; }
    const ShowState& State() const { return m_State; }
    const std::string& ErrorText() const { return m_Error; }

private:
    bool CreateTarget();
    bool LoadScene();
    bool UpdateAt(const std::vector<std::int32_t>& ticks);
    bool Draw();
    bool Fail(std::string text);

    int m_Width;
    int m_Height;
    int m_PixelWidth;
    int m_PixelHeight;
    std::string m_ScenePath;
    ComPtr<ID2D1Factory> m_D2DFactory;
    ComPtr<ID2D1ImageRenderTarget> m_Target;
    std::unique_ptr<ITavisk> m_Scene;
    ShowClock m_Clock;
    ShowState m_State;
    std::vector<std::uint8_t> m_Rgba;
    std::string m_Error;
};

} // namespace KUV::Web
