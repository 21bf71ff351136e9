// The drawing interface the engine draws through: a small Direct2D-shaped API.
// Matrices apply to row vectors; A * B applies A first, then B. Creation calls
// return HRESULT status codes and hand out objects with one reference.
#pragma once

#include "Gfx/Com.h"

// ---------------------------------------------------------------------------
// Plain types

struct D2D1_POINT_2F {
    float x;
    float y;
};
struct D2D1_SIZE_F {
    float width;
    float height;
};
struct D2D1_SIZE_U {
    UINT32 width;
    UINT32 height;
};
struct D2D1_RECT_F {
    float left;
    float top;
    float right;
    float bottom;
};
struct D2D1_COLOR_F {
    float r;
    float g;
    float b;
    float a;
};
struct D2D_MATRIX_3X2_F {
    float _11, _12;
    float _21, _22;
    float _31, _32;
};
using D2D1_MATRIX_3X2_F = D2D_MATRIX_3X2_F;

struct D2D1_ELLIPSE {
    D2D1_POINT_2F point;
    float radiusX;
    float radiusY;
};
struct D2D1_BEZIER_SEGMENT {
    D2D1_POINT_2F point1;
    D2D1_POINT_2F point2;
    D2D1_POINT_2F point3;
};
struct D2D1_GRADIENT_STOP {
    float position;
    D2D1_COLOR_F color;
};
struct D2D1_BRUSH_PROPERTIES {
    float opacity;
    D2D1_MATRIX_3X2_F transform;
};
struct D2D1_LINEAR_GRADIENT_BRUSH_PROPERTIES {
    D2D1_POINT_2F startPoint;
    D2D1_POINT_2F endPoint;
};
struct D2D1_RADIAL_GRADIENT_BRUSH_PROPERTIES {
    D2D1_POINT_2F center;
    D2D1_POINT_2F gradientOriginOffset;
    float radiusX;
    float radiusY;
};

enum DXGI_FORMAT : UINT32 {
    DXGI_FORMAT_UNKNOWN = 0,
    DXGI_FORMAT_A8_UNORM = 65,
    DXGI_FORMAT_B8G8R8A8_UNORM = 87,
};
enum D2D1_ALPHA_MODE : UINT32 {
    D2D1_ALPHA_MODE_UNKNOWN = 0,
    D2D1_ALPHA_MODE_PREMULTIPLIED = 1,
    D2D1_ALPHA_MODE_STRAIGHT = 2,
    D2D1_ALPHA_MODE_IGNORE = 3,
};
struct D2D1_PIXEL_FORMAT {
    DXGI_FORMAT format;
    D2D1_ALPHA_MODE alphaMode;
};
struct D2D1_BITMAP_PROPERTIES {
    D2D1_PIXEL_FORMAT pixelFormat;
    float dpiX;
    float dpiY;
};
struct D2D1_RENDER_TARGET_PROPERTIES {
    D2D1_PIXEL_FORMAT pixelFormat;
    float dpiX; // 0 means the factory's desktop DPI
    float dpiY;
};

