#include "Preview/PreviewOverlay.h"

#include <cstdio>

#include "Core/AntialiasScope.h"
#include "Core/Factory.h"
#include "Core/LayerObject.h"
#include "Core/TextEncoding.h"
#include "Core/TextGeometryConverter.h"
#include "Preview/PreviewKeys.h"
#include "Preview/PreviewTimeline.h"

namespace KUV::Preview {
namespace {

constexpr float FontSize = 14.f;
constexpr float Padding = 8.f;
constexpr size_t MaxCachedLayouts = 16;

std::string Format(const char* format, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string AnimationsText(const std::vector<SceneAnimation>& animations)
{
    std::string text;
    for (const SceneAnimation& entry : animations)
        text += " | " + (entry.scene.empty() ? entry.animation : entry.scene + ": " + entry.animation);
    return text;
}

} // namespace

std::string StatusLineText(const OverlayStatus& status)
{
    return std::to_string(status.tick) + " ms  " + SecondsText(status.tick) + " s" + AnimationsText(status.animations)
        + " | " + Format("%.1f fps", status.framesPerSecond) + " | update " + Format("%.2f ms", status.updateMs)
        + "  render " + Format("%.2f ms", status.renderMs) + " | " + status.state;
}

std::string HelpText()
{
    std::string text = "tvs-preview keys (H hides this)";
    for (const std::string& line : KeyHelpLines())
        text += "\n" + line;
    return text;
}

OverlayPainter::OverlayPainter(KUV::Factory& factory, ID2D1RenderTarget* target)
    : m_Target(target)
    , m_WriteFactory(factory.GetWriteFactory())
{
    target->GetFactory(&m_D2DFactory);
    if (m_D2DFactory) m_D2DFactory->Release();
    if (!m_WriteFactory) return;
    m_Format = KUV::CreateOwned([&](IDWriteTextFormat** out) {
        return m_WriteFactory->CreateTextFormat(u"DejaVu Sans Mono", nullptr, DWRITE_FONT_WEIGHT_NORMAL,
            DWRITE_FONT_STYLE_NORMAL, DWRITE_FONT_STRETCH_NORMAL, FontSize, u"en-us", out);
    });
}

OverlayPainter::~OverlayPainter() = default;

std::shared_ptr<ID2D1Geometry> OverlayPainter::Outline(const std::u16string& text, float width)
{
    const auto layout = KUV::CreateOwned([&](IDWriteTextLayout** out) {
        return m_WriteFactory->CreateTextLayout(
            text.c_str(), static_cast<UINT32>(text.size()), m_Format.get(), width, 1e6f, out);
    });
    if (!layout) return nullptr;
    ComPtr<KUV::TextGeometryConverter> converter(new KUV::TextGeometryConverter(m_D2DFactory));
    std::shared_ptr<ID2D1Geometry> glyphs;
    if (converter->Status() != S_OK || layout->Draw(nullptr, converter.Get(), Padding, Padding) != S_OK
        || converter->Finish(glyphs) != S_OK)
        return nullptr;
    return glyphs;
}

const OverlayPainter::Layout* OverlayPainter::LayOut(const std::string& text, float width)
{
    const std::string key = std::to_string(width) + "\n" + text;
    if (const auto found = m_Layouts.find(key); found != m_Layouts.end()) return &found->second;
    if (!m_Format || !m_D2DFactory) return nullptr;
    const std::shared_ptr<ID2D1Geometry> glyphs = Outline(KUV::WidenSceneText(text), width - 2 * Padding);
    if (!glyphs) return nullptr;
    D2D1_RECT_F bounds {};
    glyphs->GetBounds(nullptr, &bounds);
    const float textBottom = bounds.bottom > bounds.top ? bounds.bottom : Padding + FontSize;
    if (m_Layouts.size() >= MaxCachedLayouts) m_Layouts.clear();
    return &(m_Layouts[key] = Layout { glyphs, textBottom + Padding });
}

bool OverlayPainter::Fill(ID2D1Geometry* geometry, const D2D1_COLOR_F& color)
{
    const auto brush = KUV::CreateOwned(
        [&](ID2D1SolidColorBrush** out) { return m_Target->CreateSolidColorBrush(color, nullptr, out); });
    if (!brush) return false;
    m_Target->FillGeometry(geometry, brush.get());
    return true;
}

bool OverlayPainter::DrawBand(
    const std::string& text, BandPlace place, const D2D1_COLOR_F& textColor, const D2D1_COLOR_F& backColor)
{
    const D2D1_SIZE_F size = m_Target->GetSize();
    const Layout* layout = LayOut(text, size.width);
    if (!layout) return false;
    const float top = place == BandPlace::Top ? 0.f
        : place == BandPlace::Bottom          ? size.height - layout->height
                                              : (size.height - layout->height) / 2;
    const auto band = KUV::CreateOwned([&](ID2D1RectangleGeometry** out) {
        return m_D2DFactory->CreateRectangleGeometry({ 0.f, 0.f, size.width, layout->height }, out);
    });
    if (!band) return false;
    KUV::AntialiasScope antialias(m_Target);
    m_Target->SetTransform(D2D1::Translation(0.f, top));
    const bool drawn = Fill(band.get(), backColor) && Fill(layout->glyphs.get(), textColor);
    m_Target->SetTransform(D2D1::IdentityMatrix());
    return drawn;
}

} // namespace KUV::Preview
