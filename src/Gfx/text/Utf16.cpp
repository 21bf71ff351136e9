#include "Gfx/text/Utf16.h"

namespace KUV::Gfx::Text {

namespace {

bool IsHighSurrogate(char32_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char32_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
        return;
    }
    const int tail = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
    constexpr unsigned char kLead[4] = { 0x00, 0xC0, 0xE0, 0xF0 };
    out += char(kLead[tail] | (c >> (6 * tail)));
    for (int i = tail - 1; i >= 0; --i)
        out += char(0x80 | ((c >> (6 * i)) & 0x3F));
}

// Decodes the code point at text[pos]; returns how many code units it used.
std::size_t DecodeAt(const WCHAR* text, std::size_t length, std::size_t pos, char32_t& c)
{
    c = text[pos];
    if (IsHighSurrogate(c) && pos + 1 < length && IsLowSurrogate(text[pos + 1])) {
        c = 0x10000 + ((c - 0xD800) << 10) + (char32_t(text[pos + 1]) - 0xDC00);
        return 2;
    }
    if (c == 0 || IsHighSurrogate(c) || IsLowSurrogate(c)) c = 0xFFFD;
    return 1;
}

} // namespace

Utf8Text ToUtf8(const WCHAR* text, std::size_t length)
{
    Utf8Text out;
    out.bytes.reserve(length);
    out.utf16Offset.reserve(length + 1);
    for (std::size_t pos = 0; pos < length;) {
        char32_t c = 0;
        const std::size_t used = DecodeAt(text, length, pos, c);
        AppendUtf8(out.bytes, c);
        out.utf16Offset.resize(out.bytes.size(), UINT32(pos));
        pos += used;
    }
    out.utf16Offset.push_back(UINT32(length));
    return out;
}

std::string ToUtf8(const WCHAR* text)
{
    std::size_t length = 0;
    while (text[length] != 0)
        ++length;
    return ToUtf8(text, length).bytes;
}

} // namespace KUV::Gfx::Text