enum D2D1_FACTORY_TYPE : UINT32 { D2D1_FACTORY_TYPE_SINGLE_THREADED = 0 };
enum D2D1_ANTIALIAS_MODE : UINT32 {
    D2D1_ANTIALIAS_MODE_PER_PRIMITIVE = 0,
    D2D1_ANTIALIAS_MODE_ALIASED = 1,
};
enum D2D1_FILL_MODE : UINT32 {
    D2D1_FILL_MODE_ALTERNATE = 0,
    D2D1_FILL_MODE_WINDING = 1,
};
enum D2D1_FIGURE_BEGIN : UINT32 {
    D2D1_FIGURE_BEGIN_FILLED = 0,
    D2D1_FIGURE_BEGIN_HOLLOW = 1,
};
enum D2D1_FIGURE_END : UINT32 {
    D2D1_FIGURE_END_OPEN = 0,
    D2D1_FIGURE_END_CLOSED = 1,
};
enum D2D1_EXTEND_MODE : UINT32 {
    D2D1_EXTEND_MODE_CLAMP = 0,
    D2D1_EXTEND_MODE_WRAP = 1,
    D2D1_EXTEND_MODE_MIRROR = 2,
};
enum D2D1_GAMMA : UINT32 {
    D2D1_GAMMA_2_2 = 0,
    D2D1_GAMMA_1_0 = 1,
};
enum D2D1_COMBINE_MODE : UINT32 {
    D2D1_COMBINE_MODE_UNION = 0,
    D2D1_COMBINE_MODE_INTERSECT = 1,
    D2D1_COMBINE_MODE_XOR = 2,
    D2D1_COMBINE_MODE_EXCLUDE = 3,
};
enum D2D1_OPACITY_MASK_CONTENT : UINT32 {
    D2D1_OPACITY_MASK_CONTENT_GRAPHICS = 0,
    D2D1_OPACITY_MASK_CONTENT_TEXT_NATURAL = 1,
    D2D1_OPACITY_MASK_CONTENT_TEXT_GDI_COMPATIBLE = 2,
};
enum D2D1_BITMAP_INTERPOLATION_MODE : UINT32 {
    D2D1_BITMAP_INTERPOLATION_MODE_NEAREST_NEIGHBOR = 0,
    D2D1_BITMAP_INTERPOLATION_MODE_LINEAR = 1,
};
enum D2D1_COMPATIBLE_RENDER_TARGET_OPTIONS : UINT32 {
    D2D1_COMPATIBLE_RENDER_TARGET_OPTIONS_NONE = 0,
};

// The resolution at which one device-independent pixel (DIP) is one pixel.
constexpr float D2D1_DEFAULT_DPI = 96.f;
// How far, in DIPs, the lines that stand for a curve may stray from it: what drawing,
// measuring and combining use unless a call asks for another.
constexpr float D2D1_DEFAULT_FLATTENING_TOLERANCE = 0.25f;

// ---------------------------------------------------------------------------
// Helpers

namespace D2D1 {
inline D2D1_MATRIX_3X2_F IdentityMatrix()
{
    return { 1.f, 0.f, 0.f, 1.f, 0.f, 0.f };
}
inline D2D1_MATRIX_3X2_F Translation(float x, float y)
{
    return { 1.f, 0.f, 0.f, 1.f, x, y };
}
inline D2D1_POINT_2F Point2F(float x, float y)
{
    return { x, y };
}
inline D2D1_COLOR_F ColorF(float r, float g, float b, float a = 1.f)
{
    return { r, g, b, a };
}
// Premultiplied pixels in the target's own format, one pixel per DIP.
inline D2D1_RENDER_TARGET_PROPERTIES RenderTargetProperties()
{
    return { { DXGI_FORMAT_UNKNOWN, D2D1_ALPHA_MODE_PREMULTIPLIED }, D2D1_DEFAULT_DPI, D2D1_DEFAULT_DPI };
}
} // namespace D2D1

// A * B: the transform that applies a first and then b.
D2D1_MATRIX_3X2_F operator*(const D2D1_MATRIX_3X2_F& a, const D2D1_MATRIX_3X2_F& b);
bool operator==(const D2D1_MATRIX_3X2_F& a, const D2D1_MATRIX_3X2_F& b);

// Maps a point through m (row-vector convention).
D2D1_POINT_2F TransformPoint(const D2D1_MATRIX_3X2_F& m, D2D1_POINT_2F p);

// Inverts the matrix in place; returns false (leaving it unchanged) when it is singular.
bool D2D1InvertMatrix(D2D1_MATRIX_3X2_F* matrix);

// A rotation by angle degrees (clockwise on a y-down screen) about center.
void D2D1MakeRotateMatrix(float angle, D2D1_POINT_2F center, D2D1_MATRIX_3X2_F* matrix);

