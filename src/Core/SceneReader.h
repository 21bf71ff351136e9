// The lexical layer of scene files: tokens, numbers, values, keywords and the
// framing of every loading error.
#pragma once

#include <cstdint>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "Core/Tavisk.h"
#include "Core/TaviskComponent.h"
#include "Core/ValueD.h"
#include "Gfx/D2D1.h"

namespace KUV {

class Factory;

class SceneReader {
public:
    SceneReader();
    ~SceneReader();
    SceneReader(const SceneReader&) = delete;
    SceneReader& operator=(const SceneReader&) = delete;

    // Opens path (resolved as scene paths are) as the file to read; false when it cannot be opened.
    bool Open(const std::string& path);

    // The next token; empty at the end of the input.
    std::string ReadWord();
    // The next integer; 0 at the end of the input. A non-number drops the rest of its line.
    int ReadInt();
    // The next plain number; 0 at the end of the input. A non-number drops the rest of its line.
    float ReadFloat();
    // The next animated value: a number, or a "$" variable of the scene being built.
    ValueD ReadValue();
    // Reads one token and fails unless it is literal.
    void Expect(const std::string& literal);
    // Throws std::logic_error "Parse Error:::" + file + " : " + line + " : " + message.
    [[noreturn]] void RaiseParseError(const std::string& message);

    Color ReadColor();
    PointD ReadPoint();
    RectD ReadRect();

    // The same, each after the key that names it in the record: Expect(key) first.
    std::string ReadWord(const char* key) { return AfterKey(key, &SceneReader::ReadWord); }
    int ReadInt(const char* key) { return AfterKey(key, &SceneReader::ReadInt); }
    float ReadFloat(const char* key) { return AfterKey(key, &SceneReader::ReadFloat); }
    ValueD ReadValue(const char* key) { return AfterKey(key, &SceneReader::ReadValue); }
    Color ReadColor(const char* key) { return AfterKey(key, &SceneReader::ReadColor); }
    PointD ReadPoint(const char* key) { return AfterKey(key, &SceneReader::ReadPoint); }
    RectD ReadRect(const char* key) { return AfterKey(key, &SceneReader::ReadRect); }

    // Tells the factory (when there is one) that the load read or named this file.
    void NoteFileRead(const std::string& resolvedPath);

    // Reads the body of a "Source{" record: one geometry record from the named file.
    std::shared_ptr<GeometryBase> ReadSourceGeometry();

    // A counted list: the count after key, then that many items, each read by readItem(*this)
    // and appended to items.
    template <class Items, class ReadItem> void ReadList(const char* key, Items& items, ReadItem&& readItem)
    {
        const int count = ReadInt(key);
        for (int i = 0; i < count; ++i)
            items.push_back(readItem(*this));
    }

    // The component of kind T listed earlier in the scene, or the parse error
    // kind + " with name \"" + name + "\" does not exist".
    template <class T> std::shared_ptr<T> Find(const std::string& name)
    {
        std::shared_ptr<T> found = scene->Find<T>(name);
        if (!found) RaiseMissing(NameTable<T>::Kind().name, name);
        return found;
    }

    // The identity (FileIdentity) of the scene file this reader was opened on.
    const std::string& SceneFileIdentity() const { return m_OpenFiles.front(); }

    // The file and line of the last token read.
    SourceLocation Here() const { return { fileName, lineNumber }; }

    std::string fileName; // the file being read, as written
    int lineNumber = 0; // attempts to read a line from the current file
    bool usesVariables = false; // set when a value names a variable

    Factory* factory = nullptr;
    Tavisk* scene = nullptr;
    ID2D1RenderTarget* renderTarget = nullptr;
    ID2D1Factory* d2dFactory = nullptr; // not owned: the render target keeps it alive
    std::uint32_t loadTick = 0;

private:
    struct SavedState;
    [[noreturn]] void RaiseMissing(const char* kind, const std::string& name);
    template <class T> T AfterKey(const char* key, T (SceneReader::*read)())
    {
        Expect(key);
        return (this->*read)();
    }
    bool ReadLine();
    bool Failed() const;
    template <class Number> Number ReadNumber();
    SavedState SwitchToIncludedFile(const std::string& name);
    void RestoreState(SavedState& saved);

    std::unique_ptr<std::ifstream> m_File;
    std::istringstream m_Line;
    std::vector<std::string> m_OpenFiles; // resolved paths of the files being read, outermost first
};

} // namespace KUV
