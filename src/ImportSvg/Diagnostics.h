// What the importer tells its user: warnings per element for what it dropped or approximated,
// and the one error that ends an import, both as FILE:LINE: lines.
#pragma once

#include <ostream>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace KUV::ImportSvg {

// Ends the import; line is the SVG line it concerns (0 when none).
class ImportError : public std::runtime_error {
public:
    ImportError(int line, const std::string& message)
        : std::runtime_error(message)
        , m_Line(line)
    {
    }
    int Line() const { return m_Line; }

private:
    int m_Line;
};

class Diagnostics {
public:
    explicit Diagnostics(std::string fileName)
        : m_FileName(std::move(fileName))
    {
    }
    // One warning per element and text: an element met again through several uses warns once.
    void Warn(int line, const std::string& text);
    const std::vector<std::string>& Warnings() const { return m_Warnings; }
    std::string ErrorLine(int line, const std::string& text) const;
    const std::string& FileName() const { return m_FileName; }

private:
    std::string m_FileName;
    std::vector<std::string> m_Warnings;
    std::set<std::string> m_Seen;
};

} // namespace KUV::ImportSvg
