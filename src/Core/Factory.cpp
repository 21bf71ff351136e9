#include "Core/Factory.h"

#include <algorithm>
#include <new>
#include <stdexcept>

#include "Core/Animation.h"
#include "Core/BrushBase.h"
#include "Core/ControllerBase.h"
#include "Core/ExecutableBase.h"
#include "Core/FilePath.h"
#include "Core/GeometryBase.h"
#include "Core/Image.h"
#include "Core/MaskCache.h"
#include "Core/SceneReader.h"
#include "Core/Tavisk.h"
#include "Core/Transform.h"

namespace KUV {
namespace {

Factory* g_SceneFactory = nullptr;

// Keeps the path of a file on the list of files being loaded while its load runs.
class LoadingFile {
public:
    LoadingFile(std::vector<std::string>& files, std::string identity)
        : m_Files(files)
    {
        m_Files.push_back(std::move(identity));
    }
    ~LoadingFile() { m_Files.pop_back(); }
    LoadingFile(const LoadingFile&) = delete;
    LoadingFile& operator=(const LoadingFile&) = delete;

private:
    std::vector<std::string>& m_Files;
};

} // namespace

Factory* GetSceneFactory()
{
    if (!g_SceneFactory) {
        try {
            g_SceneFactory = new Factory();
        } catch (...) {
            g_SceneFactory = nullptr;
        }
    }
    return g_SceneFactory;
}

Factory::Factory()
{
    // A layer that cannot start leaves its factory empty: every text or image then fails alone.
    m_WriteFactory
        = CreateOwned([](IDWriteFactory** out) { return DWriteCreateFactory(DWRITE_FACTORY_TYPE_SHARED, out); });
    m_ImagingFactory = CreateOwned([](IWICImagingFactory** out) { return WICCreateImagingFactory(out); });
}

Factory::~Factory()
{
    // A later request must make a new factory rather than hand out this one.
    if (g_SceneFactory == this) g_SceneFactory = nullptr;
}

std::shared_ptr<MaskData> Factory::FindMask(const std::string& key) const
{
    const auto it = m_MaskCache.find(key);
    return it == m_MaskCache.end() ? nullptr : it->second;
}

void Factory::StoreMask(const std::string& key, std::shared_ptr<MaskData> mask)
{
    m_MaskCache[key] = std::move(mask);
}

int Factory::Fail(const std::string& text, int status)
{
    m_ErrorText = text;
    return status;
}

void Factory::NoteFileRead(const std::string& resolvedPath)
{
    if (std::find(m_FilesRead.begin(), m_FilesRead.end(), resolvedPath) == m_FilesRead.end())
        m_FilesRead.push_back(resolvedPath);
}

int Factory::LoadTavisk(const std::string& path, std::uint32_t tick, ID2D1RenderTarget* renderTarget, ITavisk** scene)
{
    *scene = nullptr;
    // A child's load adds to its root's list.
    if (m_FilesBeingLoaded.empty()) m_FilesRead.clear();
    try {
        SceneReader reader;
        *scene = LoadDocument(reader, path, tick, renderTarget);
        return LoadOk;
    } catch (const std::logic_error& e) {
        return Fail(e.what(), LoadLogicError);
    } catch (const std::bad_alloc& e) {
        return Fail(e.what(), LoadOutOfMemory);
    } catch (const std::runtime_error& e) {
        return Fail(e.what(), LoadRuntimeError);
    } catch (...) {
        return Fail("Unknown Error", LoadRuntimeError);
    }
}

Tavisk* Factory::LoadDocument(
    SceneReader& reader, const std::string& path, std::uint32_t tick, ID2D1RenderTarget* renderTarget)
{
    reader.factory = this;
    reader.loadTick = tick;
    if (!reader.Open(path)) {
        reader.fileName = path;
        reader.lineNumber = 0;
        reader.RaiseParseError("could not open the file \"" + path + "\"");
    }
    LoadingFile loading(m_FilesBeingLoaded, reader.SceneFileIdentity());
    reader.lineNumber = 0;
    reader.fileName = path;
    reader.renderTarget = renderTarget;
    if (renderTarget) {
        ID2D1Factory* d2dFactory = nullptr;
        renderTarget->GetFactory(&d2dFactory);
        reader.d2dFactory = d2dFactory;
        if (d2dFactory) d2dFactory->Release(); // the render target keeps it alive
    }
    auto scene = std::make_unique<Tavisk>(renderTarget);
    scene->m_Origin.file = path;
    reader.scene = scene.get();
    reader.Expect("Tavisk{");
    ReadSections(reader);
    reader.Expect("}");
    scene->StartAnimation(MainAnimation, static_cast<int>(tick));
    return scene.release();
}

namespace {

// Reads the section of components of kind T: its count keyword and count, then that many
// times a name and a record, each read by read(name, where) and registered under the name.
template <class T, class Read> void ReadSection(SceneReader& reader, Read&& read)
{
    NameTable<T>& table = reader.scene->Table<T>();
    const int count = reader.ReadInt(NameTable<T>::Kind().keyword);
    for (int i = 0; i < count; ++i) {
        const std::string name = reader.ReadWord();
        const SourceLocation readAt = reader.Here();
        try {
            table.Register(name, read(name, readAt));
        } catch (const std::invalid_argument& duplicate) {
            reader.RaiseParseError(duplicate.what());
        }
    }
}

} // namespace

void Factory::ReadSections(SceneReader& reader)
{
    ReadSection<GeometryBase>(reader, [&](const std::string& name, const SourceLocation& readAt) {
        std::shared_ptr<GeometryBase> geometry = ReadGeometry(reader);
        geometry->m_Factory = reader.d2dFactory;
        geometry->m_Loader = this;
        geometry->m_Name = name;
        geometry->m_MaskScope = reader.SceneFileIdentity();
        geometry->m_ReadAt = readAt;
        return geometry;
    });
    ReadSection<BrushBase>(reader, [&](const std::string&, const SourceLocation& readAt) {
        std::shared_ptr<BrushBase> brush = ReadBrush(reader);
        brush->m_RT = reader.renderTarget;
        brush->m_ReadAt = readAt;
        return brush;
    });
    ReadSection<Image>(reader, [&](const std::string&, const SourceLocation& readAt) {
        std::shared_ptr<Image> image = ReadImage(reader);
        image->m_RT = reader.renderTarget;
        image->m_Loader = this;
        image->m_ReadAt = readAt;
        return image;
    });
    ReadSection<TransformResource>(reader, [&](const std::string&, const SourceLocation& readAt) {
        std::shared_ptr<TransformResource> transform = ReadTransform(reader);
        transform->m_ReadAt = readAt;
        return transform;
    });
    ReadSection<ITavisk>(reader, [&](const std::string&, const SourceLocation&) { return ReadChildKuv(reader); });
    ReadSection<ExecutableBase>(
        reader, [&](const std::string&, const SourceLocation&) { return ReadExecutable(reader); });
    ReadSection<ControllerBase>(
        reader, [&](const std::string&, const SourceLocation&) { return ReadController(reader); });
    ReadSection<Animation>(reader, [&](const std::string&, const SourceLocation& readAt) {
        std::shared_ptr<Animation> animation = ReadAnimation(reader);
        animation->m_ReadAt = readAt;
        return animation;
    });
}

std::shared_ptr<ITavisk> ReadChildKuv(SceneReader& reader)
{
    reader.Expect("Tavisk{");
    const SourceLocation recordAt = reader.Here();
    const std::string path = reader.ReadWord();
    Factory& factory = *reader.factory;
    if (factory.m_FilesBeingLoaded.size() >= Factory::MaxChildNesting)
        reader.RaiseParseError("could not load the file \"" + path + "\": child scenes nested more than "
            + std::to_string(Factory::MaxChildNesting) + " deep");
    const std::string identity = FileIdentity(ResolvePath(path));
    for (const std::string& loading : factory.m_FilesBeingLoaded)
        if (loading == identity)
            reader.RaiseParseError("could not load the file \"" + path + "\": it is already being loaded");

    ITavisk* loaded = nullptr;
    if (factory.LoadTavisk(path, reader.loadTick, reader.renderTarget, &loaded) != LoadOk)
        reader.RaiseParseError(factory.GetErrorText());
    std::shared_ptr<ITavisk> child(loaded);

    const int count = reader.ReadInt("noOfArgs");
    auto* tavisk = dynamic_cast<Tavisk*>(child.get());
    if (tavisk) tavisk->m_Origin.record = recordAt;
    for (int i = 0; i < count; ++i) {
        const std::string name = reader.ReadWord();
        // The end of the file: the record can only fail on its closing brace, so fail now
        // instead of reading nothing once per remaining argument.
        if (name.empty()) reader.Expect("}");
        const SourceLocation readAt = reader.Here();
        const float value = reader.ReadFloat();
        child->WriteVariable(name, value);
        if (tavisk) tavisk->m_Origin.arguments.push_back({ name, value, readAt });
    }
    reader.Expect("}");
    return child;
}

} // namespace KUV
