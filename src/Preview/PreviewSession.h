// The scene of the preview and its place in time: loading, exact seeking by replaying
// 16-ms updates from tick 0, reloading at the same tick, and every failure kept as text
// while the last good scene stays.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Core/ITavisk.h"

namespace KUV {
class Factory;
}

namespace KUV::Preview {

// A scene (the root is named "") and its current animation.
struct SceneAnimation {
    std::string scene;
    std::string animation;
};

class PreviewSession {
public:
    // Scenes of scenePath are loaded through factory, bound to target; both outlive the session.
    PreviewSession(KUV::Factory& factory, ID2D1RenderTarget* target, std::string scenePath);
    ~PreviewSession();
    PreviewSession(const PreviewSession&) = delete;
    PreviewSession& operator=(const PreviewSession&) = delete;

    // Loads the scene file afresh and replays it to tick. A failed load keeps the previous
    // scene (if any) and its tick, and returns false; ErrorText tells why.
    bool LoadAt(std::int64_t tick);
    // Loads the files anew at the tick the scene has reached.
    bool Reload();
    // Brings the scene to tick exactly as updates every 16 ms from 0 would, then at tick.
    // Forward from such a state it goes on updating; otherwise it loads anew.
    void SeekTo(std::int64_t tick);
    // Plays on to tick: updates at every 16-ms step passed since the last one.
    void PlayTo(std::int64_t tick);
    // Renders the scene onto the target inside the caller's BeginDraw and EndDraw.
    void Render();

    bool HasScene() const { return m_Scene != nullptr; }
    KUV::ITavisk* Scene() const { return m_Scene.get(); }
    std::int64_t Tick() const { return m_Tick; }
    // The failure on screen: the last load's, or the scene's last update or render failure
    // since it was loaded. Empty when all went well.
    std::string ErrorText() const;
    // The files the scene read (or the failed load tried), to watch for changes.
    const std::vector<std::string>& WatchedFiles() const { return m_WatchedFiles; }
    // The root's current animation, then each child's (nested ones as "parent/child").
    std::vector<SceneAnimation> Animations() const;

    double LastLoadMs() const { return m_LastLoadMs; } // load and replay
    double LastUpdateMs() const { return m_LastUpdateMs; }
    double LastRenderMs() const { return m_LastRenderMs; }

private:
    void Start(KUV::ITavisk* loaded, std::int64_t tick);
    void UpdateTo(std::int64_t tick);
    void UpdateAt(std::int64_t tick);
    void WatchLoadedFiles(bool loaded);

    KUV::Factory& m_Factory;
    ID2D1RenderTarget* m_Target;
    std::string m_ScenePath;
    std::unique_ptr<KUV::ITavisk> m_Scene;
    std::int64_t m_Tick = 0; // where the show is
    std::int64_t m_UpdatedTo = -1; // the tick of the scene's last update
    bool m_OnGrid = true; // every update so far fell on the 16-ms grid from 0
    std::string m_LoadError;
    std::string m_SceneError;
    std::vector<std::string> m_WatchedFiles;
    double m_LastLoadMs = 0;
    double m_LastUpdateMs = 0;
    double m_LastRenderMs = 0;
};

} // namespace KUV::Preview
