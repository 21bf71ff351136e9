#include "Core/CombinedGeometry.h"

#include "Core/Assert.h"
#include "Core/SceneReader.h"

namespace KUV {
namespace {

int ReadCombineMode(SceneReader& reader, const std::string& token)
{
    static const char* const Modes[] = { "Union", "Intersect", "Xor", "Exclude" };
    for (int mode = 0; mode < 4; ++mode)
        if (token == Modes[mode]) return mode;
    reader.RaiseParseError("Unknown combine mode \"" + token + "\"");
}

} // namespace

std::shared_ptr<GeometryBase> ReadCombinedGeometry(SceneReader& reader)
{
    reader.Expect("geometry1");
    const std::string first = reader.ReadWord();
    reader.Expect("geometry2");
    const std::string second = reader.ReadWord();
    const std::string mode = reader.ReadWord("mode");

    auto combined = std::make_shared<CombinedGeometry>();
    combined->m_Mode = ReadCombineMode(reader, mode);
    combined->m_Geometry1 = reader.Find<GeometryBase>(first);
    combined->m_Geometry2 = reader.Find<GeometryBase>(second);
    combined->m_Dynamic = combined->m_Geometry1->m_Dynamic || combined->m_Geometry2->m_Dynamic;
    return combined;
}

std::shared_ptr<ID2D1Geometry> CombinedGeometry::CreateResource()
{
    KUV_ASSERT(m_Factory);
    const auto path = CreateChecked([&](ID2D1PathGeometry** out) { return m_Factory->CreatePathGeometry(out); });
    const auto sink = CreateChecked([&](ID2D1GeometrySink** out) { return path->Open(out); });
    const std::shared_ptr<ID2D1Geometry> first = m_Geometry1->GetResource();
    const std::shared_ptr<ID2D1Geometry> second = m_Geometry2->GetResource();
    CheckD2DResult(first->CombineWithGeometry(
        second.get(), static_cast<D2D1_COMBINE_MODE>(m_Mode), nullptr, D2D1_DEFAULT_FLATTENING_TOLERANCE, sink.get()));
    CheckD2DResult(sink->Close());
    return path;
}

} // namespace KUV
