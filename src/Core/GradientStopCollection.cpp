#include "Core/GradientStopCollection.h"

#include "Core/Assert.h"
#include "Core/SceneReader.h"

namespace KUV {

std::shared_ptr<ID2D1GradientStopCollection> GradientStopCollection::CreateResource()
{
    KUV_ASSERT(m_RT);
    std::vector<D2D1_GRADIENT_STOP> stops(m_Stops.size());
    for (size_t i = 0; i < m_Stops.size(); ++i) {
        stops[i].color = m_Stops[i].color.Get();
        stops[i].position = m_Stops[i].position.Get();
    }
    return CreateChecked([&](ID2D1GradientStopCollection** out) {
        return m_RT->CreateGradientStopCollection(stops.data(), static_cast<UINT32>(stops.size()), D2D1_GAMMA_2_2,
            static_cast<D2D1_EXTEND_MODE>(m_ExtendMode), out);
    });
}

namespace {

GradientStop ReadGradientStop(SceneReader& reader)
{
    reader.Expect("GradientStop{");
    GradientStop stop;
    stop.position = reader.ReadValue();
    stop.color = reader.ReadColor();
    reader.Expect("}");
    return stop;
}

} // namespace

std::shared_ptr<GradientStopCollection> ReadGradientStopCollection(SceneReader& reader)
{
    reader.Expect("GradientStopCollection{");
    auto collection = std::make_shared<GradientStopCollection>();
    collection->m_RT = reader.renderTarget;
    reader.ReadList("noOfGradientStops", collection->m_Stops, ReadGradientStop);
    collection->m_ExtendMode = reader.ReadInt("extendMode");
    reader.Expect("}");
    return collection;
}

} // namespace KUV
