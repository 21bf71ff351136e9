// Which installed family the text layer draws a requested font family with.
#pragma once

#include <string>

namespace KUV::Check {

// The family (UTF-8) that text in family (scene bytes) is drawn with; empty when no font at all is found.
std::string ResolvedFontFamily(const std::string& family);

// Whether resolved is the family that was asked for (names compare without regard to ASCII case)
// or one the font configuration binds it to as its equivalent.
bool IsSameFamily(const std::string& family, const std::string& resolved);

} // namespace KUV::Check
