// The player of the production "Velorine": asks how to show it, opens the window and
// its render target, loads the root scene, plays the soundtrack and runs the main loop
// that advances and draws the scene until the run ends.
#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "Core/Assert.h"
#include "Core/Factory.h"
#include "Core/ITavisk.h"
#include "Gfx/D2D1.h"
#include "Host/Display.h"
#include "Host/FramePresenter.h"
#include "Host/Letterbox.h"
#include "Host/Soundtrack.h"
#include "Host/WindowSize.h"
#include "Player/EventAction.h"
#include "Player/FrameRate.h"
#include "Player/RunClock.h"

namespace {

constexpr const char* SoundtrackPath = "data\\music\\vantrel.mp3";
constexpr int SoundtrackFrequency = 44100;
constexpr const char* WindowClassName = "KuvWindow";
constexpr int AnswerYes = 1;
constexpr int AnswerNo = 0;

class Application;

bool g_Running = true;
bool g_FullScreen = false;
int g_WindowWidth = 800;
int g_WindowHeight = 600;
std::string g_ScenePath;
SDL_Window* g_MainWindow = nullptr;
Application* g_Application = nullptr;
std::uint32_t g_StartTick = 0;
KUV::Host::Letterbox g_FullScreenPicture; // empty until the screen's size is known

[[noreturn]] void ShowFatalError(const std::string& text);
int ShowBox(const SDL_MessageBoxData& box, int* button);
bool LetterboxFullScreen();

// The engine and what it draws into. Created once the window exists, deleted at shutdown.
class Application {
public:
    Application(ID2D1Factory* d2dFactory, std::uint32_t startTick);
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;
    ~Application();

    ID2D1ImageRenderTarget* RenderTarget() const { return m_RenderTarget; }
    KUV::Host::FramePresenter& Presenter() const { return *m_Presenter; }
    KUV::ITavisk* Scene() const { return m_Scene; }

private:
    void CreateRenderTarget();

