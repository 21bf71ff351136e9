#include "Core/SceneReader.h"

#include <filesystem>
#include <stdexcept>

#include "Core/Factory.h"
#include "Core/FilePath.h"
#include "Core/GeometryBase.h"
#include "Core/Tavisk.h"

namespace KUV {

struct SceneReader::SavedState {
    std::unique_ptr<std::ifstream> file;
    std::string fileName;
    std::string line;
    std::streampos position;
    int lineNumber;
};

SceneReader::SceneReader() = default;
SceneReader::~SceneReader() = default;

namespace {

// Opens a file for reading. A folder, a pipe or a device is not a scene file: reading
// one would fail or block, so it counts as a file that cannot be opened.
std::unique_ptr<std::ifstream> OpenFile(const std::string& resolved)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(resolved, ec)) return nullptr;
    auto file = std::make_unique<std::ifstream>(resolved, std::ios::binary);
    return file->is_open() ? std::move(file) : nullptr;
}

// A record of values: its opener, one value a field in the order given, its "}".
template <class Record, class... Fields> Record ReadValues(SceneReader& reader, const char* opener, Fields... fields)
{
    reader.Expect(opener);
    Record record;
    ((record.*fields = reader.ReadValue()), ...);
    reader.Expect("}");
    return record;
}

} // namespace

void SceneReader::NoteFileRead(const std::string& resolvedPath)
{
    if (factory) factory->NoteFileRead(resolvedPath);
}

bool SceneReader::Open(const std::string& path)
{
    const std::string resolved = ResolvePath(path);
    NoteFileRead(resolved);
    auto file = OpenFile(resolved);
    if (!file) return false;
    m_File = std::move(file);
    m_OpenFiles.assign(1, FileIdentity(resolved));
    // Nothing of a file read before may leak into this one: its rest of a line or its line count.
    m_Line.str(std::string());
    m_Line.clear();
    lineNumber = 0;
    return true;
}

bool SceneReader::Failed() const
{
    return !m_File || m_File->fail() || m_File->bad();
}

bool SceneReader::ReadLine()
{
    std::string text;
    std::getline(*m_File, text);
    ++lineNumber;
    if (!text.empty() && text.back() == '\r') text.pop_back();
    m_Line.str(Failed() ? std::string() : text);
    m_Line.clear();
    return !Failed();
}

std::string SceneReader::ReadWord()
{
    if (Failed()) return std::string();
    for (;;) {
        std::string token;
        if (m_Line >> token) return token;
        if (!ReadLine()) return std::string();
    }
}

template <class Number> Number SceneReader::ReadNumber()
{
    for (;;) {
        if (Failed()) return 0;
        Number value = 0;
        if (m_Line >> value) return value;
        ReadLine();
    }
}

int SceneReader::ReadInt()
{
    return ReadNumber<int>();
}

float SceneReader::ReadFloat()
{
    return ReadNumber<float>();
}

ValueD SceneReader::ReadValue()
{
    const std::string token = ReadWord();
    if (!token.empty() && token.front() == '$') {
        scene->DeclareVariable(token);
        scene->m_Origin.variableSites.try_emplace(token, Here());
        usesVariables = true;
        return ValueD(token, scene);
    }
    // Only a leading number counts; a token without one reads as 0.
    std::istringstream number(token);
    float value = 0.f;
    number >> value;
    return ValueD(value);
}

void SceneReader::Expect(const std::string& literal)
{
    const std::string token = ReadWord();
    if (token != literal) RaiseParseError("expecting \"" + literal + "\" got \"" + token + "\"");
}

void SceneReader::RaiseParseError(const std::string& message)
{
    throw std::logic_error("Parse Error:::" + fileName + " : " + std::to_string(lineNumber) + " : " + message);
}

Color SceneReader::ReadColor()
{
    return ReadValues<Color>(*this, "Color{", &Color::r, &Color::g, &Color::b, &Color::a);
}

PointD SceneReader::ReadPoint()
{
    return ReadValues<PointD>(*this, "Point{", &PointD::x, &PointD::y);
}

RectD SceneReader::ReadRect()
{
    return ReadValues<RectD>(*this, "Rect{", &RectD::left, &RectD::top, &RectD::right, &RectD::bottom);
}

SceneReader::SavedState SceneReader::SwitchToIncludedFile(const std::string& name)
{
    const std::string resolved = ResolvePath(name);
    NoteFileRead(resolved);
    const std::string identity = FileIdentity(resolved);
    for (const std::string& open : m_OpenFiles)
        if (open == identity) RaiseParseError("could not include the file \"" + name + "\": it is already being read");

    SavedState saved { std::move(m_File), fileName, m_Line.str(), m_Line.tellg(), lineNumber };
    m_File = OpenFile(resolved);
    fileName = name;
    m_Line.str(std::string());
    m_Line.clear();
    lineNumber = 0;
    if (!m_File) RaiseParseError("could not open the file \"" + name + "\"");
    m_OpenFiles.push_back(identity);
    return saved;
}

void SceneReader::RestoreState(SavedState& saved)
{
    m_OpenFiles.pop_back();
    m_File = std::move(saved.file);
    fileName = saved.fileName;
    lineNumber = saved.lineNumber;
    m_Line.str(saved.line);
    m_Line.clear();
    // Without a saved position the line was used up: the next read takes a new line.
    if (saved.position == std::streampos(-1))
        m_Line.setstate(std::ios::failbit);
    else
        m_Line.seekg(saved.position);
}

std::shared_ptr<GeometryBase> SceneReader::ReadSourceGeometry()
{
    const std::string name = ReadWord();
    SavedState saved = SwitchToIncludedFile(name);
    std::shared_ptr<GeometryBase> geometry = ReadGeometry(*this);
    RestoreState(saved);
    return geometry;
}

void SceneReader::RaiseMissing(const char* kind, const std::string& name)
{
    RaiseParseError(std::string(kind) + " with name \"" + name + "\" does not exist");
}

} // namespace KUV
