// The scene object: the component tables, the variables, the current
// animation and the transform stack of the render in progress.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "Core/ITavisk.h"
#include "Core/NameTable.h"
#include "Core/TaviskComponent.h"

namespace KUV {

// The animation a scene starts on when it is loaded, and its child scenes whenever it starts one.
inline constexpr char MainAnimation[] = "MainAnim";

// A variable that a parent's child-scene record writes into the child when it is loaded.
struct ChildArgument {
    std::string name;
    float value = 0.f;
    SourceLocation readAt;
};

// What the loader notes about where a scene came from, for authoring tools; the
// scene's own operations never read it.
struct SceneOrigin {
    std::string file; // the path the scene was loaded from, as given
    std::map<std::string, SourceLocation> variableSites; // where each variable is first named
    std::vector<ChildArgument> arguments; // given by the parent's child-scene record
    SourceLocation record; // the parent's child-scene record; empty for a root scene
};

// Throws std::runtime_error "Tavisk Runtime Blocking Error:::" + message.
[[noreturn]] void RaiseRuntimeBlockingError(const std::string& message);

class Tavisk : public ITavisk {
public:
    explicit Tavisk(ID2D1RenderTarget* renderTarget);

    int ReadVariable(const std::string& name, float* value) override;
    int WriteVariable(const std::string& name, float value) override;
    int Render(const D2D_MATRIX_3X2_F* baseTransform, D2D_MATRIX_3X2_F* topTransform) override;
    int Update(int time) override;
    int HitTest(int x, int y, bool* hit) override;
    int StartAnimation(const std::string& name, int time) override;
    const std::string& GetErrorText() override { return m_ErrorText; }

    // The table of one kind of component: GeometryBase, BrushBase, Image, TransformResource,
    // ITavisk (child scenes), ExecutableBase, ControllerBase or Animation. The loader fills
    // the tables; nothing else adds to them.
    template <class T> NameTable<T>& Table() { return std::get<NameTable<T>>(m_Tables); }
    template <class T> const NameTable<T>& Table() const { return std::get<NameTable<T>>(m_Tables); }
    // The component of kind T so named, or an empty pointer.
    template <class T> std::shared_ptr<T> Find(const std::string& name) const { return Table<T>().Find(name); }

    // Creates the variable (or resets it) to 0: what a "$" value in the scene text does.
    void DeclareVariable(const std::string& name) { m_Variables[name] = 0.f; }
    const std::map<std::string, float>& Variables() const { return m_Variables; }
    const std::string& CurrentAnimation() const { return m_CurrentAnimation; }

    // Transform stack of the render in progress; each change sets the new top on the render target.
    void PushTransform(const D2D_MATRIX_3X2_F& transform);
    void PopTransform();
    D2D_MATRIX_3X2_F CurrentTransform() const;
    void CaptureHitTestTransform() { m_HitTestTransform = CurrentTransform(); }

    // Adds work (RenderWork units) to the render in progress; a render, with the child renders
    // inside it, that needs more than the budget stops with a blocking error instead of
    // running for hours.
    void ChargeWork(std::uint64_t units);
    // The work of the calling thread's last outermost render, up to where it ended.
    static std::uint64_t WorkOfLastRender();

    ID2D1RenderTarget* m_RT;
    SceneOrigin m_Origin;
    // Told of every start of an existing animation (from, to, tick) before it takes effect;
    // empty unless a tool traces the run.
    std::function<void(const std::string&, const std::string&, int)> m_StartObserver;

private:
    void ResetTransformStack(const D2D_MATRIX_3X2_F& m);
    void ReleaseDynamicResources();
    template <class Body> int Guarded(Body&& body);

    std::map<std::string, float> m_Variables;
    std::tuple<NameTable<GeometryBase>, NameTable<BrushBase>, NameTable<Image>, NameTable<TransformResource>,
        NameTable<ITavisk>, NameTable<ExecutableBase>, NameTable<ControllerBase>, NameTable<Animation>>
        m_Tables;
    std::string m_CurrentAnimation;
    std::vector<D2D_MATRIX_3X2_F> m_TransformStack;
    D2D_MATRIX_3X2_F m_HitTestTransform;
    std::string m_ErrorText;
};

} // namespace KUV
