#include "Preview/PreviewWindow.h"

#include <algorithm>
#include <cstdio>

#include "Core/Factory.h"

namespace KUV::Preview {
namespace {

constexpr std::uint64_t PollIntervalMs = 1000;
constexpr std::uint64_t StatusIntervalMs = 100;
constexpr int DefaultRefreshRate = 60;
constexpr double FrameRateSmoothing = 0.1;

const D2D1_COLOR_F White { 1.f, 1.f, 1.f, 1.f };
const D2D1_COLOR_F StatusBack { 0.f, 0.f, 0.f, 0.72f };
const D2D1_COLOR_F HelpBack { 0.08f, 0.10f, 0.22f, 0.92f };
const D2D1_COLOR_F ErrorBack { 0.55f, 0.02f, 0.02f, 0.92f };

int RefreshRate(SDL_Window* window)
{
    SDL_DisplayMode mode {};
    if (SDL_GetWindowDisplayMode(window, &mode) != 0 || mode.refresh_rate <= 0) return DefaultRefreshRate;
    return mode.refresh_rate;
}

// The window's size in pixels above the strip; a minimised window reports 0 x 0, but the picture
// keeps one pixel.
D2D1_SIZE_U PictureSize(SDL_Window* window, int stripHeight)
{
    int width = 0, height = 0;
    SDL_GetWindowSize(window, &width, &height);
    return { static_cast<UINT32>(std::max(width, 1)), static_cast<UINT32>(std::max(height - stripHeight, 1)) };
}

} // namespace

PreviewWindow::PreviewWindow(const PreviewOptions& options)
    : m_Options(options)
    , m_Timeline(options.at)
{
}

PreviewWindow::~PreviewWindow()
{
    m_Overlay.reset();
    m_Strip.reset();
    m_Session.reset();
    if (m_Window) SDL_DestroyWindow(m_Window);
}

bool PreviewWindow::Fail(const std::string& error)
{
    m_Error = error;
    return false;
}

bool PreviewWindow::Open()
{
    m_SceneFactory = KUV::GetSceneFactory();
    if (!m_SceneFactory) return Fail("Unable to create KUV Factory");
    const std::string title = "tvs-preview: " + m_Options.scene;
    m_Window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, m_Options.width,
        m_Options.height, SDL_WINDOW_RESIZABLE);
    if (!m_Window) return Fail(std::string("cannot create the window: ") + SDL_GetError());
    if (!CreateTarget()) return false;
    std::string warning;
    if (!m_Options.music.empty() && !m_Music.Open(m_Options.music, &warning)) return Fail(m_Music.Error());
    if (!warning.empty()) std::fprintf(stderr, "tvs-preview: warning: %s\n", warning.c_str());
    m_Session = std::make_unique<PreviewSession>(*m_SceneFactory, m_Target.Get(), m_Options.scene);
    m_Overlay = std::make_unique<OverlayPainter>(*m_SceneFactory, m_Target.Get());
    m_Strip = std::make_unique<TimelineStrip>(m_Options.music, m_Options.width);
    if (!m_Options.flashes.empty() && !m_Strip->ReadFlashes(m_Options.flashes, &m_Error)) return false;
    m_Strip->Trace(*m_SceneFactory, m_Target.Get(), m_Options.scene);
    FitWindow();
    m_Session->LoadAt(m_Timeline.Tick());
    m_Watcher.Watch(m_Session->WatchedFiles());
    return true;
}

bool PreviewWindow::CreateTarget()
{
    const D2D1_RENDER_TARGET_PROPERTIES properties = D2D1::RenderTargetProperties();
    const D2D1_SIZE_U size = PictureSize(m_Window, 0);
    if (D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, m_D2DFactory.ReleaseAndGetAddressOf()) != S_OK
        || m_D2DFactory->CreateImageRenderTarget(properties, size, m_Target.ReleaseAndGetAddressOf()) != S_OK
        || !m_Presenter.Create(m_Window)) {
        return Fail("unable to create render target");
    }
    m_Target->SetAntialiasMode(D2D1_ANTIALIAS_MODE_ALIASED);
    return true;
}

void PreviewWindow::Run()
{
    RestartFrameClock();
    m_LastPoll = m_LastFrame;
    while (m_Running)
        Frame();
}

void PreviewWindow::Frame()
{
    const std::uint64_t start = SDL_GetTicks64();
    for (SDL_Event event; m_Running && SDL_PollEvent(&event);)
        HandleEvent(event);
    if (!m_Running) return;
    Advance();
    m_Music.Follow(m_Timeline.Tick(), !m_Timeline.Paused(), static_cast<double>(SDL_GetTicks64()));
    PollFiles(start);
    Draw();
    Pace(start);
}

