// The tvs-preview window: plays a scene with its music, takes the keys, reloads on saves
// and draws the overlay bands.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <SDL.h>

#include "Gfx/D2D1.h"
#include "Host/FramePresenter.h"
#include "Preview/PreviewMusic.h"
#include "Preview/PreviewOptions.h"
#include "Preview/PreviewOverlay.h"
#include "Preview/PreviewSession.h"
#include "Preview/PreviewTimeline.h"
#include "Preview/PreviewWatch.h"

namespace KUV {
class Factory;
}

namespace KUV::Preview {

class PreviewWindow {
public:
    explicit PreviewWindow(const PreviewOptions& options);
    ~PreviewWindow();
    PreviewWindow(const PreviewWindow&) = delete;
    PreviewWindow& operator=(const PreviewWindow&) = delete;

    // Opens the window, its target and the music, and loads the scene. False with a
    // one-line reason in *error when the preview cannot start.
    bool Open(std::string* error);
    // Runs until the user quits.
    void Run();

private:
    bool CreateTarget(std::string* error);
    void Frame();
    void Advance();
    void HandleEvent(const SDL_Event& event);
    void HandleWindowEvent(const SDL_WindowEvent& event);
    void CarryKey(const SDL_KeyboardEvent& key);
    void Carry(PreviewCommand command);
    void Jump();
    void Reload();
    void PollFiles(std::uint64_t now);
    void ToggleFullScreen();
    void ResizeTarget();
    void Draw();
    void DrawBands();
    const std::string& StatusText();
    void Present();
    void Pace(std::uint64_t frameStart);
    void RestartFrameClock() { m_LastFrame = SDL_GetTicks64(); }

    PreviewOptions m_Options;
    SDL_Window* m_Window = nullptr;
    Host::FramePresenter m_Presenter;
    ComPtr<ID2D1Factory> m_D2DFactory;
    ComPtr<ID2D1ImageRenderTarget> m_Target;
    KUV::Factory* m_SceneFactory = nullptr;
    std::unique_ptr<PreviewSession> m_Session;
    std::unique_ptr<OverlayPainter> m_Overlay;
    PreviewTimeline m_Timeline;
    PreviewMusic m_Music;
    FileWatcher m_Watcher;
    bool m_Running = true;
    bool m_FullScreen = false;
    bool m_ShowStatus = true;
    bool m_ShowHelp = false;
    std::uint64_t m_LastFrame = 0;
    std::uint64_t m_LastPoll = 0;
    double m_FramesPerSecond = 0;
    std::string m_PresentError;
    std::string m_StatusText;
    std::uint64_t m_StatusWritten = 0;
    std::int64_t m_StatusTick = -1;
    bool m_StatusPaused = false;
};

} // namespace KUV::Preview
