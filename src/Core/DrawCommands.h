// Commands that paint: fills and strokes of geometries, and bitmaps.
#pragma once

#include <memory>

#include "Core/ExecutableBase.h"
#include "Core/ValueD.h"

namespace KUV {

class GeometryBase;
class BrushBase;
class Image;

class DrawCommand : public ExecutableBase {
public:
    ID2D1RenderTarget* m_RT = nullptr; // the scene's render target; not owned
    std::shared_ptr<GeometryBase> m_Geometry;
    std::shared_ptr<BrushBase> m_Brush;

    // Reads the positional geometry and brush names shared by fills and strokes.
    void ReadTargets(SceneReader& reader);

protected:
    // Adds the cost of drawing the geometry (stroked at strokeWidth, or filled) to the render.
    void ChargeGeometryWork(const float* strokeWidth);
    // Paints the brush through a coverage mask placed by placement.
    void PaintThroughMask(ID2D1Bitmap* mask, const D2D_MATRIX_3X2_F& placement);
};

class FillCommand : public DrawCommand {
public:
    // Fills the geometry with the brush, through its cached mask when it has one.
    void Execute() override;

private:
    void FillDirectly();
};

class StrokeCommand : public DrawCommand {
public:
    // Strokes the geometry's outline at this frame's width, through a cached mask when there is one.
    void Execute() override;

    ValueD m_Width;

private:
    void StrokeDirectly(float width);
};

class DrawImageCommand : public DrawCommand {
public:
    // Paints the source part of the image into the destination rectangle.
    void Execute() override;

    std::shared_ptr<Image> m_Image;
    RectD m_DestRect;
    ValueD m_Opacity;
    RectD m_SrcRect;
};

// Readers of the records, from what follows the opener to before the closing brace.
std::shared_ptr<ExecutableBase> ReadFillCommand(SceneReader& reader);
std::shared_ptr<ExecutableBase> ReadStrokeCommand(SceneReader& reader);
std::shared_ptr<ExecutableBase> ReadDrawImageCommand(SceneReader& reader);

} // namespace KUV
