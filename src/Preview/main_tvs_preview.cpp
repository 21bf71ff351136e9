// tvs-preview: a live window on a scene for its authors.
#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "Core/FilePath.h"
#include "Host/Display.h"
#include "Preview/PreviewWindow.h"

namespace {

// Some X servers drop a connection that arrives while they close another; a moment later it works.
constexpr int DisplayAttempts = 3;
constexpr Uint32 DisplayRetryDelayMs = 150;

bool TryStartVideo(const char* requested)
{
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return false;
    if (!KUV::Host::LacksDisplay(SDL_GetCurrentVideoDriver(), requested)) return true;
    SDL_SetError("only SDL's \"%s\" video driver works", SDL_GetCurrentVideoDriver());
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return false;
}

bool StartVideo()
{
    SDL_SetMainReady();
    const char* requested = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    const bool serverNamed = SDL_getenv("DISPLAY") || SDL_getenv("WAYLAND_DISPLAY");
    // Probing for a server that nobody named only adds the probes' own complaints to the reason.
    if (!serverNamed && !(requested && *requested)) {
        SDL_SetError("neither DISPLAY nor WAYLAND_DISPLAY is set");
        return false;
    }
    for (int attempt = 1; attempt <= (serverNamed ? DisplayAttempts : 1); ++attempt) {
        if (attempt > 1) SDL_Delay(DisplayRetryDelayMs);
        if (TryStartVideo(requested)) return true;
    }
    return false;
}

bool CanOpen(const std::string& written)
{
    const std::string path = KUV::ResolvePath(written);
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec) && std::ifstream(path).is_open();
}

int Fail(const std::string& message)
{
    std::fprintf(stderr, "tvs-preview: %s\n", message.c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    std::string error;
    const auto options = KUV::Preview::ParsePreviewOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::cerr << "tvs-preview: " << error << "\n" << KUV::Preview::PreviewUsage;
        return KUV::Preview::PreviewExitUsage;
    }
    if (options->help) {
        std::cout << KUV::Preview::PreviewHelpText();
        return 0;
    }
    if (!CanOpen(options->scene)) return Fail("could not open the file \"" + options->scene + "\"");
    if (!StartVideo()) return Fail(std::string("no display to show the preview on: ") + SDL_GetError());
    int status = 0;
    {
        KUV::Preview::PreviewWindow window(*options);
        if (window.Open(&error))
            window.Run();
        else
            status = Fail(error);
    }
    SDL_Quit();
    return status;
}
