// Helpers for the resource tests: scenes loaded from text, typed access to
// their components, and a drawing factory that counts geometry builds.
#pragma once

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "Core/Tavisk.h"
#include "support/Scenes.h"

namespace kuvtest {

// A scene text loaded on its own canvas, kept alive for the test.
struct SceneUnderTest {
    explicit SceneUnderTest(const SceneText& text, int width = 100, int height = 100)
        : canvas(width, height)
        , loaded(LoadSceneText(canvas, dir, text.Str()))
    {
    }

    KUV::Tavisk& Scene() const { return *static_cast<KUV::Tavisk*>(loaded.scene.get()); }
    std::string FilePath() const { return dir.Path() + "/scene.tvs"; }
    int Render() { return loaded.RenderFrame(canvas); }
    void Write(const std::string& variable, float value) const
    {
        EXPECT_EQ(Scene().WriteVariable(variable, value), KUV::ResultOk);
    }

    Canvas canvas;
    TempDir dir;
    LoadedScene loaded;
};

// "Procedure{" running each of the given command records in turn.
inline std::string ProcedureOf(const std::string& commands, int count)
{
    return "Procedure{ noOfCommands " + std::to_string(count) + " " + commands + " }";
}

// Forwards to a real drawing factory and counts the geometries built through it.
class CountingFactory final : public RefCounted<ID2D1Factory> {
public:
    explicit CountingFactory(ID2D1Factory* inner)
        : m_Inner(inner)
    {
        inner->AddRef();
    }

    HRESULT CreateRectangleGeometry(const D2D1_RECT_F& rectangle, ID2D1RectangleGeometry** geometry) override
    {
        ++rectangles;
        return m_Inner->CreateRectangleGeometry(rectangle, geometry);
    }
    HRESULT CreateEllipseGeometry(const D2D1_ELLIPSE& ellipse, ID2D1EllipseGeometry** geometry) override
    {
        ++ellipses;
        return m_Inner->CreateEllipseGeometry(ellipse, geometry);
    }
    HRESULT CreatePathGeometry(ID2D1PathGeometry** geometry) override
    {
        ++paths;
        return m_Inner->CreatePathGeometry(geometry);
    }
    HRESULT CreateTransformedGeometry(
        ID2D1Geometry* source, const D2D1_MATRIX_3X2_F& transform, ID2D1TransformedGeometry** geometry) override
    {
        return m_Inner->CreateTransformedGeometry(source, transform, geometry);
    }
    HRESULT CreateImageRenderTarget(const D2D1_RENDER_TARGET_PROPERTIES& properties, D2D1_SIZE_U pixelSize,
        ID2D1ImageRenderTarget** target) override
    {
        return m_Inner->CreateImageRenderTarget(properties, pixelSize, target);
    }
    void GetDesktopDpi(float* dpiX, float* dpiY) override { m_Inner->GetDesktopDpi(dpiX, dpiY); }

    int rectangles = 0;
    int ellipses = 0;
    int paths = 0;

private:
    ComPtr<ID2D1Factory> m_Inner;
};

} // namespace kuvtest
