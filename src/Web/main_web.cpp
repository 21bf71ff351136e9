// The page's entry: the show drawn for the canvas at the soundtrack's position. The page's script
// owns the audio clock and the canvas and calls these; every failure leaves the text the player's
// message box would show, for the page's overlay.
#include <cstdint>

#include <emscripten/emscripten.h>

#include "Web/WebShow.h"

namespace {

constexpr int CanvasWidth = 800;
constexpr int CanvasHeight = 600;

KUV::Web::WebShow& Show()
{
    static KUV::Web::WebShow show(CanvasWidth, CanvasHeight);
    return show;
}

int Status(bool ok)
{
    return ok ? 0 : 1;
}

} // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE int velorine_load(const char* scenePath)
{
    return Status(Show().Load(scenePath));
}
EMSCRIPTEN_KEEPALIVE int velorine_frame(double audioMs)
{
    return Status(Show().Frame(audioMs));
}
EMSCRIPTEN_KEEPALIVE int velorine_seek(int ms)
{
    return Status(Show().Seek(ms));
}
EMSCRIPTEN_KEEPALIVE int velorine_resize(int pixelWidth, int pixelHeight)
{
    return Status(Show().Resize(pixelWidth, pixelHeight));
}
EMSCRIPTEN_KEEPALIVE const char* velorine_error()
{
    return Show().ErrorText().c_str();
}
EMSCRIPTEN_KEEPALIVE const std::uint8_t* velorine_pixels()
{
    return Show().Rgba();
}
EMSCRIPTEN_KEEPALIVE int velorine_tick()
{
    return Show().State().tick;
}
EMSCRIPTEN_KEEPALIVE int velorine_ended()
{
    return Show().State().ended ? 1 : 0;
}
EMSCRIPTEN_KEEPALIVE const char* velorine_animation()
{
    return Show().State().animation.c_str();
}
EMSCRIPTEN_KEEPALIVE double velorine_update_ms()
{
    return Show().State().updateMs;
}
EMSCRIPTEN_KEEPALIVE double velorine_render_ms()
{
    return Show().State().renderMs;
}

} // extern "C"

int main()
{
    return 0;
}
