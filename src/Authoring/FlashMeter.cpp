#include "Authoring/FlashMeter.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace KUV::Authoring {
namespace {

// Pixels are judged in cells of CellSize x CellSize when fields are placed over the frame.
constexpr int CellShift = 2;
constexpr int CellSize = 1 << CellShift;
// The frame's means (for the plot) sample one pixel in SampleStep x SampleStep.
constexpr int SampleStep = 4;

struct LinearTable {
    float value[256];
    LinearTable()
    {
        for (int i = 0; i < 256; ++i) {
            const double c = i / 255.0;
            value[i] = static_cast<float>(c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
        }
    }
};

const LinearTable& Linear()
{
    static const LinearTable table;
    return table;
}

float Luminance(float r, float g, float b)
{
    return 0.2126f * r + 0.7152f * g + 0.0722f * b;
}

float Red(float r, float g, float b)
{
    const float sum = r + g + b;
    return sum > 0 && r >= SaturatedRedShare * sum ? std::max(r - g - b, 0.f) : 0.f;
}

// Whether value makes a transition from the pixel's history: a change of at least step
// against the last extreme, opposite to the last transition, with the darker end below dark.
bool Transits(float value, float step, float dark, float& extreme, float& highest, std::int8_t& direction)
{
    if (direction > 0 && value > extreme) return (extreme = value), false;
    if (direction < 0 && value < extreme) return (extreme = value), false;
    if (direction == 0) extreme = std::min(extreme, value), highest = std::max(highest, value);
    const float top = direction == 0 ? highest : extreme;
    if (direction <= 0 && value - extreme >= step && extreme < dark) return (direction = 1), (extreme = value), true;
    if (direction >= 0 && top - value >= step && value < dark) return (direction = -1), (extreme = value), true;
    return false;
}

} // namespace

double RelativeLuminance(int r, int g, int b)
{
    const LinearTable& l = Linear();
    return Luminance(l.value[r & 255], l.value[g & 255], l.value[b & 255]);
}

double RedMeasure(int r, int g, int b)
{
    const LinearTable& l = Linear();
    return Red(l.value[r & 255], l.value[g & 255], l.value[b & 255]);
}

FlashMeter::FlashMeter(int width, int height)
    : m_Width(std::max(width, 1))
    , m_Height(std::max(height, 1))
    , m_CellColumns((m_Width + CellSize - 1) / CellSize)
    , m_CellRows((m_Height + CellSize - 1) / CellSize)
    , m_CountingArea(FieldCoverage * FieldWidthShare * FieldHeightShare * m_Width * m_Height)
    , m_Previous(static_cast<std::size_t>(m_Width) * m_Height)
{
    for (KindState* kind : { &m_General, &m_Red }) {
        kind->tracks.resize(m_Previous.size());
        kind->history.resize(m_Previous.size());
        kind->inWindow.resize(m_Previous.size());
        kind->cells.resize(static_cast<std::size_t>(m_CellColumns) * m_CellRows);
    }
}

FrameMeasure FlashMeter::Add(std::int64_t tick, const unsigned char* pixels, unsigned stride)
{
    BeginFrame(tick);
    FrameMeasure measure;
    measure.tick = tick;
    for (int y = 0; y < m_Height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(pixels + static_cast<std::size_t>(y) * stride);
        MeasureRow(y, row);
    }
    m_First = false;
    measure.meanLuminance = m_Samples ? m_LuminanceSum / static_cast<double>(m_Samples) : 0;
    measure.meanRed = m_Samples ? m_RedSum / static_cast<double>(m_Samples) : 0;
    measure.general = Figures(m_General);
    measure.red = Figures(m_Red);
    return measure;
}

void FlashMeter::BeginFrame(std::int64_t tick)
{
    // A second holds the frames shown wholly within it: a frame lasts until the next one.
    const std::int64_t frameMs = m_Ticks.empty() ? UpdateStep : tick - m_Ticks.back();
    m_Ticks.push_back(tick);
    const auto outside = std::find_if(
        m_Ticks.begin(), m_Ticks.end(), [&](std::int64_t t) { return tick - t <= FlashWindowMs - frameMs; });
    m_Ticks.erase(m_Ticks.begin(), outside);
    const std::size_t frames = std::min<std::size_t>(m_Ticks.size(), 64);
    m_WindowMask = frames == 64 ? ~std::uint64_t(0) : (std::uint64_t(1) << frames) - 1;
    const int windowFrames = static_cast<int>(frames);
    m_Move = windowFrames == m_WindowFrames + 1 ? Move::Grew
        : windowFrames == m_WindowFrames        ? Move::Slid
                                                : Move::Other;
    m_WindowFrames = windowFrames;
    for (KindState* kind : { &m_General, &m_Red }) {
        kind->counts.fill(0);
        std::fill(kind->cells.begin(), kind->cells.end(), 0);
        kind->transitions = kind->flashing = 0;
    }
    m_LuminanceSum = m_RedSum = 0;
    m_Samples = 0;
}

void FlashMeter::MeasureRow(int y, const std::uint32_t* row)
{
    const LinearTable& l = Linear();
    const bool sampled = y % SampleStep == 0;
    std::uint32_t* previous = m_Previous.data() + static_cast<std::size_t>(y) * m_Width;
    for (int x = 0; x < m_Width; ++x) {
        const std::uint32_t p = row[x];
        const std::size_t i = static_cast<std::size_t>(y) * m_Width + x;
        const bool changed = m_First || p != previous[x];
        const bool sample = sampled && x % SampleStep == 0;
        if (!changed && !sample) {
            Step(m_General, i, x, y, false);
            Step(m_Red, i, x, y, false);
            continue;
        }
        const float r = l.value[(p >> 16) & 255], g = l.value[(p >> 8) & 255], b = l.value[p & 255];
        const float luminance = Luminance(r, g, b), red = Red(r, g, b);
        if (sample) m_LuminanceSum += luminance, m_RedSum += red, ++m_Samples;
        if (m_First) {
            m_General.tracks[i] = { luminance, luminance, 0 };
            m_Red.tracks[i] = { red, red, 0 };
        }
        previous[x] = p;
        Track& lt = m_General.tracks[i];
        Step(m_General, i, x, y,
            changed && Transits(luminance, LuminanceStep, DarkLimit, lt.extreme, lt.highest, lt.direction));
        Track& rt = m_Red.tracks[i];
        Step(m_Red, i, x, y, changed && Transits(red, RedStep, 2.f, rt.extreme, rt.highest, rt.direction));
    }
}

void FlashMeter::Step(KindState& kind, std::size_t index, int x, int y, bool transition)
{
    std::uint64_t& history = kind.history[index];
    if (!history && !transition) return;
    const std::uint64_t before = history;
    history = (history << 1) | (transition ? 1u : 0u);
    kind.transitions += transition;
    std::uint8_t& count = kind.inWindow[index];
    if (m_Move == Move::Slid)
        count = static_cast<std::uint8_t>(
            count + transition - (m_WindowFrames == 64 ? before >> 63 : (history >> m_WindowFrames) & 1));
    else if (m_Move == Move::Grew)
        count = static_cast<std::uint8_t>(count + transition);
    else
        count = static_cast<std::uint8_t>(std::popcount(history & m_WindowMask));
    if (count == 0) return;
    ++kind.counts[count];
    if (count < FailingTransitions) return;
    ++kind.flashing;
    ++kind.cells[static_cast<std::size_t>(y >> CellShift) * m_CellColumns + (x >> CellShift)];
}

FlashFigures FlashMeter::Figures(KindState& kind) const
{
    const double area = static_cast<double>(m_Width) * m_Height;
    FlashFigures figures;
    figures.flashingShare = static_cast<double>(kind.flashing) / area;
    figures.transitionShare = static_cast<double>(kind.transitions) / area;
    figures.fieldShare = kind.flashing ? LargestFieldShare(kind.cells) : 0;
    std::int64_t atLeast = 0;
    for (int count = static_cast<int>(kind.counts.size()) - 1; count > 0; --count) {
        atLeast += kind.counts[count];
        if (static_cast<double>(atLeast) > m_CountingArea) return (figures.rate = count / 2.0), figures;
    }
    return figures;
}

// Places the field at every cell of the frame (by a table of sums) and keeps the fullest.
double FlashMeter::LargestFieldShare(const std::vector<std::int32_t>& cells) const
{
    const int columns
        = std::clamp(static_cast<int>(std::lround(FieldWidthShare * m_Width / CellSize)), 1, m_CellColumns);
    const int rows = std::clamp(static_cast<int>(std::lround(FieldHeightShare * m_Height / CellSize)), 1, m_CellRows);
    const int stride = m_CellColumns + 1;
    std::vector<std::int64_t> sums(static_cast<std::size_t>(stride) * (m_CellRows + 1), 0);
    for (int y = 0; y < m_CellRows; ++y)
        for (int x = 0; x < m_CellColumns; ++x)
            sums[(y + 1) * stride + x + 1] = cells[static_cast<std::size_t>(y) * m_CellColumns + x]
                + sums[y * stride + x + 1] + sums[(y + 1) * stride + x] - sums[y * stride + x];
    std::int64_t best = 0;
    for (int y = rows; y <= m_CellRows; ++y)
        for (int x = columns; x <= m_CellColumns; ++x)
            best = std::max(best,
                sums[y * stride + x] - sums[(y - rows) * stride + x] - sums[y * stride + x - columns]
                    + sums[(y - rows) * stride + x - columns]);
    return static_cast<double>(best) / (static_cast<double>(columns) * rows * CellSize * CellSize);
}

} // namespace KUV::Authoring