// ---------------------------------------------------------------------------
// Interfaces

class ID2D1Factory;
class ID2D1StrokeStyle; // never created: strokes use flat caps, miter joins, miter limit 10

class ID2D1Resource : public IUnknown {
public:
    // Hands out the factory that created this resource, with a reference added.
    virtual void GetFactory(ID2D1Factory** factory) const = 0;
};

// Receives figures: what geometries are written into and what outlines are read out as.
class ID2D1SimplifiedGeometrySink : public IUnknown {
public:
    // Sets the rule that decides which points are inside the figures written next.
    virtual void SetFillMode(D2D1_FILL_MODE fillMode) = 0;
    // Starts a figure at startPoint.
    virtual void BeginFigure(D2D1_POINT_2F startPoint, D2D1_FIGURE_BEGIN figureBegin) = 0;
    // Appends straight lines from the current point through each point in turn.
    virtual void AddLines(const D2D1_POINT_2F* points, UINT32 count) = 0;
    // Appends cubic Bézier curves from the current point.
    virtual void AddBeziers(const D2D1_BEZIER_SEGMENT* beziers, UINT32 count) = 0;
    // Ends the current figure, closing it back to its start point when asked.
    virtual void EndFigure(D2D1_FIGURE_END figureEnd) = 0;
    // Finishes writing; reports the first error met while writing.
    virtual HRESULT Close() = 0;
};

class ID2D1GeometrySink : public ID2D1SimplifiedGeometrySink {
public:
    // Appends one straight line to point.
    virtual void AddLine(D2D1_POINT_2F point) = 0;
    // Appends one cubic Bézier curve.
    virtual void AddBezier(const D2D1_BEZIER_SEGMENT& bezier) = 0;
};

class ID2D1Geometry : public ID2D1Resource {
public:
    // The tight bounds of the filled area under worldTransform (null: identity); an empty
    // geometry yields left > right.
    virtual HRESULT GetBounds(const D2D1_MATRIX_3X2_F* worldTransform, D2D1_RECT_F* bounds) const = 0;
    // The bounds of the stroked outline of the given width, under worldTransform.
    virtual HRESULT GetWidenedBounds(float strokeWidth, ID2D1StrokeStyle* strokeStyle,
        const D2D1_MATRIX_3X2_F* worldTransform, float flatteningTolerance, D2D1_RECT_F* bounds) const = 0;
    // Whether point lies inside the filled area (under worldTransform, null: identity).
    virtual HRESULT FillContainsPoint(D2D1_POINT_2F point, const D2D1_MATRIX_3X2_F* worldTransform,
        float flatteningTolerance, BOOL* contains) const = 0;
    // Writes this geometry combined with input into sink, as flattened polygons with the
    // alternate fill rule.
    virtual HRESULT CombineWithGeometry(ID2D1Geometry* input, D2D1_COMBINE_MODE mode,
        const D2D1_MATRIX_3X2_F* inputTransform, float flatteningTolerance,
        ID2D1SimplifiedGeometrySink* sink) const = 0;
    // The number of elements of all figures (starts, lines, curves, closes): what drawing the geometry costs beyond
    // the area it covers (an addition of this layer, for every kind of geometry).
    virtual HRESULT GetSegmentCount(UINT32* count) const = 0;
};

class ID2D1RectangleGeometry : public ID2D1Geometry { };
class ID2D1EllipseGeometry : public ID2D1Geometry { };
class ID2D1TransformedGeometry : public ID2D1Geometry { };

class ID2D1PathGeometry : public ID2D1Geometry {
public:
    // Opens the one sink through which the path's figures are written.
    virtual HRESULT Open(ID2D1GeometrySink** sink) = 0;
};