    ID2D1Factory* m_D2DFactory;
    ID2D1ImageRenderTarget* m_RenderTarget = nullptr;
    std::unique_ptr<KUV::Host::FramePresenter> m_Presenter;
    KUV::IFactory* m_SceneFactory = nullptr;
    KUV::ITavisk* m_Scene = nullptr;
};

// A minimised window reports 0 x 0; its target keeps one pixel so that it always has a surface.
D2D1_SIZE_U DrawableSize(int width, int height)
{
    return { static_cast<UINT32>(std::max(width, 1)), static_cast<UINT32>(std::max(height, 1)) };
}

Application::Application(ID2D1Factory* d2dFactory, std::uint32_t startTick)
    : m_D2DFactory(d2dFactory)
{
    m_SceneFactory = KUV::GetSceneFactory();
    if (!m_SceneFactory) ShowFatalError("Unable to create KUV Factory");
    CreateRenderTarget();
    m_RenderTarget->SetAntialiasMode(D2D1_ANTIALIAS_MODE_ALIASED);
    if (m_SceneFactory->LoadTavisk(g_ScenePath, startTick, m_RenderTarget, &m_Scene) != KUV::LoadOk)
        ShowFatalError(m_SceneFactory->GetErrorText());
}

Application::~Application()
{
    delete m_Scene;
    delete m_SceneFactory;
    m_Presenter.reset();
    if (m_RenderTarget) m_RenderTarget->Release();
    if (m_D2DFactory) m_D2DFactory->Release();
}

void Application::CreateRenderTarget()
{
    D2D1_RENDER_TARGET_PROPERTIES properties { { DXGI_FORMAT_UNKNOWN, D2D1_ALPHA_MODE_UNKNOWN }, 0.f, 0.f };
    int width = g_WindowWidth;
    int height = g_WindowHeight;
    if (g_FullScreen) {
        // The picture at the screen's pixels: 800 x 600 DIPs drawn at the DPI that fills them.
        properties.pixelFormat.alphaMode = D2D1_ALPHA_MODE_PREMULTIPLIED;
        properties.dpiX = g_FullScreenPicture.dpiX;
        properties.dpiY = g_FullScreenPicture.dpiY;
    } else {
        SDL_GetWindowSize(g_MainWindow, &width, &height);
    }
    m_Presenter = std::make_unique<KUV::Host::FramePresenter>();
    const bool deviceReady = !g_FullScreen || g_FullScreenPicture.width > 0;
    if (!deviceReady
        || FAILED(m_D2DFactory->CreateImageRenderTarget(properties, DrawableSize(width, height), &m_RenderTarget))
        || !m_RenderTarget || !m_Presenter->Create(g_MainWindow) || !LetterboxFullScreen())
        ShowFatalError("unable to create render target");
}

// Full screen keeps the frame's shape: the renderer centres it on the screen, at one frame
// pixel per screen pixel, between black bars (which every frame clears).
bool LetterboxFullScreen()
{
    if (!g_FullScreen) return true;
    return SDL_RenderSetLogicalSize(SDL_GetRenderer(g_MainWindow), g_WindowWidth, g_WindowHeight) == 0;
}

// A full-screen window over a changed display mode would hide a message box, and the
// mode would outlive the process on some platforms.
void LeaveFullScreen()
{
    if (g_FullScreen && g_MainWindow) SDL_SetWindowFullscreen(g_MainWindow, 0);
}

[[noreturn]] void ShowFatalError(const std::string& text)
{
    LeaveFullScreen();
    const SDL_MessageBoxButtonData ok {
        SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "OK"
    };
    const SDL_MessageBoxData box { SDL_MESSAGEBOX_ERROR, g_MainWindow, "Error", text.c_str(), 1, &ok, nullptr };
    int button = 0;
    if (ShowBox(box, &button) != 0) std::fprintf(stderr, "Error: %s\n", text.c_str());
    std::exit(1);
}

// For failures that have no box: one line on stderr, then exit code 1.
[[noreturn]] void ExitWithMessage(const std::string& text)
{
    LeaveFullScreen();
    std::fprintf(stderr, "velorine: %s\n", text.c_str());
    std::exit(1);
}

void UpdateTitle(std::uint32_t elapsedMs)
{
    SDL_SetWindowTitle(g_MainWindow, KUV::Player::FrameRateTitle(static_cast<std::int32_t>(elapsedMs)).c_str());
}

bool PresentFrame(ID2D1ImageRenderTarget* target)
{
    UINT32 stride = 0;
    const BYTE* pixels = target->GetPixels(&stride);
    const D2D1_SIZE_U size = target->GetPixelSize();
    return g_Application->Presenter().Present(
        pixels, static_cast<int>(stride), static_cast<int>(size.width), static_cast<int>(size.height));
}

void DrawFrame()
{
    ID2D1ImageRenderTarget* target = g_Application->RenderTarget();
    KUV::ITavisk* scene = g_Application->Scene();
    target->BeginDraw();
    const D2D1_COLOR_F white { 1.f, 1.f, 1.f, 1.f };
    target->Clear(&white);
    const D2D1_MATRIX_3X2_F identity = D2D1::IdentityMatrix();
    if (scene->Render(&identity, nullptr) != KUV::ResultOk) ShowFatalError(scene->GetErrorText());
    if (FAILED(target->EndDraw())) ShowFatalError("Rendering Error");
    if (!PresentFrame(target)) ShowFatalError("Rendering Error");
}

void ResizeTarget(int width, int height)
{
    if (g_FullScreen) return;
    if (FAILED(g_Application->RenderTarget()->Resize(DrawableSize(width, height)))) ShowFatalError("Resize Error");
}

KUV::Player::WindowState CurrentWindowState()
{
    const Uint32 flags = SDL_GetWindowFlags(g_MainWindow);
    KUV::Player::WindowState state;
    state.fullScreen = g_FullScreen;
    state.minimized = (flags & SDL_WINDOW_MINIMIZED) != 0;
    state.maximized = (flags & SDL_WINDOW_MAXIMIZED) != 0;
    SDL_GetWindowSize(g_MainWindow, &state.width, &state.height);
    return state;
}

void EndRun()
{
    g_Running = false;
    // The platform's own way of asking the loop to stop; the loop itself only looks at g_Running.
    if (!SDL_HasEvent(SDL_QUIT)) {
        SDL_Event quit {};
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
    }
}

// The window procedure: what one event does once the Application exists.
void HandleEvent(const SDL_Event& event)
{
    if (!g_Application) return;
    const KUV::Player::EventResponse response = KUV::Player::RespondToEvent(event, CurrentWindowState());
    switch (response.action) {
    case KUV::Player::EventAction::Draw:
        DrawFrame();
        break;
    case KUV::Player::EventAction::Resize:
        ResizeTarget(response.width, response.height);
        break;
    case KUV::Player::EventAction::ResizeAndDraw:
        ResizeTarget(response.width, response.height);
        DrawFrame();
        break;
    case KUV::Player::EventAction::EndRun:
        EndRun();
        break;
    case KUV::Player::EventAction::ExitNow:
        LeaveFullScreen();
        std::exit(0);
    case KUV::Player::EventAction::Ignore:
        break;
    }
}

// Some X servers drop a connection that arrives while they are closing another one; a
// moment later the same connection succeeds. Display connections therefore get a few tries.
constexpr int DisplayAttempts = 3;
constexpr Uint32 DisplayRetryDelayMs = 150;

bool TryStartVideo(const std::string& requestedDriver)
{
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return false;
    if (!KUV::Host::LacksDisplay(SDL_GetCurrentVideoDriver(), requestedDriver.c_str())) return true;
    SDL_SetError("only SDL's \"%s\" video driver works", SDL_GetCurrentVideoDriver());
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return false;
}

bool StartVideo()
{
    SDL_SetMainReady();
    // The window system reads the class hint when the video subsystem starts.
    SDL_setenv("SDL_VIDEO_X11_WMCLASS", WindowClassName, 1);
    SDL_setenv("SDL_VIDEO_WAYLAND_WMCLASS", WindowClassName, 1);
    const char* requested = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    const std::string requestedDriver = requested ? requested : "";
    // Without a display server named in the environment there is nothing to try again.
    const bool serverNamed = SDL_getenv("DISPLAY") || SDL_getenv("WAYLAND_DISPLAY");
    const int attempts = serverNamed ? DisplayAttempts : 1;
    for (int attempt = 1; attempt <= attempts; ++attempt) {
        if (TryStartVideo(requestedDriver)) return true;
        if (attempt < attempts) SDL_Delay(DisplayRetryDelayMs);
    }
    std::fprintf(stderr, "velorine: no display to play on: %s\n", SDL_GetError());
    return false;
}

// Shows a modal box; 0 on success, with the chosen button in *button.
int ShowBox(const SDL_MessageBoxData& box, int* button)
{
    int result = -1;
    for (int attempt = 1; attempt <= DisplayAttempts && result != 0; ++attempt) {
        if (attempt > 1) SDL_Delay(DisplayRetryDelayMs);
        result = SDL_ShowMessageBox(&box, button);
    }
    return result;
}

bool AskFullScreen()
{
    const SDL_MessageBoxButtonData buttons[] = {
        { SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, AnswerYes, "Yes" },
        { SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, AnswerNo, "No" },
    };
    const SDL_MessageBoxData question { SDL_MESSAGEBOX_INFORMATION | SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT, nullptr,
        "Velorine - configuration", "FullScreen?", SDL_arraysize(buttons), buttons, nullptr };
    int answer = AnswerNo;
    if (ShowBox(question, &answer) == 0) return answer == AnswerYes;
    // The display works but cannot show boxes (no dialog tool, no fonts): play in a window.
    std::fprintf(stderr, "velorine: warning: cannot ask \"FullScreen?\" (%s); playing in a window\n", SDL_GetError());
    return false;
}

Uint32 WindowFlags()
{
    const Uint32 fullScreen = SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS;
    return SDL_WINDOW_HIDDEN | (g_FullScreen ? fullScreen : Uint32(SDL_WINDOW_RESIZABLE));
}

// Full screen takes the display as it is: a mode of the DPI-scaled size is missing on most
// screens, and switching modes would only magnify or crop the picture. The window covers the
// primary display's bounds by itself, so that it does so even where no window manager acts
// on the full-screen request. Without the bounds the picture stays empty.
SDL_Rect WindowPlacement(const KUV::Host::WindowSize& size)
{
    SDL_Rect placement { int(SDL_WINDOWPOS_UNDEFINED), int(SDL_WINDOWPOS_UNDEFINED), size.width, size.height };
    if (!g_FullScreen || SDL_GetDisplayBounds(0, &placement) != 0) return placement;
    g_FullScreenPicture = KUV::Host::FitPicture(placement.w, placement.h);
    g_WindowWidth = g_FullScreenPicture.width;
    g_WindowHeight = g_FullScreenPicture.height;
    return placement;
}

ID2D1Factory* CreateD2DFactory()
{
    float hdpi = 0.f;
    float vdpi = 0.f;
    const int status = SDL_GetDisplayDPI(0, nullptr, &hdpi, &vdpi);
    ID2D1Factory* factory = nullptr;
    const HRESULT hr
        = D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, &factory, KUV::Host::UsableDpi(status, hdpi));
    KUV_ASSERT(hr == S_OK);
    return factory;
}

