#include "Core/Rectangle.h"

#include "Core/Assert.h"
#include "Core/SceneReader.h"

namespace KUV {

std::shared_ptr<ID2D1Geometry> Rectangle::CreateResource()
{
    KUV_ASSERT(m_Factory);
    const float x = m_X.Get();
    const float y = m_Y.Get();
    const float w = m_W.Get();
    const float h = m_H.Get();
    return CreateChecked([&](ID2D1RectangleGeometry** out) {
        return m_Factory->CreateRectangleGeometry({ x, y, x + w, y + h }, out);
    });
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
