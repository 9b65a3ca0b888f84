#include "USimXml.h"

#include <libxml/parser.h>
#include <libxml/xmlsave.h>

#include <climits>
#include <cstring>
#include <mutex>

namespace Sim {

namespace {

struct TParserCtxtDeleter {
    void operator()(xmlParserCtxt* ctxt) const noexcept { xmlFreeParserCtxt(ctxt); }
};

struct TBufferDeleter {
    void operator()(xmlBuffer* buf) const noexcept { xmlBufferFree(buf); }
};

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

void OnDocType(void* ctx, const xmlChar*, const xmlChar*, const xmlChar*) {
    auto* ctxt = static_cast<xmlParserCtxt*>(ctx);
    static_cast<TXmlParsed*>(ctxt->_private)->HasDtd = true;
    xmlStopParser(ctxt);
}

} // namespace

void InitXml() {
    static std::once_flag once;
    std::call_once(once, [] { xmlInitParser(); });
}

TXmlParsed ParseUntrusted(std::string_view text) {
    TXmlParsed out;
    if (text.size() > static_cast<std::size_t>(INT_MAX)) {
        out.Error = "document too large";
        return out;
    }
    std::unique_ptr<xmlParserCtxt, TParserCtxtDeleter> ctxt(xmlNewParserCtxt());
    if (!ctxt || !ctxt->sax) {
        out.Error = "out of memory";
        return out;
    }
    // Stop at the DOCTYPE itself, before any entity of it is declared.
    ctxt->_private = &out;
    ctxt->sax->internalSubset = OnDocType;
    // Sizes are bounded by the callers (the server refuses larger requests),
    // so libxml2's own 10 MB limit on a text node is lifted: a large
    // podanieB64 must be read whole, not cut short.
    const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_HUGE;
    TXmlDoc doc(xmlCtxtReadMemory(ctxt.get(), text.data(), static_cast<int>(text.size()),
                                  "noname.xml", nullptr, options));
    if (out.HasDtd) {
        out.Error = "DOCTYPE";
        return out;
    }
    // libxml2 can hand back a document after an error it raised on the way
    // (an allocation limit, say); such a document may be cut short.
    if (!doc || !ctxt->wellFormed || ctxt->errNo != XML_ERR_OK) {
        const xmlError* err = xmlCtxtGetLastError(ctxt.get());
        out.Error = TrimMessage(err && err->message ? err->message : "not well-formed");
        return out;
    }
    if (doc->intSubset != nullptr || doc->extSubset != nullptr) {
        out.HasDtd = true;
        out.Error = "DOCTYPE";
        return out;
    }
    if (xmlDocGetRootElement(doc.get()) == nullptr) {
        out.Error = "no document element";
        return out;
    }
    out.Doc = std::move(doc);
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
    std::unique_ptr<xmlBuffer, TBufferDeleter> buf(xmlBufferCreate());
    xmlSaveCtxt* save = xmlSaveToBuffer(buf.get(), "UTF-8", XML_SAVE_NO_DECL);
    xmlSaveDoc(save, doc);
    xmlSaveClose(save);
    std::string out(C(xmlBufferContent(buf.get())),
                    static_cast<std::size_t>(xmlBufferLength(buf.get())));
    while (!out.empty() && out.back() == '\n')
        out.pop_back();
    return out;
}

std::string SerializeNode(xmlDoc* doc, xmlNode* node) {
    std::unique_ptr<xmlBuffer, TBufferDeleter> buf(xmlBufferCreate());
    xmlNodeDump(buf.get(), doc, node, 0, 0);
    return std::string(C(xmlBufferContent(buf.get())),
                       static_cast<std::size_t>(xmlBufferLength(buf.get())));
}

void AppendForeignElement(xmlNode* parent, const xmlNode* root) {
    xmlNode* copy = xmlDocCopyNode(const_cast<xmlNode*>(root), parent->doc, 1);
    if (!copy)
        return;
    xmlAddChild(parent, copy);
    DeclareEmptyDefaults(copy);
}

} // namespace Sim
