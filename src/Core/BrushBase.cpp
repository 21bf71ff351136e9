#include "Core/BrushBase.h"

#include <string>

#include "Core/LinearGradientBrush.h"
#include "Core/RadialGradientBrush.h"
#include "Core/SceneReader.h"
#include "Core/SolidColorBrush.h"

namespace KUV {

namespace {

std::shared_ptr<BrushBase> ReadBrushBody(SceneReader& reader, const std::string& type)
{
    if (type == "SolidColorBrush{") return ReadSolidColorBrush(reader);
    if (type == "LinearGradientBrush{") return ReadLinearGradientBrush(reader);
    if (type == "RadialGradientBrush{") return ReadRadialGradientBrush(reader);
    reader.RaiseParseError("Unknown brush type \"" + type + "\"");
}

} // namespace

std::shared_ptr<BrushBase> ReadBrush(SceneReader& reader)
{
    reader.usesVariables = false;
    std::shared_ptr<BrushBase> brush = ReadBrushBody(reader, reader.ReadWord());
    reader.Expect("opacity");
    brush->m_Opacity = reader.ReadValue();
    reader.Expect("}");
    brush->m_Dynamic = reader.usesVariables;
    brush->m_Owner = reader.scene;
    return brush;
}

} // namespace KUV
