// The process's one loader: turns scene files into scenes and owns what all
// scenes share (the text and imaging factories and the mask cache).
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Core/DecodedImages.h"
#include "Core/IFactory.h"
#include "Gfx/DWrite.h"
#include "Gfx/WIC.h"

namespace KUV {

struct MaskData;
class SceneReader;
class Tavisk;

class Factory : public IFactory {
public:
    Factory();
    ~Factory() override;

    int LoadTavisk(
        const std::string& path, std::uint32_t tick, ID2D1RenderTarget* renderTarget, ITavisk** scene) override;
    const std::string& GetErrorText() override { return m_ErrorText; }

    // Scenes in one chain of child scenes, the root included. Each level of loading holds a
    // reader and its streams on the stack; no production comes near this.
    static constexpr std::size_t MaxChildNesting = 64;
    IWICImagingFactory* GetImagingFactory() override { return m_ImagingFactory; }

    std::shared_ptr<IDWriteFactory> GetWriteFactory() const { return m_WriteFactory; }

    // The bitmaps decoded from image files, shared between the image records of all scenes.
    DecodedImages& Images() { return m_Images; }

    // The cached mask under key; empty when absent (or when no mask could be made).
    std::shared_ptr<MaskData> FindMask(const std::string& key) const;
    void StoreMask(const std::string& key, std::shared_ptr<MaskData> mask);

private:
    Tavisk* LoadDocument(
        SceneReader& reader, const std::string& path, std::uint32_t tick, ID2D1RenderTarget* renderTarget);
    void ReadSections(SceneReader& reader);
    int Fail(const std::string& text, int status);

    std::shared_ptr<IDWriteFactory> m_WriteFactory;
    std::shared_ptr<IWICImagingFactory> m_ImagingFactoryHandle;
    IWICImagingFactory* m_ImagingFactory = nullptr;
    std::map<std::string, std::shared_ptr<MaskData>> m_MaskCache;
    std::string m_ErrorText;
    DecodedImages m_Images;
    std::vector<std::string> m_FilesBeingLoaded; // resolved paths, root first

    friend std::shared_ptr<ITavisk> ReadChildKuv(SceneReader& reader);
};

// Reads a child-scene record and loads its file as a scene of its own.
std::shared_ptr<ITavisk> ReadChildKuv(SceneReader& reader);

} // namespace KUV
