#include "Authoring/OffscreenScene.h"

#include "Core/Factory.h"
#include "Core/FilePath.h"

namespace KUV::Authoring {

int OffscreenScene::CreateTarget(int width, int height, std::ostream& err)
{
    const D2D1_RENDER_TARGET_PROPERTIES properties = D2D1::RenderTargetProperties();
    const D2D1_SIZE_U size { static_cast<UINT32>(width), static_cast<UINT32>(height) };
    if (D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, m_D2DFactory.ReleaseAndGetAddressOf()) != S_OK
        || m_D2DFactory->CreateImageRenderTarget(properties, size, m_Target.ReleaseAndGetAddressOf()) != S_OK) {
        err << "unable to create render target\n";
        return 1;
    }
    m_Target->SetAntialiasMode(D2D1_ANTIALIAS_MODE_ALIASED);
    return 0;
}

int OffscreenScene::Load(const std::string& scene, std::ostream& err)
{
    Factory* factory = GetSceneFactory();
    if (!factory) {
        err << "Unable to create KUV Factory\n";
        return 1;
    }
    m_Scene.reset();
    SetProductionFolders(scene);
    const int status = LoadOwnedScene(*factory, scene, 0, m_Target.Get(), m_Scene);
    if (status != LoadOk) err << factory->GetErrorText() << "\n";
    return status;
}

int OffscreenScene::Update(std::int64_t tick, std::ostream& err)
{
    const int result = m_Scene->Update(static_cast<int>(tick));
    return result == ResultOk ? 0 : SceneFailure(result, err);
}

int OffscreenScene::Draw(std::ostream& err)
{
    static const D2D1_COLOR_F white { 1.f, 1.f, 1.f, 1.f };
    const D2D1_MATRIX_3X2_F identity = D2D1::IdentityMatrix();
    m_Target->BeginDraw();
    m_Target->Clear(&white);
    if (const int result = m_Scene->Render(&identity, nullptr); result != ResultOk) return SceneFailure(result, err);
    if (m_Target->EndDraw() != S_OK) {
        err << "Rendering Error\n";
        return 1;
    }
    return 0;
}

int OffscreenScene::HitTest(int x, int y, bool& hit, std::ostream& err)
{
    const int result = m_Scene->HitTest(x, y, &hit);
    return result == ResultOk ? 0 : SceneFailure(result, err);
}

const unsigned char* OffscreenScene::Pixels(unsigned& stride) const
{
    UINT32 rowBytes = 0;
    const BYTE* pixels = m_Target->GetPixels(&rowBytes);
    stride = rowBytes;
    return pixels;
}

int OffscreenScene::SceneFailure(int result, std::ostream& err) const
{
    err << m_Scene->GetErrorText() << "\n";
    return 10 + result;
}

} // namespace KUV::Authoring
