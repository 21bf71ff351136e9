#include "Web/WebShow.h"

#include <chrono>
#include <utility>

#include "Core/Factory.h"
#include "Core/Tavisk.h"
#include "Web/CanvasPixels.h"

namespace KUV::Web {

namespace {

using Clock = std::chrono::steady_clock;

// The largest side a frame is drawn at: twice a 4K screen's.
constexpr int MaxSide = 8192;

double MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

} // namespace

WebShow::WebShow(int width, int height)
    : m_Width(width)
    , m_Height(height)
    , m_PixelWidth(width)
    , m_PixelHeight(height)
    , m_Rgba(std::size_t(width) * std::size_t(height) * 4u, 0)
{
}

WebShow::~WebShow() = default;

bool WebShow::Fail(std::string text)
{
    m_Error = std::move(text);
    return false;
}

// The target's resolution says how many pixels a unit of the scene covers: the scene draws in its
// own units at any pixel size.
bool WebShow::CreateTarget()
{
    D2D1_RENDER_TARGET_PROPERTIES properties = D2D1::RenderTargetProperties();
    properties.dpiX = D2D1_DEFAULT_DPI * float(m_PixelWidth) / float(m_Width);
    properties.dpiY = D2D1_DEFAULT_DPI * float(m_PixelHeight) / float(m_Height);
    const D2D1_SIZE_U size { UINT32(m_PixelWidth), UINT32(m_PixelHeight) };
    if (D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, m_D2DFactory.ReleaseAndGetAddressOf()) != S_OK
        || m_D2DFactory->CreateImageRenderTarget(properties, size, m_Target.ReleaseAndGetAddressOf()) != S_OK)
        return Fail("unable to create render target");
    m_Target->SetAntialiasMode(D2D1_ANTIALIAS_MODE_ALIASED);
    m_Rgba.assign(std::size_t(m_PixelWidth) * std::size_t(m_PixelHeight) * 4u, 0);
    return true;
}

bool WebShow::Load(const std::string& scenePath)
{
    m_ScenePath = scenePath;
    m_Clock = ShowClock();
    // Updated at 0 but not drawn: a frame drawn changes what later frames show (drawing sets child
    // scenes' variables), and a seek must reach the frame tvs-render draws at its tick.
    return CreateTarget() && LoadScene() && UpdateAt(m_Clock.Seek(0).updates);
}

bool WebShow::Resize(int pixelWidth, int pixelHeight)
{
    if (pixelWidth == m_PixelWidth && pixelHeight == m_PixelHeight) return true;
    if (pixelWidth <= 0 || pixelHeight <= 0 || pixelWidth > MaxSide || pixelHeight > MaxSide)
        return Fail("unable to create render target");
    m_PixelWidth = pixelWidth;
    m_PixelHeight = pixelHeight;
    if (!m_Scene) return true;
    // The scene's resources belong to the target it was loaded for.
    const std::int32_t tick = m_Clock.Tick();
    m_Clock = ShowClock();
    m_Scene.reset();
    if (!CreateTarget() || !LoadScene() || !UpdateAt(m_Clock.Seek(tick).updates)) return false;
    return Draw();
}

bool WebShow::LoadScene()
{
    Factory* factory = GetSceneFactory();
    if (factory == nullptr) return Fail("Unable to create KUV Factory");
    ITavisk* scene = nullptr;
    m_Scene.reset();
    const int status = factory->LoadTavisk(m_ScenePath, 0, m_Target.Get(), &scene);
    m_Scene.reset(scene);
    return status == LoadOk ? true : Fail(factory->GetErrorText());
}

bool WebShow::UpdateAt(const std::vector<std::int32_t>& ticks)
{
    const Clock::time_point update = Clock::now();
    for (const std::int32_t tick : ticks)
        if (m_Scene->Update(tick) != ResultOk) return Fail(m_Scene->GetErrorText());
    m_State.updateMs = MillisecondsSince(update);
    if (const auto* tavisk = dynamic_cast<const Tavisk*>(m_Scene.get())) m_State.animation = tavisk->CurrentAnimation();
    return true;
}

bool WebShow::Draw()
{
    static const D2D1_COLOR_F white { 1.f, 1.f, 1.f, 1.f };
    const D2D1_MATRIX_3X2_F identity = D2D1::IdentityMatrix();
    const Clock::time_point render = Clock::now();
    m_Target->BeginDraw();
    m_Target->Clear(&white);
    if (m_Scene->Render(&identity, nullptr) != ResultOk) {
        m_Target->EndDraw();
        return Fail(m_Scene->GetErrorText());
    }
    if (m_Target->EndDraw() != S_OK) return Fail("Rendering Error");
    UINT32 stride = 0;
    const BYTE* pixels = m_Target->GetPixels(&stride);
    ToCanvasRgba(pixels, stride, m_PixelWidth, m_PixelHeight, m_Rgba.data());
    m_State.renderMs = MillisecondsSince(render);
    return true;
}

bool WebShow::Frame(double audioMs)
{
    if (!m_Scene) return false;
    const std::int32_t before = m_Clock.Tick();
    const std::int32_t tick = m_Clock.FrameTick(audioMs);
    m_State.tick = tick;
    m_State.ended = m_Clock.Ended();
    if (tick != before && !UpdateAt({ tick })) return false;
    return Draw();
}

bool WebShow::Seek(std::int32_t ms)
{
    const SeekPlan plan = m_Clock.Seek(ms);
    if ((plan.reload || !m_Scene) && !LoadScene()) return false;
    if (!UpdateAt(plan.updates)) return false;
    m_State.tick = m_Clock.Tick();
    m_State.ended = false;
    return Draw();
}

} // namespace KUV::Web
