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
    // An included record ("Source{") keeps the hit-test flag of its own tail unless this one sets it.
    return ReadResourceRecord(reader, Openers, "geometry", [&](GeometryBase& geometry) {
        if (reader.ReadInt("hitTest") != 0) geometry.m_HitTest = true;
    });
}

} // namespace KUV
