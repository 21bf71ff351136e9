#include "Core/GeometryBase.h"

#include <string>

#include "Core/CombinedGeometry.h"
#include "Core/Ellipse.h"
#include "Core/Path.h"
#include "Core/RecordOpeners.h"
#include "Core/Rectangle.h"
#include "Core/Text.h"

namespace KUV {

namespace {

std::shared_ptr<GeometryBase> ReadSourceGeometry(SceneReader& reader)
{
    return reader.ReadSourceGeometry();
}

constexpr RecordOpener<GeometryBase> Openers[] = {
    { "Ellipse{", &ReadEllipse },
    { "Rectangle{", &ReadRectangle },
    { "Path{", &ReadPath },
    { "Combined{", &ReadCombinedGeometry },
    { "Source{", &ReadSourceGeometry },
    { "Text{", &ReadText },
};

} // namespace

std::shared_ptr<GeometryBase> ReadGeometry(SceneReader& reader)
{
    reader.usesVariables = false;
    const auto read = FindRecordReader(reader, Openers, reader.ReadWord(), "geometry");
    std::shared_ptr<GeometryBase> geometry = read(reader);
    if (reader.ReadInt("hitTest") != 0) geometry->m_HitTest = true;
    reader.Expect("}");
    geometry->m_Owner = reader.scene;
    // A body may have marked the geometry itself: an included record ("Source{") already took its
    // own flag, and a combination takes its inputs' flags. The outer tail reads no values.
    geometry->m_Dynamic = geometry->m_Dynamic || reader.usesVariables;
    return geometry;
}

} // namespace KUV
