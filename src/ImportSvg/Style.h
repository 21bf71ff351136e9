// The cascade: presentation attributes, then the rules of the document's style sheets by
// specificity, then the style attribute, with !important above all; inherited properties
// flow from the parent.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "ImportSvg/XmlTree.h"

namespace KUV::ImportSvg {

using Properties = std::map<std::string, std::string>;

struct StyleRule {
    // One compound selector: element name ("" for any), id and classes that must all match.
    std::string element, id;
    std::vector<std::string> classes;
    bool unsupported = false; // combinators, attribute selectors, pseudo-classes
    int specificity = 0;
    int order = 0;
    Properties declarations, important;
};

struct StyleSheet {
    std::vector<StyleRule> rules;
    bool hasUnsupported = false;
};

// Declarations of a style attribute or rule body; !important ones go to important.
void ParseDeclarations(const std::string& text, Properties& normal, Properties& important);
void AddStyleSheet(const std::string& text, StyleSheet& sheet);

// The element's computed properties (as text) given its parent's.
Properties Cascade(const Element& element, const Properties& parent, const StyleSheet& sheet);

bool IsPresentationAttribute(const std::string& name);

} // namespace KUV::ImportSvg
