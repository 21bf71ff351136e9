#include "ImportSvg/Diagnostics.h"

namespace KUV::ImportSvg {

void Diagnostics::Warn(int line, const std::string& text)
{
    std::string message = m_FileName + ":" + std::to_string(line) + ": warning: " + text;
    if (m_Seen.insert(message).second) m_Warnings.push_back(std::move(message));
}

std::string Diagnostics::ErrorLine(int line, const std::string& text) const
{
    return m_FileName + ":" + std::to_string(line) + ": error: " + text;
}

} // namespace KUV::ImportSvg
