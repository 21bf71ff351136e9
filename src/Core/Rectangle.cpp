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
    ID2D1RectangleGeometry* created = nullptr;
    const HRESULT hr = m_Factory->CreateRectangleGeometry({ x, y, x + w, y + h }, &created);
    // Adopted before the check so that an object handed out with a failure code is still released.
    std::shared_ptr<ID2D1Geometry> geometry = AdoptInterface<ID2D1Geometry>(created);
    CheckD2DResult(hr);
    return geometry;
}

std::shared_ptr<GeometryBase> ReadRectangle(SceneReader& reader)
{
    auto rectangle = std::make_shared<Rectangle>();
    reader.Expect("x");
    rectangle->m_X = reader.ReadValue();
    reader.Expect("y");
    rectangle->m_Y = reader.ReadValue();
    reader.Expect("w");
    rectangle->m_W = reader.ReadValue();
    reader.Expect("h");
    rectangle->m_H = reader.ReadValue();
    return rectangle;
}

} // namespace KUV
