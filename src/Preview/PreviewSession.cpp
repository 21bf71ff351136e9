#include "Preview/PreviewSession.h"

#include <algorithm>
#include <chrono>

#include "Core/Factory.h"
#include "Core/Tavisk.h"
#include "Preview/PreviewTimeline.h"

namespace KUV::Preview {
namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The first 16-ms grid tick after tick (tick -1: the grid's start).
std::int64_t NextGridTick(std::int64_t tick)
{
    return tick < 0 ? 0 : (tick / PreviewFrameMs + 1) * PreviewFrameMs;
}

void CollectAnimations(const KUV::ITavisk& scene, const std::string& name, std::vector<SceneAnimation>& out)
{
    const auto* tavisk = dynamic_cast<const KUV::Tavisk*>(&scene);
    if (!tavisk) return;
    out.push_back({ name, tavisk->CurrentAnimation() });
    for (const auto& [childName, child] : tavisk->Table<KUV::ITavisk>())
        if (child) CollectAnimations(*child, name.empty() ? childName : name + "/" + childName, out);
}

} // namespace

PreviewSession::PreviewSession(KUV::Factory& factory, ID2D1RenderTarget* target, std::string scenePath)
    : m_Factory(factory)
    , m_Target(target)
    , m_ScenePath(std::move(scenePath))
{
}

PreviewSession::~PreviewSession() = default;

bool PreviewSession::LoadAt(std::int64_t tick)
{
    const Clock::time_point start = Clock::now();
    KUV::ITavisk* loaded = nullptr;
    const bool ok = m_Factory.LoadTavisk(m_ScenePath, 0, m_Target, &loaded) == KUV::LoadOk;
    WatchLoadedFiles(ok);
    if (ok)
        Start(loaded, tick);
    else
        m_LoadError = m_Factory.GetErrorText();
    m_LastLoadMs = MillisecondsSince(start);
    return ok;
}

void PreviewSession::Start(KUV::ITavisk* loaded, std::int64_t tick)
{
    m_Scene.reset(loaded);
    m_LoadError.clear();
    m_SceneError.clear();
    m_UpdatedTo = -1;
    m_OnGrid = true;
    UpdateTo(std::clamp<std::int64_t>(tick, 0, PreviewMaxTick));
}

// Playing leaves the scene at the last grid tick it passed; the reload replays to the same one.
bool PreviewSession::Reload()
{
    const std::int64_t shown = m_Tick;
    if (!LoadAt(m_OnGrid ? m_Tick / PreviewFrameMs * PreviewFrameMs : m_Tick)) return false;
    m_Tick = shown;
    return true;
}

// A seek whose load fails still moves the show; the last good scene stays as it was.
void PreviewSession::SeekTo(std::int64_t tick)
{
    if (m_Scene && m_OnGrid && tick >= m_UpdatedTo)
        UpdateTo(tick);
    else if (!LoadAt(tick))
        m_Tick = tick;
}

void PreviewSession::PlayTo(std::int64_t tick)
{
    const Clock::time_point start = Clock::now();
    for (std::int64_t grid = NextGridTick(m_UpdatedTo); grid <= tick && m_Scene; grid += PreviewFrameMs)
        UpdateAt(grid);
    m_Tick = tick;
    m_LastUpdateMs = MillisecondsSince(start);
}

// The grid ticks up to tick, then tick itself when it lies between them.
void PreviewSession::UpdateTo(std::int64_t tick)
{
    PlayTo(tick);
    if (m_Scene && m_UpdatedTo != tick) {
        UpdateAt(tick);
        m_OnGrid = false;
    }
}

void PreviewSession::UpdateAt(std::int64_t tick)
{
    if (m_Scene->Update(static_cast<int>(tick)) != KUV::ResultOk && m_SceneError.empty())
        m_SceneError = "Update at " + SecondsText(tick) + " s: " + m_Scene->GetErrorText();
    m_UpdatedTo = tick;
}

void PreviewSession::Render()
{
    if (!m_Scene) return;
    const Clock::time_point start = Clock::now();
    const D2D1_MATRIX_3X2_F identity = D2D1::IdentityMatrix();
    if (m_Scene->Render(&identity, nullptr) != KUV::ResultOk && m_SceneError.empty())
        m_SceneError = "Render at " + SecondsText(m_UpdatedTo) + " s: " + m_Scene->GetErrorText();
    m_LastRenderMs = MillisecondsSince(start);
}

std::string PreviewSession::ErrorText() const
{
    if (!m_LoadError.empty()) return m_LoadError;
    return m_SceneError;
}

// A failed load may not have reached every file of the good scene, and the good one may not
// name the file that broke: both are watched until a load succeeds.
void PreviewSession::WatchLoadedFiles(bool loaded)
{
    const std::vector<std::string>& read = m_Factory.FilesRead();
    if (loaded) {
        m_WatchedFiles = read;
        return;
    }
    for (const std::string& file : read)
        if (std::find(m_WatchedFiles.begin(), m_WatchedFiles.end(), file) == m_WatchedFiles.end())
            m_WatchedFiles.push_back(file);
}

std::vector<SceneAnimation> PreviewSession::Animations() const
{
    std::vector<SceneAnimation> animations;
    if (m_Scene) CollectAnimations(*m_Scene, "", animations);
    return animations;
}

} // namespace KUV::Preview
