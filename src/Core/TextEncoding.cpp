#include "Core/TextEncoding.h"

#include <optional>

namespace KUV {

namespace {

// Windows-1252 for 0x80..0x9F; the five undefined bytes stand for themselves.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, //
};

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

struct SequenceStart {
    int length; // 0: not a lead byte
    char32_t bits;
    char32_t minimum; // smaller values would be overlong
};

SequenceStart ReadLead(unsigned char lead)
{
    if (lead < 0x80) return { 1, lead, 0 };
    if ((lead & 0xE0) == 0xC0) return { 2, char32_t(lead & 0x1F), 0x80 };
    if ((lead & 0xF0) == 0xE0) return { 3, char32_t(lead & 0x0F), 0x800 };
    if ((lead & 0xF8) == 0xF0) return { 4, char32_t(lead & 0x07), 0x10000 };
    return { 0, 0, 0 };
}

// Decodes one UTF-8 sequence at pos, refusing overlong forms, surrogates and values
// beyond U+10FFFF; advances pos past it.
std::optional<char32_t> DecodeUtf8(const std::string& bytes, std::size_t& pos)
{
    const SequenceStart start = ReadLead(static_cast<unsigned char>(bytes[pos]));
    if (start.length == 0 || bytes.size() - pos < static_cast<std::size_t>(start.length)) return std::nullopt;
    char32_t value = start.bits;
    for (int i = 1; i < start.length; ++i) {
        const auto next = static_cast<unsigned char>(bytes[pos + i]);
        if (!IsContinuation(next)) return std::nullopt;
        value = (value << 6) | (next & 0x3F);
    }
    if (value < start.minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return std::nullopt;
    pos += start.length;
    return value;
}

void AppendUtf16(std::u16string& out, char32_t value)
{
    if (value < 0x10000) {
        out.push_back(static_cast<char16_t>(value));
        return;
    }
    value -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (value >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (value & 0x3FF)));
}

std::optional<std::u16string> WidenUtf8(const std::string& bytes)
{
    std::u16string out;
    out.reserve(bytes.size());
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const auto value = DecodeUtf8(bytes, pos);
        if (!value) return std::nullopt;
        AppendUtf16(out, *value);
    }
    return out;
}

std::u16string WidenCp1252(const std::string& bytes)
{
    std::u16string out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        out.push_back(byte >= 0x80 && byte < 0xA0 ? kCp1252High[byte - 0x80] : char16_t(byte));
    }
    return out;
}

} // namespace

std::u16string WidenSceneText(const std::string& bytes)
{
    if (auto utf8 = WidenUtf8(bytes)) return std::move(*utf8);
    return WidenCp1252(bytes);
}

} // namespace KUV
