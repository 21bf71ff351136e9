// UTF-16 text from the drawing interfaces turned into the UTF-8 the libraries take.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "Gfx/Com.h"

namespace KUV::Gfx::Text {

struct Utf8Text {
    std::string bytes;
    // For every byte offset (and the end), the offset of the same place in the UTF-16 text.
    std::vector<UINT32> utf16Offset;
};

// Converts length code units; unpaired surrogates and NUL become U+FFFD, so the result
// is always valid UTF-8 without embedded zeros.
Utf8Text ToUtf8(const WCHAR* text, std::size_t length);

// The same conversion for a zero-terminated string, without the offset table.
std::string ToUtf8(const WCHAR* text);

} // namespace KUV::Gfx::Text
