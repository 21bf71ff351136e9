#include "Core/Ellipse.h"

#include "Core/Assert.h"
#include "Core/SceneReader.h"

namespace KUV {

std::shared_ptr<ID2D1Geometry> Ellipse::CreateResource()
{
    KUV_ASSERT(m_Factory);
    const D2D1_ELLIPSE ellipse { m_Center.Get(), m_RadiusX.Get(), m_RadiusY.Get() };
    return CreateChecked([&](ID2D1EllipseGeometry** out) { return m_Factory->CreateEllipseGeometry(ellipse, out); });
}

std::shared_ptr<GeometryBase> ReadEllipse(SceneReader& reader)
{
    auto ellipse = std::make_shared<Ellipse>();
    ellipse->m_Center = reader.ReadPoint("center");
    ellipse->m_RadiusX = reader.ReadValue("radiusX");
    ellipse->m_RadiusY = reader.ReadValue("radiusY");
    return ellipse;
}

} // namespace KUV
