#include "Core/Controllers.h"

#include <cmath>
#include <limits>
#include <utility>

#include "Core/ITavisk.h"
#include "Core/SceneReader.h"

namespace KUV {

namespace {

constexpr double Pi = 3.141592653589793;
constexpr double TwoPi = 6.283185307179586;

// An empty window makes controllers divide by zero; the result is what IEEE division
// gives (an infinity or NaN, which drawing skips), without the division itself.
double Quotient(double numerator, double denominator)
{
    if (denominator != 0.0) return numerator / denominator;
    if (std::isnan(numerator) || numerator == 0.0) return std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    return std::signbit(numerator) != std::signbit(denominator) ? -infinity : infinity;
}

// Rounds to float; values beyond the float range become infinities instead of undefined conversions.
float NarrowToFloat(double value)
{
    constexpr double largest = std::numeric_limits<float>::max();
    if (value > largest) return std::numeric_limits<float>::infinity();
    if (value < -largest) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

// A controller of the kind, made of values, with the record's header keys.
template <class Kind, class... Values>
std::shared_ptr<Kind> MakeController(const ControllerHeader& header, Values&&... values)
{
    auto controller = std::make_shared<Kind>(std::forward<Values>(values)...);
    controller->m_Target = header.target;
    controller->m_Begin = header.begin;
    controller->m_End = header.end;
    controller->m_Loops = header.loops;
    return controller;
}

std::shared_ptr<LinearController> MakeLinear(
    const ControllerHeader& header, const std::string& target, const ValueD& from, const ValueD& to)
{
    auto linear = MakeController<LinearController>(header, from, to);
    linear->m_Target = target;
    return linear;
}

} // namespace

float ConstController::Evaluate(int)
{
    return m_Value.Get();
}

float LinearController::Evaluate(int t)
{
    const double x = Quotient(TickDifference(t, m_Begin), TickDifference(m_End, m_Begin));
    const double b = m_BeginValue.Get();
    const double e = m_EndValue.Get();
    return NarrowToFloat(e * x + (1.0 - x) * b);
}

float SinusoidalController::Evaluate(int t)
{
    const double f = Quotient(m_Frequency.Get(), TickDifference(m_End, m_Begin));
    const double p = m_Phase.Get();
    const double angle = (p + p) * Pi / 360.0 + f * TwoPi * TickDifference(t, m_Begin);
    const double dc = m_Dc.Get();
    const double amplitude = m_Amplitude.Get();
    return NarrowToFloat(dc + amplitude * std::sin(angle));
}

float AdditionController::Evaluate(int t)
{
    float sum = 0.f;
    for (const std::shared_ptr<ControllerBase>& child : m_Children)
        sum += child->Evaluate(t);
    return sum;
}

void Trigger::Update(int time)
{
    if (TickDifference(time, m_StartTime) < m_Begin || m_State != Idle) return;
    m_State = Finished;
    static_cast<void>(m_TargetKuv->StartAnimation(m_TargetAnimation, TickSum(m_StartTime, m_Begin)));
}

float Trigger::Evaluate(int)
{
    return 0.f;
}

ControllerHeader ReadControllerHeader(SceneReader& reader)
{
    ControllerHeader header;
    header.target = reader.ReadWord("target");
    header.begin = reader.ReadInt("begin");
    header.end = reader.ReadInt("end");
    header.loops = reader.ReadInt("loops") != 0;
    return header;
}

std::shared_ptr<ControllerBase> ReadConstController(SceneReader& reader)
{
    const ControllerHeader header = ReadControllerHeader(reader);
    return MakeController<ConstController>(header, reader.ReadValue("value"));
}

std::shared_ptr<ControllerBase> ReadLinearController(SceneReader& reader)
{
    const ControllerHeader header = ReadControllerHeader(reader);
    const ValueD from = reader.ReadValue("beginValue");
    const ValueD to = reader.ReadValue("endValue");
    return MakeLinear(header, header.target, from, to);
}

std::shared_ptr<ControllerBase> ReadLinear2dController(SceneReader& reader)
{
    const ControllerHeader header = ReadControllerHeader(reader);
    const std::string targetY = reader.ReadWord("targetY");
    const ValueD fromX = reader.ReadValue("beginValue");
    const ValueD fromY = reader.ReadValue();
    const ValueD toX = reader.ReadValue("endValue");
    const ValueD toY = reader.ReadValue();
    auto controller = MakeController<ConstController>(header);
    controller->m_Children = { MakeLinear(header, header.target, fromX, toX), MakeLinear(header, targetY, fromY, toY) };
    for (const std::shared_ptr<ControllerBase>& child : controller->m_Children)
        child->m_Owner = reader.scene;
    return controller;
}

std::shared_ptr<ControllerBase> ReadSinusoidalController(SceneReader& reader)
{
    const ControllerHeader header = ReadControllerHeader(reader);
    // Read one by one: the file gives the values in this order.
    ValueD dc = reader.ReadValue("dc");
    ValueD amplitude = reader.ReadValue("amplitude");
    ValueD frequency = reader.ReadValue("frequency");
    ValueD phase = reader.ReadValue("phase");
    return MakeController<SinusoidalController>(
        header, std::move(dc), std::move(amplitude), std::move(frequency), std::move(phase));
}

std::shared_ptr<ControllerBase> ReadAdditionController(SceneReader& reader)
{
    auto controller = MakeController<AdditionController>(ReadControllerHeader(reader));
    return controller;
}

std::shared_ptr<ControllerBase> ReadTrigger(SceneReader& reader)
{
    auto trigger = std::make_shared<Trigger>();
    trigger->m_Begin = reader.ReadInt("begin");
    trigger->m_TargetKuv = reader.Find<ITavisk>(reader.ReadWord("targetKuv"));
    trigger->m_TargetAnimation = reader.ReadWord("targetAnimation");
    return trigger;
}

} // namespace KUV