// Plays the time since the last frame on, and counts the frame rate from it.
void PreviewWindow::Advance()
{
    const std::uint64_t now = SDL_GetTicks64();
    const std::uint64_t elapsed = now - m_LastFrame;
    m_LastFrame = now;
    if (m_Timeline.Play(static_cast<std::int64_t>(elapsed)))
        Jump();
    else
        m_Session->PlayTo(m_Timeline.Tick());
    if (elapsed > 0)
        m_FramesPerSecond += FrameRateSmoothing * (1000.0 / static_cast<double>(elapsed) - m_FramesPerSecond);
}

void PreviewWindow::HandleEvent(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_QUIT:
        m_Running = false;
        break;
    case SDL_WINDOWEVENT:
        HandleWindowEvent(event.window);
        break;
    case SDL_KEYDOWN:
        CarryKey(event.key);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    case SDL_MOUSEMOTION:
    case SDL_MOUSEWHEEL:
        HandleMouse(event);
        break;
    default:
        break;
    }
}

void PreviewWindow::HandleWindowEvent(const SDL_WindowEvent& event)
{
    if (event.event == SDL_WINDOWEVENT_CLOSE) m_Running = false;
    if (event.event == SDL_WINDOWEVENT_SIZE_CHANGED) ResizeTarget();
    if (event.event == SDL_WINDOWEVENT_LEAVE && m_Strip) m_Strip->Mouse(SDL_Event { SDL_MOUSEMOTION }, 0, 0, true);
}

// The presented frame fills the window (stretched in full screen): the pointer is placed on it.
void PreviewWindow::HandleMouse(const SDL_Event& event)
{
    if (!m_ShowStrip) return;
    int x = 0, y = 0, width = 1, height = 1;
    if (event.type == SDL_MOUSEMOTION)
        x = event.motion.x, y = event.motion.y;
    else if (event.type == SDL_MOUSEWHEEL)
        SDL_GetMouseState(&x, &y);
    else
        x = event.button.x, y = event.button.y;
    SDL_GetWindowSize(m_Window, &width, &height);
    const D2D1_SIZE_U picture = m_Target->GetPixelSize();
    const double frameX = x * static_cast<double>(picture.width) / std::max(width, 1);
    const double frameY = y * static_cast<double>(picture.height + StripHeight()) / std::max(height, 1);
    if (event.type == SDL_MOUSEWHEEL) {
        if (frameY >= picture.height) m_Strip->Wheel(event.wheel.y, frameX);
        return;
    }
    const auto seek = m_Strip->Mouse(event, frameX, frameY - picture.height, false);
    if (seek && m_Timeline.SeekTo(*seek)) Jump();
}

void PreviewWindow::CarryKey(const SDL_KeyboardEvent& key)
{
    const PreviewCommand command = CommandForKey(key.keysym.sym, key.keysym.mod);
    if (!key.repeat || RepeatsWhenHeld(command)) Carry(command);
}

void PreviewWindow::Carry(PreviewCommand command)
{
    switch (command) {
    case PreviewCommand::Quit:
        m_Running = false;
        break;
    case PreviewCommand::Reload:
        Reload();
        break;
    case PreviewCommand::ToggleFullScreen:
        ToggleFullScreen();
        break;
    case PreviewCommand::ToggleOverlay:
        m_ShowStatus = !m_ShowStatus;
        break;
    case PreviewCommand::ToggleHelp:
        m_ShowHelp = !m_ShowHelp;
        break;
    case PreviewCommand::ToggleStrip:
        ToggleStrip();
        break;
    default:
        if (m_Timeline.Apply(command)) Jump();
        break;
    }
}

// The time a seek or a reload takes is not played over afterwards.
void PreviewWindow::Jump()
{
    m_Session->SeekTo(m_Timeline.Tick());
    m_Music.Jumped();
    RestartFrameClock();
}

void PreviewWindow::ToggleStrip()
{
    m_ShowStrip = !m_ShowStrip;
    FitWindow();
}

// The window is the picture's size with the strip under it; in full screen the picture is stretched instead.
void PreviewWindow::FitWindow()
{
    if (m_FullScreen) return ResizeTarget();
    const D2D1_SIZE_U picture = m_Target->GetPixelSize();
    SDL_SetWindowSize(m_Window, static_cast<int>(picture.width), static_cast<int>(picture.height) + StripHeight());
}

void PreviewWindow::Reload()
{
    const int height = StripHeight();
    m_Strip->Trace(*m_SceneFactory, m_Target.Get(), m_Options.scene);
    if (StripHeight() != height) FitWindow();
    m_Session->Reload();
    m_Watcher.Watch(m_Session->WatchedFiles());
    RestartFrameClock();
}

