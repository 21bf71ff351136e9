#include "Core/LinearGradientBrush.h"

#include "Core/Assert.h"
#include "Core/SceneReader.h"

namespace KUV {

std::shared_ptr<ID2D1Brush> LinearGradientBrush::CreateResource()
{
    KUV_ASSERT(m_RT);
    const D2D1_BRUSH_PROPERTIES properties { m_Opacity.Get(), D2D1::IdentityMatrix() };
    const D2D1_POINT_2F start = m_Start.Get();
    const D2D1_POINT_2F end = m_End.Get();
    std::shared_ptr<ID2D1GradientStopCollection> stops = m_Stops->GetResource();
    return CreateChecked([&](ID2D1LinearGradientBrush** out) {
        return m_RT->CreateLinearGradientBrush({ start, end }, &properties, stops.get(), out);
    });
}

std::shared_ptr<BrushBase> ReadLinearGradientBrush(SceneReader& reader)
{
    auto brush = std::make_shared<LinearGradientBrush>();
    brush->m_Start = reader.ReadPoint("start");
    brush->m_End = reader.ReadPoint("end");
    brush->m_Stops = ReadGradientStopCollection(reader);
    return brush;
}

} // namespace KUV
