#include "Core/LinearGradientBrush.h"

#include "Core/Assert.h"
#include "Core/SceneReader.h"

namespace KUV {

std::shared_ptr<ID2D1Brush> LinearGradientBrush::CreateResource()
{
    KUV_ASSERT(m_RT);
    const D2D1_BRUSH_PROPERTIES properties = Properties();
    const std::shared_ptr<ID2D1GradientStopCollection> stops = m_Stops->GetResource();
    return CreateChecked([&](ID2D1LinearGradientBrush** out) {
        return m_RT->CreateLinearGradientBrush({ m_Start.Get(), m_End.Get() }, &properties, stops.get(), out);
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
