// What the preview writes over the picture: the status line, the key help and the
// error band, laid out and drawn with the engine's own text layer.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Gfx/DWrite.h"
#include "Preview/PreviewSession.h"

namespace KUV {
class Factory;
}

namespace KUV::Preview {

struct OverlayStatus {
    std::int64_t tick = 0;
    std::vector<SceneAnimation> animations;
    double framesPerSecond = 0;
    double updateMs = 0;
    double renderMs = 0;
    std::string state; // the timeline's StateText
};

// "12345 ms  12.345 s | MainAnim | Child: Intro | 60.0 fps | update 0.21 ms  render 3.40 ms | playing"
std::string StatusLineText(const OverlayStatus& status);
// The title and the key lines that H shows.
std::string HelpText();

enum class BandPlace { Top, Middle, Bottom };

class OverlayPainter {
public:
    // Text comes from factory's text layer; target is where the bands are drawn.
    OverlayPainter(KUV::Factory& factory, ID2D1RenderTarget* target);
    ~OverlayPainter();
    OverlayPainter(const OverlayPainter&) = delete;
    OverlayPainter& operator=(const OverlayPainter&) = delete;

    // Draws text across the target in a band of backColor at place, inside BeginDraw and
    // EndDraw. False when the text layer cannot lay it out (the band is then not drawn).
    bool DrawBand(
        const std::string& text, BandPlace place, const D2D1_COLOR_F& textColor, const D2D1_COLOR_F& backColor);

private:
    struct Layout {
        std::shared_ptr<ID2D1Geometry> glyphs;
        float height = 0;
    };
    const Layout* LayOut(const std::string& text, float width);
    std::shared_ptr<ID2D1Geometry> Outline(const std::u16string& text, float width);
    bool Fill(ID2D1Geometry* geometry, const D2D1_COLOR_F& color);

    ID2D1RenderTarget* m_Target;
    ID2D1Factory* m_D2DFactory = nullptr; // the target keeps it alive
    std::shared_ptr<IDWriteFactory> m_WriteFactory;
    std::shared_ptr<IDWriteTextFormat> m_Format;
    std::map<std::string, Layout> m_Layouts; // by width and text: most bands repeat every frame
};

} // namespace KUV::Preview
