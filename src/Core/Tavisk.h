// The scene object: the component tables, the variables, the current
// animation and the transform stack of the render in progress.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Core/ITavisk.h"
#include "Core/TaviskComponent.h"

namespace KUV {

class GeometryBase;
class BrushBase;
class Image;
class ExecutableBase;
class ControllerBase;
class Animation;

template <class T> using NameTable = std::map<std::string, std::shared_ptr<T>>;

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

    // Registration while loading: a duplicate name throws std::invalid_argument with
    // name + the kind's "was defined as ... before" text.
    void RegisterGeometry(const std::string& name, std::shared_ptr<GeometryBase> component);
    void RegisterBrush(const std::string& name, std::shared_ptr<BrushBase> component);
    void RegisterImage(const std::string& name, std::shared_ptr<Image> component);
    void RegisterTransform(const std::string& name, std::shared_ptr<TransformResource> component);
    void RegisterChildKuv(const std::string& name, std::shared_ptr<ITavisk> component);
    void RegisterExecutable(const std::string& name, std::shared_ptr<ExecutableBase> component);
    void RegisterController(const std::string& name, std::shared_ptr<ControllerBase> component);
    void RegisterAnimation(const std::string& name, std::shared_ptr<Animation> component);

    // Lookups never insert; an absent name gives an empty pointer.
    std::shared_ptr<GeometryBase> FindGeometry(const std::string& name) const;
    std::shared_ptr<BrushBase> FindBrush(const std::string& name) const;
    std::shared_ptr<Image> FindImage(const std::string& name) const;
    std::shared_ptr<TransformResource> FindTransform(const std::string& name) const;
    std::shared_ptr<ITavisk> FindChildKuv(const std::string& name) const;
    std::shared_ptr<ExecutableBase> FindExecutable(const std::string& name) const;
    std::shared_ptr<ControllerBase> FindController(const std::string& name) const;

    // Creates the variable (or resets it) to 0: what a "$" value in the scene text does.
    void DeclareVariable(const std::string& name) { m_Variables[name] = 0.f; }
    const std::map<std::string, float>& Variables() const { return m_Variables; }
    const std::string& CurrentAnimation() const { return m_CurrentAnimation; }
    const NameTable<ITavisk>& ChildKuvs() const { return m_ChildKuvs; }

    // Transform stack of the render in progress; each change sets the new top on the render target.
    void PushTransform(const D2D_MATRIX_3X2_F& transform);
    void PopTransform();
    D2D_MATRIX_3X2_F CurrentTransform() const;
    void CaptureHitTestTransform() { m_HitTestTransform = CurrentTransform(); }

    // Adds work (RenderWork units) to the render in progress; a render, with the child renders
    // inside it, that needs more than the budget stops with a blocking error instead of
    // running for hours.
    void ChargeWork(std::uint64_t units);
    // The work of the last outermost render, up to where it ended.
    static std::uint64_t WorkOfLastRender();

    // Read-only views of the tables, for tools that inspect a loaded scene.
    const NameTable<GeometryBase>& Geometries() const { return m_Geometries; }
    const NameTable<BrushBase>& Brushes() const { return m_Brushes; }
    const NameTable<Image>& Images() const { return m_Images; }
    const NameTable<TransformResource>& Transforms() const { return m_Transforms; }
    const NameTable<ExecutableBase>& Executables() const { return m_Executables; }
    const NameTable<ControllerBase>& Controllers() const { return m_Controllers; }
    const NameTable<Animation>& Animations() const { return m_Animations; }

    ID2D1RenderTarget* m_RT;
    SceneOrigin m_Origin;
    // Told of every start of an existing animation (from, to, tick) before it takes effect;
    // empty unless a tool traces the run.
    std::function<void(const std::string&, const std::string&, int)> m_StartObserver;

private:
    void ResetTransformStack(const D2D_MATRIX_3X2_F& m);
    void AdvanceCurrentAnimation(int time);
    void ReleaseDynamicResources();
    template <class Body> int Guarded(Body&& body);

    std::map<std::string, float> m_Variables;
    NameTable<GeometryBase> m_Geometries;
    NameTable<BrushBase> m_Brushes;
    NameTable<Image> m_Images;
    NameTable<TransformResource> m_Transforms;
    NameTable<ITavisk> m_ChildKuvs;
    NameTable<ExecutableBase> m_Executables;
    NameTable<ControllerBase> m_Controllers;
    NameTable<Animation> m_Animations;
    std::string m_CurrentAnimation;
    std::vector<D2D_MATRIX_3X2_F> m_TransformStack;
    D2D_MATRIX_3X2_F m_HitTestTransform;
    std::string m_ErrorText;
};

} // namespace KUV
