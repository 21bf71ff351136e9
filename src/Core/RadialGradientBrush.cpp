#include "Core/RadialGradientBrush.h"

#include "Core/Assert.h"
#include "Core/SceneReader.h"

namespace KUV {

std::shared_ptr<ID2D1Brush> RadialGradientBrush::CreateResource()
{
    KUV_ASSERT(m_RT);
    const D2D1_BRUSH_PROPERTIES properties = Properties();
    const D2D1_RADIAL_GRADIENT_BRUSH_PROPERTIES shape { m_Center.Get(), m_OriginOffset.Get(), m_RadiusX.Get(),
        m_RadiusY.Get() };
    const std::shared_ptr<ID2D1GradientStopCollection> stops = m_Stops->GetResource();
    return CreateChecked([&](ID2D1RadialGradientBrush** out) {
        return m_RT->CreateRadialGradientBrush(shape, &properties, stops.get(), out);
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