class ID2D1Brush : public ID2D1Resource {
public:
    virtual void SetOpacity(float opacity) = 0;
    virtual float GetOpacity() const = 0;
    // Sets the brush-space to user-space transform applied when painting.
    virtual void SetTransform(const D2D1_MATRIX_3X2_F& transform) = 0;
    virtual void GetTransform(D2D1_MATRIX_3X2_F* transform) const = 0;
};

class ID2D1SolidColorBrush : public ID2D1Brush {
public:
    virtual D2D1_COLOR_F GetColor() const = 0;
};

class ID2D1GradientStopCollection : public ID2D1Resource {
public:
    virtual UINT32 GetGradientStopCount() const = 0;
    virtual D2D1_EXTEND_MODE GetExtendMode() const = 0;
};

class ID2D1LinearGradientBrush : public ID2D1Brush { };
class ID2D1RadialGradientBrush : public ID2D1Brush { };

class ID2D1Bitmap : public ID2D1Resource {
public:
    // Size in device-independent pixels.
    virtual D2D1_SIZE_F GetSize() const = 0;
    virtual D2D1_SIZE_U GetPixelSize() const = 0;
    virtual D2D1_PIXEL_FORMAT GetPixelFormat() const = 0;
};

class ID2D1BitmapRenderTarget;

class ID2D1RenderTarget : public ID2D1Resource {
public:
    virtual HRESULT CreateSolidColorBrush(
        const D2D1_COLOR_F& color, const D2D1_BRUSH_PROPERTIES* brushProperties, ID2D1SolidColorBrush** brush)
        = 0;
    virtual HRESULT CreateGradientStopCollection(const D2D1_GRADIENT_STOP* stops, UINT32 count, D2D1_GAMMA gamma,
        D2D1_EXTEND_MODE extendMode, ID2D1GradientStopCollection** collection)
        = 0;
    virtual HRESULT CreateLinearGradientBrush(const D2D1_LINEAR_GRADIENT_BRUSH_PROPERTIES& properties,
        const D2D1_BRUSH_PROPERTIES* brushProperties, ID2D1GradientStopCollection* stops,
        ID2D1LinearGradientBrush** brush)
        = 0;
    virtual HRESULT CreateRadialGradientBrush(const D2D1_RADIAL_GRADIENT_BRUSH_PROPERTIES& properties,
        const D2D1_BRUSH_PROPERTIES* brushProperties, ID2D1GradientStopCollection* stops,
        ID2D1RadialGradientBrush** brush)
        = 0;
    // Copies pixels (B8G8R8A8 premultiplied, or A8) into a new bitmap; src may be null for a
    // cleared bitmap.
    virtual HRESULT CreateBitmap(D2D1_SIZE_U size, const void* srcData, UINT32 pitch,
        const D2D1_BITMAP_PROPERTIES& properties, ID2D1Bitmap** bitmap)
        = 0;
    // An offscreen target of desiredSize DIPs (null: this target's size) whose pixels become a bitmap.
    virtual HRESULT CreateCompatibleRenderTarget(const D2D1_SIZE_F* desiredSize, const D2D1_SIZE_U* desiredPixelSize,
        const D2D1_PIXEL_FORMAT* desiredFormat, D2D1_COMPATIBLE_RENDER_TARGET_OPTIONS options,
        ID2D1BitmapRenderTarget** target)
        = 0;

