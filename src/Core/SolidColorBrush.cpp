#include "Core/SolidColorBrush.h"

#include "Core/Assert.h"
#include "Core/SceneReader.h"

namespace KUV {

std::shared_ptr<ID2D1Brush> SolidColorBrush::CreateResource()
{
    KUV_ASSERT(m_RT);
    const D2D1_BRUSH_PROPERTIES properties { m_Opacity.Get(), D2D1::IdentityMatrix() };
    const D2D1_COLOR_F color = m_Color.Get();
    ID2D1SolidColorBrush* created = nullptr;
    const HRESULT hr = m_RT->CreateSolidColorBrush(color, &properties, &created);
    std::shared_ptr<ID2D1Brush> brush = AdoptInterface<ID2D1Brush>(created);
    CheckD2DResult(hr);
    return brush;
}

std::shared_ptr<BrushBase> ReadSolidColorBrush(SceneReader& reader)
{
    auto brush = std::make_shared<SolidColorBrush>();
    brush->m_Color = reader.ReadColor();
    return brush;
}

} // namespace KUV
