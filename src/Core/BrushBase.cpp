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
    return ReadResourceRecord(
        reader, Openers, "brush", [&](BrushBase& brush) { brush.m_Opacity = reader.ReadValue("opacity"); });
}

} // namespace KUV
