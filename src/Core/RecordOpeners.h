// Reading a record by its opener. Every family of records (geometries, brushes,
// transforms, path segments, controllers, executables) keeps one table from each
// opener to the function that reads the rest of the record.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

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

} // namespace KUV
