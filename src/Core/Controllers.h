// The controller kinds and the readers of their record bodies.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "Core/ControllerBase.h"
#include "Core/ValueD.h"

namespace KUV {

class ITavisk;

// Tick counts wrap around after 49.7 days; differences and sums are taken modulo 2^32.
inline int TickDifference(int later, int earlier)
{
    return static_cast<int>(static_cast<std::uint32_t>(later) - static_cast<std::uint32_t>(earlier));
}
inline int TickSum(int time, int offset)
{
    return static_cast<int>(static_cast<std::uint32_t>(time) + static_cast<std::uint32_t>(offset));
}

class ConstController : public ControllerBase {
public:
    ConstController() = default;
    explicit ConstController(ValueD value)
        : m_Value(std::move(value))
    {
    }
    // The value, whatever the time.
    float Evaluate(int t) override;

private:
    ValueD m_Value;
};

class LinearController : public ControllerBase {
public:
    LinearController(ValueD beginValue, ValueD endValue)
        : m_BeginValue(std::move(beginValue))
        , m_EndValue(std::move(endValue))
    {
    }
    // The line from the begin value at the window's opening to the end value at its end, not clamped.
    float Evaluate(int t) override;

private:
    ValueD m_BeginValue;
    ValueD m_EndValue;
};

class SinusoidalController : public ControllerBase {
public:
    SinusoidalController(ValueD dc, ValueD amplitude, ValueD frequency, ValueD phase)
        : m_Dc(std::move(dc))
        , m_Amplitude(std::move(amplitude))
        , m_Frequency(std::move(frequency))
        , m_Phase(std::move(phase))
    {
    }
    // dc + amplitude * sin(phase in degrees + frequency full periods per window).
    float Evaluate(int t) override;

private:
    ValueD m_Dc;
    ValueD m_Amplitude;
    ValueD m_Frequency;
    ValueD m_Phase;
};

class AdditionController : public ControllerBase {
public:
    // The sum of the children's values at the same relative time.
    float Evaluate(int t) override;
};

class Trigger : public ControllerBase {
public:
    // Starts the child scene's animation once per start, at start + begin.
    void Update(int time) override;
    // Always 0.
    float Evaluate(int t) override;

    std::shared_ptr<ITavisk> m_TargetKuv;
    std::string m_TargetAnimation;
};

// The keys every record but "Trigger{" begins with.
struct ControllerHeader {
    std::string target;
    int begin = 0;
    int end = 0;
    bool loops = false;
};

ControllerHeader ReadControllerHeader(SceneReader& reader);

// Body readers: the keys after the opener, the header first where there is one.
std::shared_ptr<ControllerBase> ReadConstController(SceneReader& reader);
std::shared_ptr<ControllerBase> ReadLinearController(SceneReader& reader);
std::shared_ptr<ControllerBase> ReadLinear2dController(SceneReader& reader);
std::shared_ptr<ControllerBase> ReadSinusoidalController(SceneReader& reader);
std::shared_ptr<ControllerBase> ReadAdditionController(SceneReader& reader);
std::shared_ptr<ControllerBase> ReadTrigger(SceneReader& reader);

} // namespace KUV