bool InitInstance()
{
    ID2D1Factory* d2dFactory = CreateD2DFactory();
    float dpiX = D2D1_DEFAULT_DPI;
    float dpiY = D2D1_DEFAULT_DPI;
    d2dFactory->GetDesktopDpi(&dpiX, &dpiY);
    const KUV::Host::WindowSize size = KUV::Host::ScaledWindowSize(dpiX, dpiY);
    const SDL_Rect placement = WindowPlacement(size);
    g_MainWindow = SDL_CreateWindow("Kuv", placement.x, placement.y, placement.w, placement.h, WindowFlags());
    if (!g_MainWindow) return false;
    const std::uint32_t startTick = SDL_GetTicks();
    g_Application = new Application(d2dFactory, startTick);
    SDL_ShowWindow(g_MainWindow);
    // The first frame is on screen before the soundtrack starts.
    DrawFrame();
    return true;
}

void StartSoundtrack(KUV::Host::Soundtrack& soundtrack)
{
    std::string warning;
    if (!soundtrack.OpenOutput(SoundtrackFrequency, &warning)) ExitWithMessage(soundtrack.Error());
    if (!warning.empty()) std::fprintf(stderr, "velorine: warning: %s\n", warning.c_str());
    if (!soundtrack.Play(SoundtrackPath)) ExitWithMessage(soundtrack.Error());
}

