// Controllers: values computed from the time since their start, written into
// scene variables during a window of time.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Core/TaviskComponent.h"

namespace KUV {

class SceneReader;

class ControllerBase : public TaviskComponent {
public:
    enum State : int { Idle = 0, Running = 1, Finished = 2 };

    // Restarts at tick count time (and evaluates once at time).
    virtual void Start(int time);
    // Advances to tick count time.
    virtual void Update(int time);
    // The value at t milliseconds after the start.
    virtual float Evaluate(int t) = 0;

    std::vector<std::shared_ptr<ControllerBase>> m_Children;
    int m_StartTime = -100000;
    std::string m_Target;
    int m_Begin = 0;
    int m_End = 0;
    bool m_Loops = false;
    int m_State = Idle;
};

// Reads one controller record (with its children).
std::shared_ptr<ControllerBase> ReadController(SceneReader& reader);

} // namespace KUV
