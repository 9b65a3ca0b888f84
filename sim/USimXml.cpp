#include "USimXml.h"

#include "UXmlParse.h"
#include "UXmlWrite.h"

#include <cstring>
#include <mutex>

namespace Sim {

namespace {

std::string TrimMessage(const char* text) {
    std::string out = text ? text : "";
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r' || out.back() == ' '))
        out.pop_back();
    return out;
}

void DeclareEmptyDefaults(xmlNode* node) {
    for (xmlNode* cur = node; cur; cur = cur->next) {
        if (cur->type != XML_ELEMENT_NODE)
            continue;
        if (cur->ns == nullptr) {
            const xmlNs* def = xmlSearchNs(cur->doc, cur, nullptr);
            if (def && def->href && def->href[0] != '\0')
                xmlNewNs(cur, X(""), nullptr);
        }
        DeclareEmptyDefaults(cur->children);
    }
}

} // namespace

void InitXml() {
    static std::once_flag once;
    std::call_once(once, [] { xmlInitParser(); });
}

TXmlParsed ParseUntrusted(std::string_view text) {
    TXmlParsed out;
    // Sizes are bounded by the callers (the server refuses larger requests),
    // so libxml2's own 10 MB limit on a text node is lifted: a large
    // podanieB64 must be read whole, not cut short.
    TXmlParseResult parsed =
        ParseXml(text, {XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_HUGE,
                        true, "noname.xml"});
    if (parsed.TooLarge) {
        out.Error = "document too large";
        return out;
    }
    if (parsed.OutOfMemory) {
        out.Error = "out of memory";
        return out;
    }
    if (parsed.DocType) {
        out.HasDtd = true;
        out.Error = "DOCTYPE";
        return out;
    }
    // libxml2 can hand back a document after an error it raised on the way
    // (an allocation limit, say); such a document may be cut short.
    if (!parsed.Doc || !parsed.WellFormed || parsed.ErrNo != XML_ERR_OK) {
        out.Error =
            TrimMessage(parsed.LastError.empty() ? "not well-formed" : parsed.LastError.c_str());
        return out;
    }
    if (xmlDocGetRootElement(parsed.Doc.get()) == nullptr) {
        out.Error = "no document element";
        return out;
    }
    out.Doc = std::move(parsed.Doc);
    return out;
}

bool IsElement(const xmlNode* node, const char* ns, const char* localName) {
    if (!node || node->type != XML_ELEMENT_NODE || std::strcmp(C(node->name), localName) != 0)
        return false;
    if (ns == nullptr)
        return node->ns == nullptr || node->ns->href == nullptr || node->ns->href[0] == '\0';
    return node->ns && node->ns->href && std::strcmp(C(node->ns->href), ns) == 0;
}

std::string NamespaceOf(const xmlNode* node) {
    return node && node->ns && node->ns->href ? C(node->ns->href) : "";
}

std::string TextOf(const xmlNode* node) {
    xmlChar* content = xmlNodeGetContent(node);
    std::string out = content ? C(content) : "";
    xmlFree(content);
    return out;
}

xmlNode* FirstElementChild(xmlNode* node) {
    for (xmlNode* cur = node ? node->children : nullptr; cur; cur = cur->next)
        if (cur->type == XML_ELEMENT_NODE)
            return cur;
    return nullptr;
}

xmlNode* NextElementSibling(xmlNode* node) {
    for (xmlNode* cur = node ? node->next : nullptr; cur; cur = cur->next)
        if (cur->type == XML_ELEMENT_NODE)
            return cur;
    return nullptr;
}

std::string SerializeDoc(xmlDoc* doc) {
    std::string out = XmlDocumentText(*doc).value_or(std::string());
    while (!out.empty() && out.back() == '\n')
        out.pop_back();
    return out;
}

void AppendForeignElement(xmlNode* parent, const xmlNode* root) {
    xmlNode* copy = xmlDocCopyNode(const_cast<xmlNode*>(root), parent->doc, 1);
    if (!copy)
        return;
    xmlAddChild(parent, copy);
    DeclareEmptyDefaults(copy);
}

} // namespace Sim
