#include "Host/FramePresenter.h"

namespace KUV::Host {

bool FramePresenter::Create(SDL_Window* window)
{
    m_Texture.reset();
    m_Renderer.reset(SDL_CreateRenderer(window, -1, SDL_RENDERER_PRESENTVSYNC));
    if (!m_Renderer) m_Renderer.reset(SDL_CreateRenderer(window, -1, 0));
    if (!m_Renderer) return Fail("cannot create a renderer");
    m_Format = TextureFormat(SDL_GetWindowPixelFormat(window));
    return true;
}

// Frames are B, G, R, A bytes (packed ARGB here). A window of B, G, R and an unused byte takes
// them as they are in its own format, so that copying the texture to it converts nothing.
Uint32 FramePresenter::TextureFormat(Uint32 windowFormat) const
{
    SDL_RendererInfo info {};
    if (windowFormat != SDL_PIXELFORMAT_RGB888 || SDL_GetRendererInfo(m_Renderer.get(), &info) != 0)
        return SDL_PIXELFORMAT_ARGB8888;
    for (Uint32 i = 0; i < info.num_texture_formats; ++i)
        if (info.texture_formats[i] == windowFormat) return windowFormat;
    return SDL_PIXELFORMAT_ARGB8888;
}

bool FramePresenter::Present(const std::uint8_t* pixels, int stride, int width, int height)
{
    if (!m_Renderer) return Fail("no renderer");
    if (!pixels || width <= 0 || height <= 0) return Fail("no frame to show");
    if (!FitTexture(width, height)) return false;
    if (SDL_UpdateTexture(m_Texture.get(), nullptr, pixels, stride) != 0) return Fail("cannot update the texture");
    // Whatever the frame leaves uncovered (the bars of a letterboxed frame) is black.
    if (SDL_RenderClear(m_Renderer.get()) != 0) return Fail("cannot clear the window");
    if (SDL_RenderCopy(m_Renderer.get(), m_Texture.get(), nullptr, nullptr) != 0) return Fail("cannot copy the frame");
    SDL_RenderPresent(m_Renderer.get());
    return true;
}

bool FramePresenter::FitTexture(int width, int height)
{
    if (m_Texture && width == m_TextureWidth && height == m_TextureHeight) return true;
    m_Texture.reset();
    m_Texture.reset(SDL_CreateTexture(m_Renderer.get(), m_Format, SDL_TEXTUREACCESS_STREAMING, width, height));
    if (!m_Texture) return Fail("cannot create the texture");
    // Frames are cleared to opaque white, so they replace the window's content rather than blend.
    SDL_SetTextureBlendMode(m_Texture.get(), SDL_BLENDMODE_NONE);
    m_TextureWidth = width;
    m_TextureHeight = height;
    return true;
}

bool FramePresenter::Fail(const char* what)
{
    m_Error = std::string(what) + ": " + SDL_GetError();
    return false;
}

} // namespace KUV::Host
