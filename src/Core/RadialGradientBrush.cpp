#include "Core/RadialGradientBrush.h"

#include "Core/Assert.h"
#include "Core/SceneReader.h"

namespace KUV {

std::shared_ptr<ID2D1Brush> RadialGradientBrush::CreateResource()
{
    KUV_ASSERT(m_RT);
    const D2D1_BRUSH_PROPERTIES properties { m_Opacity.Get(), D2D1::IdentityMatrix() };
    const D2D1_POINT_2F center = m_Center.Get();
    const D2D1_POINT_2F originOffset = m_OriginOffset.Get();
    const float radiusX = m_RadiusX.Get();
    const float radiusY = m_RadiusY.Get();
    std::shared_ptr<ID2D1GradientStopCollection> stops = m_Stops->GetResource();
    return CreateChecked([&](ID2D1RadialGradientBrush** out) {
        return m_RT->CreateRadialGradientBrush(
            { center, originOffset, radiusX, radiusY }, &properties, stops.get(), out);
    });
}

std::shared_ptr<BrushBase> ReadRadialGradientBrush(SceneReader& reader)
{
    auto brush = std::make_shared<RadialGradientBrush>();
    brush->m_Center = reader.ReadPoint("center");
    brush->m_OriginOffset = reader.ReadPoint("originOffset");
    brush->m_RadiusX = reader.ReadValue("radiusX");
    brush->m_RadiusY = reader.ReadValue("radiusY");
    brush->m_Stops = ReadGradientStopCollection(reader);
    return brush;
}

} // namespace KUV
