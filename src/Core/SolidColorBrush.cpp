#include "Core/SolidColorBrush.h"

#include "Core/Assert.h"
#include "Core/SceneReader.h"

namespace KUV {

std::shared_ptr<ID2D1Brush> SolidColorBrush::CreateResource()
{
    KUV_ASSERT(m_RT);
    const D2D1_BRUSH_PROPERTIES properties = Properties();
    return CreateChecked(
        [&](ID2D1SolidColorBrush** out) { return m_RT->CreateSolidColorBrush(m_Color.Get(), &properties, out); });
}

std::shared_ptr<BrushBase> ReadSolidColorBrush(SceneReader& reader)
{
    auto brush = std::make_shared<SolidColorBrush>();
    brush->m_Color = reader.ReadColor();
    return brush;
}

} // namespace KUV
