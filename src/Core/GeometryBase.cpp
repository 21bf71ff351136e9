#include "Core/GeometryBase.h"

#include <string>

#include "Core/CombinedGeometry.h"
#include "Core/Ellipse.h"
#include "Core/Path.h"
#include "Core/Rectangle.h"
#include "Core/SceneReader.h"
#include "Core/Text.h"

namespace KUV {

namespace {

std::shared_ptr<GeometryBase> ReadGeometryBody(SceneReader& reader, const std::string& type)
{
    if (type == "Ellipse{") return ReadEllipse(reader);
    if (type == "Rectangle{") return ReadRectangle(reader);
    if (type == "Path{") return ReadPath(reader);
    if (type == "Combined{") return ReadCombinedGeometry(reader);
    if (type == "Source{") return reader.ReadSourceGeometry();
    if (type == "Text{") return ReadText(reader);
    reader.RaiseParseError("Unknown geometry type \"" + type + "\"");
}

} // namespace

std::shared_ptr<GeometryBase> ReadGeometry(SceneReader& reader)
{
    reader.usesVariables = false;
    std::shared_ptr<GeometryBase> geometry = ReadGeometryBody(reader, reader.ReadWord());
    reader.Expect("hitTest");
    if (reader.ReadInt() != 0) geometry->m_HitTest = true;
    reader.Expect("}");
    geometry->m_Owner = reader.scene;
    // A body may have marked the geometry itself: an included record ("Source{") already took its
    // own flag, and a combination takes its inputs' flags. The outer tail reads no values.
    geometry->m_Dynamic = geometry->m_Dynamic || reader.usesVariables;
    return geometry;
}

} // namespace KUV
