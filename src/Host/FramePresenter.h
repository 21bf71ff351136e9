// Shows the frames the engine draws offscreen in an SDL window.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <SDL.h>

namespace KUV::Host {

class FramePresenter {
public:
    // Creates the window's renderer, presenting once per vertical blank where the platform
    // can, otherwise as fast as it can. False (with Error set) when no renderer can be made.
    bool Create(SDL_Window* window);
    // Shows width x height premultiplied B8G8R8A8 pixels, stride bytes per row, over the whole
    // window. False (with Error set) when the frame cannot be shown.
    bool Present(const std::uint8_t* pixels, int stride, int width, int height);

    const std::string& Error() const { return m_Error; }

private:
    Uint32 TextureFormat(Uint32 windowFormat) const;
    bool FitTexture(int width, int height);
    bool Fail(const char* what);

    struct Destroy {
        void operator()(SDL_Renderer* renderer) const { SDL_DestroyRenderer(renderer); }
        void operator()(SDL_Texture* texture) const { SDL_DestroyTexture(texture); }
    };

    // The texture belongs to the renderer and goes first.
    std::unique_ptr<SDL_Renderer, Destroy> m_Renderer;
    std::unique_ptr<SDL_Texture, Destroy> m_Texture;
    Uint32 m_Format = SDL_PIXELFORMAT_ARGB8888;
    int m_TextureWidth = 0;
    int m_TextureHeight = 0;
    std::string m_Error;
};

} // namespace KUV::Host