void PreviewWindow::PollFiles(std::uint64_t now)
{
    if (now - m_LastPoll < PollIntervalMs) return;
    m_LastPoll = now;
    if (m_Watcher.Changed()) Reload();
}

// Full screen, the picture keeps its size and is stretched over the screen, as the player's is.
void PreviewWindow::ToggleFullScreen()
{
    m_FullScreen = !m_FullScreen;
    SDL_SetWindowFullscreen(m_Window, m_FullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    ResizeTarget();
}

void PreviewWindow::ResizeTarget()
{
    if (m_FullScreen) return;
    const D2D1_SIZE_U size = PictureSize(m_Window, StripHeight());
    const D2D1_SIZE_U current = m_Target->GetPixelSize();
    if (size.width == current.width && size.height == current.height) return;
    if (m_Target->Resize(size) != S_OK) m_PresentError = "cannot resize the picture";
}

void PreviewWindow::Draw()
{
    m_Target->BeginDraw();
    m_Target->Clear(&White);
    m_Session->Render();
    m_Target->SetTransform(D2D1::IdentityMatrix());
    DrawBands();
    if (m_Target->EndDraw() != S_OK) m_PresentError = "Rendering Error";
    Present();
}

void PreviewWindow::DrawBands()
{
    if (m_ShowStatus) m_Overlay->DrawBand(StatusText(), BandPlace::Top, White, StatusBack);
    if (m_ShowHelp) m_Overlay->DrawBand(HelpText(), BandPlace::Middle, White, HelpBack);
    std::string error = m_Session->ErrorText();
    if (error.empty()) error = m_PresentError;
    if (!error.empty()) m_Overlay->DrawBand(error, BandPlace::Bottom, White, ErrorBack);
}

// Laying the line out costs a few milliseconds, so it is written anew ten times a second, and at
// once when a paused show moves or the show is paused or resumed.
const std::string& PreviewWindow::StatusText()
{
    const std::uint64_t now = SDL_GetTicks64();
    const bool paused = m_Timeline.Paused();
    const bool moved = paused && m_Timeline.Tick() != m_StatusTick;
    if (now - m_StatusWritten < StatusIntervalMs && !moved && paused == m_StatusPaused) return m_StatusText;
    const OverlayStatus status { m_Timeline.Tick(), m_Session->Animations(), m_FramesPerSecond,
        m_Session->LastUpdateMs(), m_Session->LastRenderMs(), m_Timeline.StateText() };
    m_StatusText = StatusLineText(status);
    m_StatusWritten = now;
    m_StatusTick = m_Timeline.Tick();
    m_StatusPaused = paused;
    return m_StatusText;
}

void PreviewWindow::Present()
{
    const D2D1_SIZE_U size = m_Target->GetPixelSize();
    UINT32 stride = 0;
    const std::uint8_t* pixels = Composed(size, stride);
    if (!m_Presenter.Present(pixels, static_cast<int>(stride), static_cast<int>(size.width),
            static_cast<int>(size.height) + StripHeight()))
        m_PresentError = m_Presenter.Error();
}

// The picture's pixels, with the strip's rows under them when it is shown.
const std::uint8_t* PreviewWindow::Composed(const D2D1_SIZE_U& picture, UINT32& stride)
{
    const BYTE* pixels = m_Target->GetPixels(&stride);
    if (!m_ShowStrip) return pixels;
    const int width = static_cast<int>(picture.width);
    m_Strip->Paint(width, { m_Timeline.Tick(), m_Timeline.MarkIn(), m_Timeline.MarkOut(), m_Timeline.Looping(), {} });
    const std::size_t row = static_cast<std::size_t>(width) * 4;
    m_Frame.resize(row * (picture.height + static_cast<std::size_t>(StripHeight())));
    for (UINT32 y = 0; y < picture.height; ++y)
        std::copy_n(pixels + y * stride, row, m_Frame.data() + y * row);
    for (int y = 0; y < StripHeight(); ++y)
        std::copy_n(m_Strip->Pixels() + static_cast<std::size_t>(y) * m_Strip->Stride(), row,
            m_Frame.data() + (picture.height + y) * row);
    stride = static_cast<UINT32>(row);
    return m_Frame.data();
}

// Where presenting does not wait for the display, frames are still not drawn faster than it shows them.
void PreviewWindow::Pace(std::uint64_t frameStart)
{
    const std::uint64_t frameMs = 1000 / static_cast<std::uint64_t>(RefreshRate(m_Window));
    const std::uint64_t spent = SDL_GetTicks64() - frameStart;
    if (spent < frameMs) SDL_Delay(static_cast<Uint32>(frameMs - spent));
}

} // namespace KUV::Preview
