#include "Core/Tavisk.h"

#include <new>
#include <stdexcept>

#include "Core/Animation.h"
#include "Core/Assert.h"
#include "Core/BrushBase.h"
#include "Core/ControllerBase.h"
#include "Core/ExecutableBase.h"
#include "Core/GeometryBase.h"
#include "Core/Image.h"
#include "Core/RenderWork.h"

namespace KUV {

void RaiseRuntimeBlockingError(const std::string& message)
{
    throw std::runtime_error("Tavisk Runtime Blocking Error:::" + message);
}

Tavisk::Tavisk(ID2D1RenderTarget* renderTarget)
    : m_RT(renderTarget)
    , m_CurrentAnimation(MainAnimation)
    , m_HitTestTransform(D2D1::IdentityMatrix())
{
    ResetTransformStack(D2D1::IdentityMatrix());
}

template <class Body> int Tavisk::Guarded(Body&& body)
{
    try {
        return body();
    } catch (const std::bad_alloc& e) {
        m_ErrorText = e.what();
        return ResultOutOfMemory;
    } catch (const std::runtime_error& e) {
        m_ErrorText = e.what();
        return ResultRuntimeError;
    } catch (const std::logic_error& e) {
        m_ErrorText = e.what();
        return ResultLogicError;
    } catch (...) {
        m_ErrorText = "unknown error";
        return ResultRuntimeError;
    }
}

int Tavisk::ReadVariable(const std::string& name, float* value)
{
    const auto it = m_Variables.find(name);
    if (it == m_Variables.end()) {
        m_ErrorText = "trying to read non-existing variable";
        return ResultNotFound;
    }
    *value = it->second;
    return ResultOk;
}

int Tavisk::WriteVariable(const std::string& name, float value)
{
    const auto it = m_Variables.find(name);
    if (it == m_Variables.end()) {
        m_ErrorText = "trying to write non-existing variable";
        return ResultNotFound;
    }
    it->second = value;
    return ResultOk;
}

int Tavisk::Update(int time)
{
    return Guarded([&] {
        const std::shared_ptr<Animation> animation = Find<Animation>(m_CurrentAnimation); // survives a switch below
        if (!animation) {
            m_ErrorText = m_CurrentAnimation + " animation does not exist";
            return int(ResultNotFound);
        }
        const std::string name = m_CurrentAnimation;
        if (animation->m_Active && animation->m_Controller) animation->m_Controller->Update(time);
        if (animation->m_Controller && animation->m_Controller->m_State == ControllerBase::Finished) {
            if (animation->m_TransitionTarget == NullName)
                RaiseRuntimeBlockingError(name + " is not a looping animation but it has a null transition target");
            StartAnimation(animation->m_TransitionTarget, time);
        }
        for (const auto& [childName, child] : Table<ITavisk>())
            child->Update(time);
        for (const auto& [imageName, image] : Table<Image>())
            image->OnUpdate();
        return int(ResultOk);
    });
}

int Tavisk::StartAnimation(const std::string& name, int time)
{
    return Guarded([&] {
        const std::shared_ptr<Animation> next = Find<Animation>(name);
        if (!next) {
            m_ErrorText = name + " animation does not exist";
            return int(ResultNotFound);
        }
        if (m_StartObserver) m_StartObserver(m_CurrentAnimation, name, time);
        if (const std::shared_ptr<Animation> current = Find<Animation>(m_CurrentAnimation)) current->m_Active = false;
        // Child scenes are rewound before the controller starts, so that a trigger firing
        // inside the start (one whose time is 0) is not undone by the rewind.
        for (const auto& [childName, child] : Table<ITavisk>())
            child->StartAnimation(MainAnimation, time);
        if (next->m_Controller) next->m_Controller->Start(time);
        next->m_Active = true;
        m_CurrentAnimation = name;
        return int(ResultOk);
    });
}

namespace {

// Work of the outermost render in progress, child renders included, so that work
// multiplied through child scenes counts against the same budget. A render and all its
// child renders run on the thread that called it, so each thread counts its own, as the
// procedures' nesting depth is counted: renders of separate scenes on separate threads
// neither race on the counters nor charge each other's budget.
thread_local std::uint64_t t_WorkThisRender = 0;
thread_local int t_RenderDepth = 0;

class RenderNesting {
public:
    RenderNesting()
    {
        if (t_RenderDepth++ == 0) t_WorkThisRender = 0;
    }
    ~RenderNesting() { --t_RenderDepth; }
    RenderNesting(const RenderNesting&) = delete;
    RenderNesting& operator=(const RenderNesting&) = delete;
};

} // namespace

int Tavisk::Render(const D2D_MATRIX_3X2_F* baseTransform, D2D_MATRIX_3X2_F* topTransform)
{
    const RenderNesting nesting;
    const int result = Guarded([&] {
        ChargeWork(RenderWork::PerComponent
            * (Table<GeometryBase>().size() + Table<BrushBase>().size() + Table<TransformResource>().size()));
        ResetTransformStack(baseTransform ? *baseTransform : D2D1::IdentityMatrix());
        for (const auto& [name, animation] : Table<Animation>())
            if (animation->m_Active && animation->m_RenderFunction) animation->m_RenderFunction->Execute();
        // A child render that ran out of work failed alone; the frame as a whole fails too.
        if (t_RenderDepth == 1) ChargeWork(0);
        return int(ResultOk);
    });
    // Also after a failed render: dynamic resources built from this frame's values must
    // not survive into the next frame.
    ReleaseDynamicResources();
    if (result == ResultOk && topTransform) *topTransform = CurrentTransform();
    return result;
}

int Tavisk::HitTest(int x, int y, bool* hit)
{
    return Guarded([&] {
        *hit = false;
        D2D_MATRIX_3X2_F m = m_HitTestTransform;
        // A collapsed transform drew every geometry onto a line or a point: nothing can be hit.
        if (!D2D1InvertMatrix(&m)) return int(ResultOk);
        const float fx = static_cast<float>(x), fy = static_cast<float>(y);
        const D2D1_POINT_2F p { fx * m._11 + fy * m._21 + m._31, fx * m._12 + fy * m._22 + m._32 };
        for (const auto& [name, geometry] : Table<GeometryBase>()) {
            if (!geometry->m_HitTest) continue;
            const std::shared_ptr<ID2D1Geometry> built = geometry->GetResource();
            BOOL contains = FALSE;
            if (built) built->FillContainsPoint(p, nullptr, D2D1_DEFAULT_FLATTENING_TOLERANCE, &contains);
            if (contains == TRUE) {
                *hit = true;
                break;
            }
        }
        // Geometries that follow variables were built from the values of this moment;
        // the next render must build them from its own.
        for (const auto& [name, geometry] : Table<GeometryBase>())
            geometry->Cleanup();
        return int(ResultOk);
    });
}

void Tavisk::ResetTransformStack(const D2D_MATRIX_3X2_F& m)
{
    m_TransformStack.clear();
    m_TransformStack.push_back(m);
    m_RT->SetTransform(m);
}

void Tavisk::PushTransform(const D2D_MATRIX_3X2_F& transform)
{
    const D2D_MATRIX_3X2_F next = transform * CurrentTransform();
    m_TransformStack.push_back(next);
    m_RT->SetTransform(next);
}

void Tavisk::PopTransform()
{
    if (m_TransformStack.size() <= 1)
        RaiseRuntimeBlockingError("trying to run PopTransform while transform stack is empty");
    m_TransformStack.pop_back();
    m_RT->SetTransform(m_TransformStack.back());
}

D2D_MATRIX_3X2_F Tavisk::CurrentTransform() const
{
    KUV_ASSERT(m_TransformStack.size() > 0);
    return m_TransformStack.back();
}

void Tavisk::ChargeWork(std::uint64_t units)
{
    t_WorkThisRender += units;
    if (t_WorkThisRender > RenderWork::Budget)
        RaiseRuntimeBlockingError("the render needs more than its budget of " + std::to_string(RenderWork::Budget)
            + " work units (commands weighed by the pixels and outlines they draw); its procedures draw too much "
              "or call each other too often");
}

std::uint64_t Tavisk::WorkOfLastRender()
{
    return t_WorkThisRender;
}

void Tavisk::ReleaseDynamicResources()
{
    for (const auto& [name, geometry] : Table<GeometryBase>())
        geometry->Cleanup();
    for (const auto& [name, brush] : Table<BrushBase>())
        brush->Cleanup();
    for (const auto& [name, transform] : Table<TransformResource>())
        transform->Cleanup();
}

} // namespace KUV