void RunMainLoop()
{
    do {
        SDL_Event event;
        if (SDL_PollEvent(&event)) HandleEvent(event);
        const std::uint32_t tick = SDL_GetTicks();
        if (g_Application->Scene()->Update(static_cast<int>(tick)) != KUV::ResultOk)
            ShowFatalError(g_Application->Scene()->GetErrorText());
        DrawFrame();
        UpdateTitle(SDL_GetTicks() - tick);
        if (KUV::Player::RunLengthExceeded(SDL_GetTicks(), g_StartTick)) g_Running = false;
    } while (g_Running);
}

} // namespace

int main(int, char**)
{
    g_ScenePath = "data\\tessik\\postprocess.tvs";
    if (!StartVideo()) return 1;
    g_FullScreen = AskFullScreen();
    if (!InitInstance()) ExitWithMessage(std::string("cannot create the window: ") + SDL_GetError());
    // Not destroyed on the paths that exit at once: they leave the music playing until the process is gone.
    KUV::Host::Soundtrack soundtrack;
    StartSoundtrack(soundtrack);
    g_StartTick = SDL_GetTicks();
    if (g_Running) RunMainLoop();
    soundtrack.Stop();
    delete g_Application;
    g_Application = nullptr;
    // Gives the desktop its display mode back after a full-screen run.
    SDL_Quit();
    return 0;
}
