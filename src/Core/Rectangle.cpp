#include "Core/Rectangle.h"

#include "Core/Assert.h"
#include "Core/SceneReader.h"

namespace KUV {

std::shared_ptr<ID2D1Geometry> Rectangle::CreateResource()
{
    KUV_ASSERT(m_Factory);
    const float x = m_X.Get(), y = m_Y.Get();
    const D2D1_RECT_F rectangle { x, y, x + m_W.Get(), y + m_H.Get() };
    return CreateChecked(
        [&](ID2D1RectangleGeometry** out) { return m_Factory->CreateRectangleGeometry(rectangle, out); });
}

std::shared_ptr<GeometryBase> ReadRectangle(SceneReader& reader)
{
    auto rectangle = std::make_shared<Rectangle>();
    rectangle->m_X = reader.ReadValue("x");
    rectangle->m_Y = reader.ReadValue("y");
    rectangle->m_W = reader.ReadValue("w");
    rectangle->m_H = reader.ReadValue("h");
    return rectangle;
}

} // namespace KUV
