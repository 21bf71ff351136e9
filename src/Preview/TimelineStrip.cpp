#include "Preview/TimelineStrip.h"

#include <cmath>
#include <fstream>

#include "Authoring/Timeline.h"
#include "Core/Factory.h"
#include "Core/FilePath.h"
#include "Core/Tavisk.h"
#include "Preview/Waveform.h"

namespace KUV::Preview {
namespace {

// One notch of the wheel shows a fifth less (or a quarter more) time.
constexpr double WheelZoom = 1.25;

} // namespace

TimelineStrip::TimelineStrip(const std::string& musicPath, int width)
    : m_Layout(0, !musicPath.empty())
    , m_View(StripRunMs, width - StripLayout::Gutter)
{
    m_Show.end = StripRunMs;
    if (!musicPath.empty()) m_Envelope = std::make_unique<EnvelopeLoader>(musicPath);
}

TimelineStrip::~TimelineStrip() = default;

bool TimelineStrip::ReadFlashes(const std::string& path, std::string* error)
{
    std::ifstream file(KUV::ResolvePath(path));
    if (!file) return (*error = "cannot open the flash report \"" + path + "\""), false;
    m_Flashes = Authoring::ReadStretches(file);
    return true;
}

void TimelineStrip::Trace(KUV::Factory& factory, ID2D1RenderTarget* target, const std::string& scenePath)
{
    ITavisk* loaded = nullptr;
    const int status = factory.LoadTavisk(scenePath, 0, target, &loaded);
    const std::unique_ptr<ITavisk> scene(loaded);
    auto* root = dynamic_cast<Tavisk*>(loaded);
    if (status != LoadOk || !root) return;
    std::string error;
    m_Show = Authoring::TraceShow(*root, static_cast<int>(StripRunMs), &error);
    m_Layout = StripLayout(m_Show.lanes.size(), m_Envelope != nullptr);
    m_View.SetLength(m_Show.end);
}

std::optional<std::int64_t> TimelineStrip::Mouse(const SDL_Event& event, double x, double y, bool outside)
{
    const double column = x - StripLayout::Gutter;
    const bool over = !outside && y >= 0 && y < m_Layout.height;
    if (event.type == SDL_MOUSEBUTTONUP) m_Drag = Drag::None;
    if (event.type == SDL_MOUSEBUTTONDOWN && over && column >= 0) {
        m_Drag = event.button.button == SDL_BUTTON_LEFT ? Drag::Seek
            : event.button.button == SDL_BUTTON_RIGHT   ? Drag::Pan
                                                        : Drag::None;
        m_DragX = column;
    }
    m_HoverX = over && column >= 0 ? std::optional<double>(column) : std::nullopt;
    if (m_Drag == Drag::Pan) {
        m_View.PanBy(column - m_DragX);
        m_DragX = column;
    }
    if (m_Drag == Drag::Seek && event.type != SDL_MOUSEBUTTONUP) return m_View.TickAt(column);
    return std::nullopt;
}

void TimelineStrip::Wheel(int turn, double x)
{
    m_View.ZoomAt(x - StripLayout::Gutter, std::pow(WheelZoom, turn));
}

void TimelineStrip::Paint(int width, const StripMarks& marks)
{
    m_View.SetWidth(width - StripLayout::Gutter);
    StripMarks shown = marks;
    shown.hoverX = m_HoverX;
    const Envelope* envelope = m_Envelope ? m_Envelope->Result() : nullptr;
    m_Painter.Paint(width, m_Layout, m_View, m_Show, envelope, m_Flashes, shown);
}

} // namespace KUV::Preview
