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
    IWICImagingFactory* GetImagingFactory() override { return m_ImagingFactory.get(); }

    std::shared_ptr<IDWriteFactory> GetWriteFactory() const { return m_WriteFactory; }

    // The bitmaps decoded from image files, shared between the image records of all scenes.
    DecodedImages& Images() { return m_Images; }

    // The cached mask under key; empty when absent (or when no mask could be made).
    std::shared_ptr<MaskData> FindMask(const std::string& key) const;
    void StoreMask(const std::string& key, std::shared_ptr<MaskData> mask);

    // The files the last load of a root scene read or named, resolved, each once, in the order
    // met: its scene file, child scene files, included geometry files and the files its bitmaps
    // name, whether they could be opened or not. A host watches these to reload on a change.
    const std::vector<std::string>& FilesRead() const { return m_FilesRead; }
    void NoteFileRead(const std::string& resolvedPath);

private:
    Tavisk* LoadDocument(
        SceneReader& reader, const std::string& path, std::uint32_t tick, ID2D1RenderTarget* renderTarget);
    void ReadSections(SceneReader& reader);
    int Fail(const std::string& text, int status);

    std::shared_ptr<IDWriteFactory> m_WriteFactory;
    std::shared_ptr<IWICImagingFactory> m_ImagingFactory;
    std::map<std::string, std::shared_ptr<MaskData>> m_MaskCache;
    std::string m_ErrorText;
    DecodedImages m_Images;
    std::vector<std::string> m_FilesBeingLoaded; // resolved paths, root first
    std::vector<std::string> m_FilesRead;

    friend std::shared_ptr<ITavisk> ReadChildKuv(SceneReader& reader);
};

// Reads a child-scene record and loads its file as a scene of its own.
std::shared_ptr<ITavisk> ReadChildKuv(SceneReader& reader);

} // namespace KUV
