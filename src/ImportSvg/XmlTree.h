// The SVG document as a plain tree of elements, read with libxml2 with the network and
// external entities shut off and the document's size bounded.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace KUV::ImportSvg {

struct Element {
    std::string name; // local name; elements outside the SVG namespace get a "foreign:" prefix
    int line = 0;
    std::map<std::string, std::string> attributes; // local names; xlink:href is "href" unless href is given
    std::vector<std::unique_ptr<Element>> children;
    std::string text; // character data directly inside (style sheets)
    const Element* parent = nullptr;

    const std::string* Attribute(const std::string& key) const;
};

// Nesting deeper than this is refused; the importer's own recursion stays within it.
constexpr int MaxXmlDepth = 200;
constexpr std::size_t MaxElements = 2000000;

// Parses text (the file's bytes); throws ImportError with the parser's line on malformed input.
std::unique_ptr<Element> ParseXml(const std::string& text);

} // namespace KUV::ImportSvg
