#include "ImportSvg/Style.h"

#include <algorithm>
#include <iterator>
#include <set>
#include <sstream>

#include "ImportSvg/Color.h"
#include "ImportSvg/Units.h"

namespace KUV::ImportSvg {

namespace {

const std::set<std::string> Inherited = { "fill", "fill-opacity", "fill-rule", "stroke", "stroke-width",
    "stroke-opacity", "stroke-linecap", "stroke-linejoin", "stroke-miterlimit", "stroke-dasharray", "stroke-dashoffset",
    "color", "visibility", "font-size", "font-family", "font-weight", "font-style", "marker-start", "marker-mid",
    "marker-end", "paint-order", "clip-rule", "shape-rendering", "text-anchor", "color-interpolation", "direction",
    "writing-mode" };

const std::set<std::string> NotInherited = { "opacity", "display", "clip-path", "mask", "filter", "stop-color",
    "stop-opacity", "mix-blend-mode", "isolation", "vector-effect", "overflow", "transform" };

std::string StripComments(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "/*") == 0) {
            const std::size_t end = text.find("*/", i + 2);
            if (end == std::string::npos) break;
            i = end + 1;
            continue;
        }
        out += text[i];
    }
    return out;
}

StyleRule ParseSelector(std::string_view text)
{
    StyleRule rule;
    text = Trim(text);
    std::size_t i = 0;
    auto name = [&]() {
        const std::size_t begin = i;
        while (
            i < text.size() && (std::isalnum(static_cast<unsigned char>(text[i])) || text[i] == '-' || text[i] == '_'))
            ++i;
        return std::string(text.substr(begin, i - begin));
    };
    if (i < text.size() && text[i] == '*') ++i;
    rule.element = name();
    if (!rule.element.empty()) rule.specificity += 1;
    while (i < text.size()) {
        const char c = text[i++];
        if (c == '.') {
            rule.classes.push_back(name());
            rule.specificity += 100;
        } else if (c == '#') {
            rule.id = name();
            rule.specificity += 10000;
        } else {
            rule.unsupported = true;
            break;
        }
    }
    if (text.empty()) rule.unsupported = true;
    return rule;
}

bool Matches(const StyleRule& rule, const Element& element)
{
    if (rule.unsupported) return false;
    if (!rule.element.empty() && rule.element != element.name) return false;
    const std::string* id = element.Attribute("id");
    if (!rule.id.empty() && (id == nullptr || *id != rule.id)) return false;
    if (rule.classes.empty()) return true;
    const std::string* cls = element.Attribute("class");
    if (cls == nullptr) return false;
    std::istringstream words(*cls);
    std::set<std::string> have { std::istream_iterator<std::string>(words), {} };
    return std::all_of(
        rule.classes.begin(), rule.classes.end(), [&have](const std::string& c) { return have.count(c) != 0; });
}

bool ValidPaint(const std::string& value)
{
    const std::string v = Lower(Trim(value));
    return v == "none" || v == "currentcolor" || v.rfind("url(", 0) == 0 || ParseColor(v).has_value();
}

bool ValidValue(const std::string& key, const std::string& value)
{
    if (Trim(value) == "inherit") return true;
    if (key == "fill" || key == "stroke") return ValidPaint(value);
    if (key == "color" || key == "stop-color") {
        const std::string v = Lower(Trim(value));
        return v == "currentcolor" || ParseColor(v).has_value();
    }
    return true;
}

} // namespace

bool IsPresentationAttribute(const std::string& name)
{
    return Inherited.count(name) != 0 || NotInherited.count(name) != 0;
}

void ParseDeclarations(const std::string& text, Properties& normal, Properties& important)
{
    std::size_t pos = 0;
    const std::string clean = StripComments(text);
    while (pos < clean.size()) {
        std::size_t end = clean.find(';', pos);
        if (end == std::string::npos) end = clean.size();
        const std::string_view decl = std::string_view(clean).substr(pos, end - pos);
        pos = end + 1;
        const std::size_t colon = decl.find(':');
        if (colon == std::string::npos) continue;
        const std::string key = Lower(Trim(decl.substr(0, colon)));
        std::string value(Trim(decl.substr(colon + 1)));
        const std::size_t bang = value.rfind('!');
        if (bang != std::string::npos && Lower(Trim(std::string_view(value).substr(bang + 1))) == "important") {
            important[key] = std::string(Trim(std::string_view(value).substr(0, bang)));
            continue;
        }
        if (!key.empty()) normal[key] = value;
    }
}

void AddStyleSheet(const std::string& text, StyleSheet& sheet)
{
    const std::string clean = StripComments(text);
    std::size_t pos = 0;
    while (pos < clean.size()) {
        const std::size_t open = clean.find('{', pos);
        if (open == std::string::npos) break;
        const std::size_t close = clean.find('}', open);
        if (close == std::string::npos) break;
        const std::string selectors = clean.substr(pos, open - pos);
        const std::string body = clean.substr(open + 1, close - open - 1);
        pos = close + 1;
        if (Trim(selectors).rfind("@", 0) == 0) {
            sheet.hasUnsupported = true;
            continue;
        }
        std::size_t s = 0;
        while (s <= selectors.size()) {
            std::size_t comma = selectors.find(',', s);
            if (comma == std::string::npos) comma = selectors.size();
            StyleRule rule = ParseSelector(std::string_view(selectors).substr(s, comma - s));
            s = comma + 1;
            sheet.hasUnsupported = sheet.hasUnsupported || rule.unsupported;
            rule.order = int(sheet.rules.size());
            ParseDeclarations(body, rule.declarations, rule.important);
            sheet.rules.push_back(std::move(rule));
        }
    }
    std::stable_sort(sheet.rules.begin(), sheet.rules.end(), [](const StyleRule& a, const StyleRule& b) {
        return a.specificity != b.specificity ? a.specificity < b.specificity : a.order < b.order;
    });
}

Properties Cascade(const Element& element, const Properties& parent, const StyleSheet& sheet)
{
    Properties declared, important;
    for (const auto& [key, value] : element.attributes)
        if (IsPresentationAttribute(key) && key != "transform") declared[key] = std::string(Trim(value));
    for (const StyleRule& rule : sheet.rules) {
        if (!Matches(rule, element)) continue;
        for (const auto& [key, value] : rule.declarations)
            declared[key] = value;
        for (const auto& [key, value] : rule.important)
            important[key] = value;
    }
    if (const std::string* style = element.Attribute("style")) ParseDeclarations(*style, declared, important);
    for (const auto& [key, value] : important)
        declared[key] = value;

    Properties computed;
    for (const auto& [key, value] : parent)
        if (Inherited.count(key) != 0) computed[key] = value;
    for (const auto& [key, value] : declared) {
        if (!ValidValue(key, value)) continue; // an invalid declaration is ignored, as CSS does
        if (value == "inherit") {
            const auto it = parent.find(key);
            if (it != parent.end())
                computed[key] = it->second;
            else
                computed.erase(key);
        } else
            computed[key] = value;
    }
    return computed;
}

} // namespace KUV::ImportSvg
