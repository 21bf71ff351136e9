// Draws the timeline strip under the picture: the time ruler, the music's envelope, one
// lane of animation spans per scene, the root's triggers, the loop marks, the unsafe flash
// stretches, the playhead and the time under the pointer.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Authoring/FlashStretches.h"
#include "Authoring/TimelineSpans.h"
#include "Preview/StripView.h"

typedef struct _cairo_surface cairo_surface_t;

namespace KUV::Preview {

struct Envelope;

// Where the strip's rows are, from its top.
struct StripLayout {
    static constexpr int Gutter = 92; // the lanes' names, left of the time
    static constexpr int RulerHeight = 18;
    static constexpr int WaveHeight = 34;
    static constexpr int LaneHeight = 15;

    StripLayout(std::size_t lanes, bool music);
    int waveTop;
    int lanesTop;
    int height;
};

// What the strip shows besides the show's spans.
struct StripMarks {
    std::int64_t playhead = 0;
    std::optional<std::int64_t> markIn;
    std::optional<std::int64_t> markOut;
    bool looping = false;
    std::optional<double> hoverX; // the pointer's column over the time, when it is over the strip
};

class StripPainter {
public:
    // Draws the strip width pixels wide (layout's height high); the pixels stay valid until the next Paint.
    void Paint(int width, const StripLayout& layout, const StripView& view, const Authoring::ShowTimeline& show,
        const Envelope* envelope, const std::vector<Authoring::FlashStretch>& flashes, const StripMarks& marks);

    // Premultiplied B8G8R8A8 rows, as the engine's target gives them.
    const unsigned char* Pixels() const;
    int Stride() const;

private:
    struct DestroySurface {
        void operator()(cairo_surface_t* surface) const;
    };

    std::unique_ptr<cairo_surface_t, DestroySurface> m_Surface;
};

} // namespace KUV::Preview
