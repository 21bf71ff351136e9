// Measures flashing frame by frame, as the rules for photosensitive viewers define it:
// every pixel keeps its own history of luminance and red transitions, and a frame is
// judged by the area of the pixels that flashed more than three times in the second
// that ends with it.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "Authoring/UpdateStep.h"

namespace KUV::Authoring {

enum class FlashKind { General, Red };

// More than three flashes (a flash is two opposing transitions) within one second fail.
inline constexpr int FailingTransitions = 7;
inline constexpr std::int64_t FlashWindowMs = 1000;
// A general transition: relative luminance changes by at least this (of the maximum 1)
// while the darker state stays below DarkLimit.
inline constexpr float LuminanceStep = 0.1f;
inline constexpr float DarkLimit = 0.8f;
// A red transition: the red measure (R - G - B) * 320 changes by more than 20.
inline constexpr float RedScale = 320.f;
inline constexpr float RedStep = 20.f / RedScale;
// Red is saturated where it makes at least this share of R + G + B.
inline constexpr float SaturatedRedShare = 0.8f;
// A flash matters over more than a quarter of a 10-degree field, which is 341 x 256 pixels
// of a 1024 x 768 screen; both scale with the frame.
inline constexpr double FieldWidthShare = 341.0 / 1024.0;
inline constexpr double FieldHeightShare = 256.0 / 768.0;
inline constexpr double FieldCoverage = 0.25;
// The least share of the frame that counts: a quarter of a field.
inline constexpr double CountingShare = FieldCoverage * FieldWidthShare * FieldHeightShare;

// What one frame shows of one kind of flash.
struct FlashFigures {
    // Share of the frame whose last second held more than three flashes.
    double flashingShare = 0;
    // The largest share of a 10-degree field covered by such pixels: above a quarter fails.
    double fieldShare = 0;
    // The most flashes a second that an area large enough to count went through.
    double rate = 0;
    // Share of the frame that made a transition in this very frame.
    double transitionShare = 0;

    bool Fails() const { return fieldShare > FieldCoverage; }
};

struct FrameMeasure {
    std::int64_t tick = 0;
    double meanLuminance = 0; // relative luminance, 0 to 1
    double meanRed = 0; // the red measure, 0 to 1 (times 320 in the rule's units)
    FlashFigures general;
    FlashFigures red;

    const FlashFigures& Of(FlashKind kind) const { return kind == FlashKind::General ? general : red; }
};

// Relative luminance (0 to 1) of an sRGB colour of 8-bit channels.
double RelativeLuminance(int r, int g, int b);
// The red measure (0 to 1): R - G - B of the linear channels where red is saturated, else 0.
double RedMeasure(int r, int g, int b);

class FlashMeter {
public:
    FlashMeter(int width, int height);

    // Takes the frame shown from tick on (opaque BGRA rows of stride bytes). Frames come in
    // ascending ticks at least 16 ms apart: a second holds no more than 64 of them.
    FrameMeasure Add(std::int64_t tick, const unsigned char* pixels, unsigned stride);

    // The pixel count of a quarter 10-degree field: the least area that counts.
    double CountingArea() const { return m_CountingArea; }

private:
    struct Track {
        float extreme = 0; // the last transition's furthest value; the lowest seen before any
        float highest = 0; // before any transition: the highest seen
        std::int8_t direction = 0; // +1 last went up, -1 down, 0 none yet
    };
    struct KindState {
        std::vector<Track> tracks;
        std::vector<std::uint64_t> history; // bit i: a transition i frames ago
        std::vector<std::uint8_t> inWindow; // the transitions of history within the window
        std::array<std::int64_t, 65> counts {}; // pixels by transitions within the window
        std::vector<std::int32_t> cells; // flashing pixels per cell
        std::int64_t transitions = 0;
        std::int64_t flashing = 0;
    };

    void BeginFrame(std::int64_t tick);
    void MeasureRow(int y, const std::uint32_t* row);
    void Step(KindState& kind, std::size_t index, int x, int y, bool transition);
    FlashFigures Figures(KindState& kind) const;
    double LargestFieldShare(const std::vector<std::int32_t>& cells) const;

    int m_Width;
    int m_Height;
    int m_CellColumns;
    int m_CellRows;
    double m_CountingArea;
    std::vector<std::uint32_t> m_Previous;
    bool m_First = true;
    std::vector<std::int64_t> m_Ticks; // the window's frames
    std::uint64_t m_WindowMask = 1;
    int m_WindowFrames = 0;
    // How the window moved since the last frame: it grew by this frame (nothing left it), it slid
    // (one frame left it), or it changed otherwise (every pixel counts anew).
    enum class Move { Grew, Slid, Other } m_Move = Move::Grew;
    KindState m_General;
    KindState m_Red;
    double m_LuminanceSum = 0;
    double m_RedSum = 0;
    std::int64_t m_Samples = 0;
};

} // namespace KUV::Authoring
