// Reading a record by its opener. Every family of records (geometries, brushes, bitmaps,
// transforms, path segments, controllers, executables) keeps one table from each
// opener to the function that reads the rest of the record.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "Core/NestingGuard.h"
#include "Core/SceneReader.h"

namespace KUV {

template <class Base> struct RecordOpener {
    const char* token; // as written in the scene, brace included: "Ellipse{"
    std::shared_ptr<Base> (*read)(SceneReader& reader); // reads what follows the opener
};

// The reader of the record that token opens (openers are compared in table order), or
// the parse error "Unknown " + family + " type \"" + token + "\"".
template <class Base, std::size_t N>
auto FindRecordReader(
    SceneReader& reader, const RecordOpener<Base> (&openers)[N], const std::string& token, const char* family)
{
    for (const RecordOpener<Base>& opener : openers)
        if (token == opener.token) return opener.read;
    reader.RaiseParseError("Unknown " + std::string(family) + " type \"" + token + "\"");
}

// The end of every component record: the family's own tail keys (readTail), "}" and the owner.
template <class Base, class ReadTail>
std::shared_ptr<Base> FinishRecord(SceneReader& reader, std::shared_ptr<Base> record, ReadTail&& readTail)
{
    readTail(*record);
    reader.Expect("}");
    record->m_Owner = reader.scene;
    return record;
}

// Reads a whole component record: opener, body, the family's tail keys and "}".
template <class Base, std::size_t N, class ReadTail>
std::shared_ptr<Base> ReadRecord(
    SceneReader& reader, const RecordOpener<Base> (&openers)[N], const char* family, ReadTail&& readTail)
{
    const auto read = FindRecordReader(reader, openers, reader.ReadWord(), family);
    return FinishRecord(reader, read(reader), readTail);
}

// Reads a whole record of a resource family; the resource is dynamic when a value read for it
// names a variable (or when its body marked it so, as combinations and included records do).
template <class Base, std::size_t N, class ReadTail>
std::shared_ptr<Base> ReadResourceRecord(
    SceneReader& reader, const RecordOpener<Base> (&openers)[N], const char* family, ReadTail&& readTail)
{
    reader.usesVariables = false;
    std::shared_ptr<Base> record = ReadRecord(reader, openers, family, readTail);
    record->m_Dynamic = record->m_Dynamic || reader.usesVariables;
    return record;
}

// Families whose records hold records of their own (procedures, controller trees) stop
// reading beyond this depth: deeper records would exhaust the stack when read, run or
// destroyed, and no real scene comes near it.
inline constexpr int MaxRecordNesting = 256;

// Reads a whole record of such a family: opener, body, then whatever readRest reads into
// the record, then "}". depth counts the family's records being read on this thread.
template <class Base, std::size_t N, class ReadRest>
std::shared_ptr<Base> ReadNestingRecord(
    SceneReader& reader, const RecordOpener<Base> (&openers)[N], const char* family, int& depth, ReadRest&& readRest)
{
    NestingGuard nesting(depth, MaxRecordNesting);
    const std::string token = reader.ReadWord();
    const SourceLocation readAt = reader.Here();
    const auto read = FindRecordReader(reader, openers, token, family);
    if (nesting.Exceeded())
        reader.RaiseParseError(
            std::string(family) + " records nested more than " + std::to_string(MaxRecordNesting) + " deep");
    std::shared_ptr<Base> record = FinishRecord(reader, read(reader), readRest);
    record->m_ReadAt = readAt;
    return record;
}

} // namespace KUV
