#include "Core/DrawCommands.h"

#include "Core/AntialiasScope.h"
#include "Core/BrushBase.h"
#include "Core/GeometryBase.h"
#include "Core/Image.h"
#include "Core/MaskCache.h"
#include "Core/RenderWork.h"
#include "Core/SceneReader.h"
#include "Core/SolidColorBrush.h"
#include "Core/Tavisk.h"

namespace KUV {

void DrawCommand::ReadTargets(SceneReader& reader)
{
    m_Geometry = reader.Find<GeometryBase>(reader.ReadWord());
    m_Brush = reader.Find<BrushBase>(reader.ReadWord());
    m_RT = reader.renderTarget;
}

void DrawCommand::PaintThroughMask(ID2D1Bitmap* mask, const D2D_MATRIX_3X2_F& placement)
{
    const std::shared_ptr<ID2D1Brush> brush = m_Brush->GetResource();
    MaskPlacementScope placed(m_RT, brush.get(), placement);
    m_RT->FillOpacityMask(mask, brush.get(), D2D1_OPACITY_MASK_CONTENT_GRAPHICS, nullptr, nullptr);
}

void DrawCommand::ChargeGeometryWork(const float* strokeWidth)
{
    const bool gradient = !dynamic_cast<const SolidColorBrush*>(m_Brush.get());
    if (const std::shared_ptr<ID2D1Geometry> geometry = m_Geometry->GetResource())
        m_Owner->ChargeWork(GeometryWork(*m_RT, *geometry, { strokeWidth, m_Geometry->m_Dynamic, gradient }));
}

void FillCommand::Execute()
{
    ChargeGeometryWork(nullptr);
    if (!m_Geometry->m_Dynamic) {
        if (const std::shared_ptr<ID2D1Bitmap> mask = GetFillMask(*m_Geometry, m_RT)) {
            PaintThroughMask(mask.get(), GetFillMaskPlacement(*m_Geometry));
            return;
        }
    }
    FillDirectly();
}

void FillCommand::FillDirectly()
{
    AntialiasScope antialias(m_RT);
    const std::shared_ptr<ID2D1Brush> brush = m_Brush->GetResource();
    const std::shared_ptr<ID2D1Geometry> geometry = m_Geometry->GetResource();
    m_RT->FillGeometry(geometry.get(), brush.get(), nullptr);
}

std::shared_ptr<ExecutableBase> ReadFillCommand(SceneReader& reader)
{
    auto command = std::make_shared<FillCommand>();
    command->ReadTargets(reader);
    return command;
}

void StrokeCommand::Execute()
{
    const float width = m_Width.Get();
    ChargeGeometryWork(&width);
    if (!m_Geometry->m_Dynamic) {
        if (const std::shared_ptr<ID2D1Bitmap> mask = GetStrokeMask(*m_Geometry, m_RT, width)) {
            PaintThroughMask(mask.get(), GetStrokeMaskPlacement(*m_Geometry, width));
            return;
        }
    }
    StrokeDirectly(width);
}

void StrokeCommand::StrokeDirectly(float width)
{
    AntialiasScope antialias(m_RT);
    const std::shared_ptr<ID2D1Brush> brush = m_Brush->GetResource();
    const std::shared_ptr<ID2D1Geometry> geometry = m_Geometry->GetResource();
    m_RT->DrawGeometry(geometry.get(), brush.get(), width, nullptr);
}

std::shared_ptr<ExecutableBase> ReadStrokeCommand(SceneReader& reader)
{
    auto command = std::make_shared<StrokeCommand>();
    command->ReadTargets(reader);
    command->m_Width = reader.ReadValue();
    return command;
}

void DrawImageCommand::Execute()
{
    const D2D1_RECT_F destination = m_DestRect.Get();
    m_Owner->ChargeWork(BitmapWork(*m_RT, destination));
    AntialiasScope antialias(m_RT);
    const D2D1_RECT_F source = m_SrcRect.Get();
    const std::shared_ptr<ID2D1Bitmap> bitmap = m_Image->GetResource();
    if (!bitmap) return;
    const float opacity = m_Opacity.Get();
    m_RT->DrawBitmap(bitmap.get(), &destination, opacity, D2D1_BITMAP_INTERPOLATION_MODE_LINEAR, &source);
}

std::shared_ptr<ExecutableBase> ReadDrawImageCommand(SceneReader& reader)
{
    auto command = std::make_shared<DrawImageCommand>();
    command->m_Image = reader.Find<Image>(reader.ReadWord("source"));
    command->m_DestRect = reader.ReadRect("destRect");
    command->m_Opacity = reader.ReadValue("opacity");
    command->m_SrcRect = reader.ReadRect("srcRect");
    command->m_RT = reader.renderTarget;
    return command;
}

} // namespace KUV
