#include "Core/ControllerBase.h"

#include <string>

#include "Core/Controllers.h"
#include "Core/RecordOpeners.h"
#include "Core/Tavisk.h"

namespace KUV {

namespace {

constexpr RecordOpener<ControllerBase> Openers[] = {
    { "Const{", &ReadConstController },
    { "Linear{", &ReadLinearController },
    { "Linear2d{", &ReadLinear2dController },
    { "Sinusoidal{", &ReadSinusoidalController },
    { "Addition{", &ReadAdditionController },
    { "Trigger{", &ReadTrigger },
};

thread_local int t_RecordNesting = 0;

// Holds the end value from now on and lets the children finish with the same time.
void Finish(ControllerBase& controller, int time)
{
    if (controller.m_Target != NullName) {
        const float value = controller.Evaluate(controller.m_End);
        static_cast<void>(controller.m_Owner->WriteVariable(controller.m_Target, value));
    }
    for (const std::shared_ptr<ControllerBase>& child : controller.m_Children)
        child->Update(time);
    controller.m_State = ControllerBase::Finished;
}

} // namespace

void ControllerBase::Start(int time)
{
    m_StartTime = time;
    m_State = Idle;
    for (const std::shared_ptr<ControllerBase>& child : m_Children)
        child->Start(time);
    Update(time);
}

void ControllerBase::Update(int time)
{
    const int elapsed = TickDifference(time, m_StartTime);
    if (m_Begin <= elapsed && elapsed < m_End) {
        m_State = Running;
        const float value = Evaluate(elapsed);
        if (m_Target != NullName) static_cast<void>(m_Owner->WriteVariable(m_Target, value));
        for (const std::shared_ptr<ControllerBase>& child : m_Children)
            child->Update(time);
    } else if (elapsed >= m_End && m_State == Running) {
        if (m_Loops)
            Start(TickSum(m_StartTime, m_End));
        else
            Finish(*this, time);
    }
}

std::shared_ptr<ControllerBase> ReadController(SceneReader& reader)
{
    return ReadNestingRecord(reader, Openers, "controller", t_RecordNesting,
        [&](ControllerBase& controller) { reader.ReadList("noOfChildren", controller.m_Children, ReadController); });
}

} // namespace KUV
