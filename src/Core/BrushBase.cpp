#include "Core/BrushBase.h"

#include <string>

#include "Core/LinearGradientBrush.h"
#include "Core/RadialGradientBrush.h"
#include "Core/RecordOpeners.h"
#include "Core/SolidColorBrush.h"

namespace KUV {

namespace {

constexpr RecordOpener<BrushBase> Openers[] = {
    { "SolidColorBrush{", &ReadSolidColorBrush },
    { "LinearGradientBrush{", &ReadLinearGradientBrush },
    { "RadialGradientBrush{", &ReadRadialGradientBrush },
};

} // namespace

std::shared_ptr<BrushBase> ReadBrush(SceneReader& reader)
{
    reader.usesVariables = false;
    const auto read = FindRecordReader(reader, Openers, reader.ReadWord(), "brush");
    std::shared_ptr<BrushBase> brush = read(reader);
    brush->m_Opacity = reader.ReadValue("opacity");
    reader.Expect("}");
    brush->m_Dynamic = reader.usesVariables;
    brush->m_Owner = reader.scene;
    return brush;
}

} // namespace KUV
