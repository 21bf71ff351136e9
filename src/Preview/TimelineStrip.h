// The timeline strip of the preview: the show's run traced once per load, the music's
// envelope, the flash report, and what the mouse does on the strip.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <SDL.h>

#include "Authoring/FlashStretches.h"
#include "Authoring/TimelineSpans.h"
#include "Gfx/D2D1.h"
#include "Preview/StripPainter.h"
#include "Preview/StripView.h"

namespace KUV {
class Factory;
}

namespace KUV::Preview {

class EnvelopeLoader;

// The run the strip spans when the scene's run does not stop earlier: the player's.
inline constexpr std::int64_t StripRunMs = 154000;

class TimelineStrip {
public:
    // musicPath and flashesPath may be empty. The strip starts width pixels wide.
    TimelineStrip(const std::string& musicPath, int width);
    ~TimelineStrip();
    TimelineStrip(const TimelineStrip&) = delete;
    TimelineStrip& operator=(const TimelineStrip&) = delete;

    // Reads the stretches of a flash report (the lines tvs-check --flashes printed). False
    // with a reason in *error when the file cannot be read.
    bool ReadFlashes(const std::string& path, std::string* error);
    // Loads scenePath once more through factory onto target and traces its run without drawing.
    // A scene that does not load keeps the last trace.
    void Trace(KUV::Factory& factory, ID2D1RenderTarget* target, const std::string& scenePath);

    int Height() const { return m_Layout.height; }

    // Takes a mouse event at (x, y) of the strip (y from its top; the strip is width wide);
    // returns the tick to seek to when the event asks for one. outside tells the pointer left it.
    std::optional<std::int64_t> Mouse(const SDL_Event& event, double x, double y, bool outside);
    // Zooms by the wheel's turn around column x.
    void Wheel(int turn, double x);

    // Draws the strip width pixels wide; its pixels stay valid until the next Paint.
    void Paint(int width, const StripMarks& marks);
    const unsigned char* Pixels() const { return m_Painter.Pixels(); }
    int Stride() const { return m_Painter.Stride(); }

private:
    enum class Drag { None, Seek, Pan };

    StripLayout m_Layout;
    StripView m_View;
    StripPainter m_Painter;
    Authoring::ShowTimeline m_Show;
    std::vector<Authoring::FlashStretch> m_Flashes;
    std::unique_ptr<EnvelopeLoader> m_Envelope;
    std::optional<double> m_HoverX;
    Drag m_Drag = Drag::None;
    double m_DragX = 0;
};

} // namespace KUV::Preview
