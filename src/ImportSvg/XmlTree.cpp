#include "ImportSvg/XmlTree.h"

#include <climits>
#include <cstring>

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

#include "ImportSvg/Diagnostics.h"

namespace KUV::ImportSvg {

const std::string* Element::Attribute(const std::string& key) const
{
    const auto it = attributes.find(key);
    return it == attributes.end() ? nullptr : &it->second;
}

namespace {

constexpr const char* SvgNamespace = "http://www.w3.org/2000/svg";
constexpr const char* XlinkNamespace = "http://www.w3.org/1999/xlink";

// Nothing outside the file is ever read: external DTDs and entities resolve to nothing.
xmlParserInputPtr NoExternalEntity(const char*, const char*, xmlParserCtxtPtr)
{
    return nullptr;
}

struct DocHolder {
    xmlDocPtr doc = nullptr;
    ~DocHolder() { xmlFreeDoc(doc); }
};

struct ContextHolder {
    xmlParserCtxtPtr ctxt = xmlNewParserCtxt();
    ~ContextHolder() { xmlFreeParserCtxt(ctxt); }
};

std::string Text(const xmlChar* s)
{
    return s == nullptr ? std::string() : std::string(reinterpret_cast<const char*>(s));
}

bool InNamespace(xmlNsPtr ns, const char* uri)
{
    return ns != nullptr && ns->href != nullptr && std::strcmp(reinterpret_cast<const char*>(ns->href), uri) == 0;
}

void ReadAttributes(xmlNodePtr node, Element& element)
{
    for (xmlAttrPtr a = node->properties; a != nullptr; a = a->next) {
        xmlChar* value = xmlNodeListGetString(node->doc, a->children, 1);
        const std::string name = Text(a->name);
        std::string text = Text(value);
        xmlFree(value);
        if (a->ns != nullptr && !InNamespace(a->ns, XlinkNamespace)) {
            if (std::strcmp(reinterpret_cast<const char*>(a->ns->prefix ? a->ns->prefix : BAD_CAST ""), "xml") == 0)
                element.attributes["xml:" + name] = text;
            continue;
        }
        if (a->ns != nullptr && name == "href") {
            element.attributes.emplace("href", text); // a plain href given too wins
            continue;
        }
        element.attributes[name] = text;
    }
}

struct Builder {
    std::size_t count = 0;

    std::unique_ptr<Element> Build(xmlNodePtr node, int depth)
    {
        if (depth > MaxXmlDepth) throw ImportError(int(xmlGetLineNo(node)), "elements nested too deeply");
        if (++count > MaxElements) throw ImportError(int(xmlGetLineNo(node)), "too many elements");
        auto element = std::make_unique<Element>();
        element->name = Text(node->name);
        // Elements that an entity brings in lose the namespace declared around them.
        const bool svg = InNamespace(node->ns, SvgNamespace) || (node->ns == nullptr && depth > 0);
        if (!svg) element->name = "foreign:" + element->name;
        element->line = int(std::min<long>(xmlGetLineNo(node), INT_MAX));
        ReadAttributes(node, *element);
        for (xmlNodePtr child = node->children; child != nullptr; child = child->next) {
            if (child->type == XML_ELEMENT_NODE) {
                element->children.push_back(Build(child, depth + 1));
                element->children.back()->parent = element.get();
            } else if (child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE)
                element->text += Text(child->content);
        }
        return element;
    }
};

void IgnoreErrors(void*, const char*, ...) { }

// The first error is the one that names the cause; later ones follow from it.
struct FirstError {
    bool set = false;
    int line = 0;
    std::string message;
};

void KeepFirstError(void* data, xmlErrorPtr error)
{
    auto* first = static_cast<FirstError*>(data);
    if (first->set || error == nullptr || error->level < XML_ERR_ERROR) return;
    first->set = true;
    first->line = error->line;
    first->message = error->message != nullptr ? error->message : "unreadable";
}

} // namespace

std::unique_ptr<Element> ParseXml(const std::string& text)
{
    if (text.size() > size_t(INT_MAX)) throw ImportError(0, "the file is too large");
    xmlSetExternalEntityLoader(NoExternalEntity);
    xmlSetGenericErrorFunc(nullptr, IgnoreErrors);
    ContextHolder context;
    if (context.ctxt == nullptr) throw ImportError(0, "out of memory");
    // Internal entities are expanded (editors declare their namespaces that way); libxml2 bounds
    // their amplification unless XML_PARSE_HUGE is given, which it is not.
    const int options = XML_PARSE_NONET | XML_PARSE_NOENT | XML_PARSE_NOWARNING | XML_PARSE_NOERROR;
    DocHolder doc;
    FirstError first;
    xmlSetStructuredErrorFunc(&first, KeepFirstError);
    doc.doc = xmlCtxtReadMemory(context.ctxt, text.data(), int(text.size()), "input.svg", nullptr, options);
    xmlSetStructuredErrorFunc(nullptr, nullptr);
    if (doc.doc == nullptr || first.set) {
        const std::string message = first.set ? first.message : "unreadable";
        const std::string trimmed = message.substr(0, message.find_last_not_of(" \n") + 1);
        throw ImportError(first.line, "not well-formed XML: " + trimmed);
    }
    xmlNodePtr root = xmlDocGetRootElement(doc.doc);
    if (root == nullptr) throw ImportError(0, "not well-formed XML: no root element");
    Builder builder;
    return builder.Build(root, 0);
}

} // namespace KUV::ImportSvg
