// Scene files are byte strings; the text and imaging layers take UTF-16.
#pragma once

#include <string>

namespace KUV {

// The UTF-16 form of bytes from a scene file: read as UTF-8 when they are valid
// UTF-8, otherwise one character per byte as Windows-1252.
std::u16string WidenSceneText(const std::string& bytes);

} // namespace KUV