    // Paints the filled area of geometry with brush.
    virtual void FillGeometry(ID2D1Geometry* geometry, ID2D1Brush* brush, ID2D1Brush* opacityBrush = nullptr) = 0;
    // Paints the outline of geometry with brush at strokeWidth.
    virtual void DrawGeometry(
        ID2D1Geometry* geometry, ID2D1Brush* brush, float strokeWidth = 1.f, ID2D1StrokeStyle* strokeStyle = nullptr)
        = 0;
    // Paints brush through the alpha of mask, placed at destination (null: at the origin, its own size).
    virtual void FillOpacityMask(ID2D1Bitmap* mask, ID2D1Brush* brush, D2D1_OPACITY_MASK_CONTENT content,
        const D2D1_RECT_F* destinationRectangle = nullptr, const D2D1_RECT_F* sourceRectangle = nullptr)
        = 0;
    // Paints the source part of bitmap (null: all) into destination (null: at the origin, its own size).
    virtual void DrawBitmap(ID2D1Bitmap* bitmap, const D2D1_RECT_F* destinationRectangle = nullptr, float opacity = 1.f,
        D2D1_BITMAP_INTERPOLATION_MODE interpolationMode = D2D1_BITMAP_INTERPOLATION_MODE_LINEAR,
        const D2D1_RECT_F* sourceRectangle = nullptr)
        = 0;
    // Fills the whole target with color, ignoring the transform (null: transparent black).
    virtual void Clear(const D2D1_COLOR_F* clearColor = nullptr) = 0;

    virtual void SetTransform(const D2D1_MATRIX_3X2_F& transform) = 0;
    virtual void GetTransform(D2D1_MATRIX_3X2_F* transform) const = 0;
    virtual void SetAntialiasMode(D2D1_ANTIALIAS_MODE mode) = 0;
    virtual D2D1_ANTIALIAS_MODE GetAntialiasMode() const = 0;

    // Starts a batch of drawing.
    virtual void BeginDraw() = 0;
    // Ends the batch; reports D2DERR_WRONG_STATE when no batch was begun.
    virtual HRESULT EndDraw() = 0;

    virtual D2D1_SIZE_F GetSize() const = 0;
    virtual D2D1_SIZE_U GetPixelSize() const = 0;
};

class ID2D1BitmapRenderTarget : public ID2D1RenderTarget {
public:
    // Hands out the bitmap holding what was drawn, with a reference added.
    virtual HRESULT GetBitmap(ID2D1Bitmap** bitmap) = 0;
};

// The host's render target: an offscreen image whose pixels a window can show or
// a tool can save. Stands in for window and swap-chain targets.
class ID2D1ImageRenderTarget : public ID2D1RenderTarget {
public:
    // Changes the pixel size; the content is cleared.
    virtual HRESULT Resize(D2D1_SIZE_U pixelSize) = 0;
    // The pixels: premultiplied B8G8R8A8 rows of *stride bytes, valid until the next Resize.
    virtual const BYTE* GetPixels(UINT32* stride) const = 0;
    // Writes the pixels as a PNG file.
    virtual HRESULT SaveToPng(const char* path) const = 0;
};

class ID2D1Factory : public IUnknown {
public:
    virtual HRESULT CreateRectangleGeometry(const D2D1_RECT_F& rectangle, ID2D1RectangleGeometry** geometry) = 0;
    virtual HRESULT CreateEllipseGeometry(const D2D1_ELLIPSE& ellipse, ID2D1EllipseGeometry** geometry) = 0;
    virtual HRESULT CreatePathGeometry(ID2D1PathGeometry** geometry) = 0;
    virtual HRESULT CreateTransformedGeometry(
        ID2D1Geometry* source, const D2D1_MATRIX_3X2_F& transform, ID2D1TransformedGeometry** geometry)
        = 0;
    // An image render target of pixelSize pixels (resting in per-primitive antialiasing).
    virtual HRESULT CreateImageRenderTarget(
        const D2D1_RENDER_TARGET_PROPERTIES& properties, D2D1_SIZE_U pixelSize, ID2D1ImageRenderTarget** target)
        = 0;
    // The desktop DPI that a target with dpi 0 uses.
    virtual void GetDesktopDpi(float* dpiX, float* dpiY) = 0;
};

// Creates the drawing factory. desktopDpi is what GetDesktopDpi reports (96 when 0).
HRESULT D2D1CreateFactory(D2D1_FACTORY_TYPE type, ID2D1Factory** factory, float desktopDpi = D2D1_DEFAULT_DPI);
