#include "URawXml.h"

#include <new>

namespace {

struct TXmlBufferFree {
    void operator()(xmlBuffer* buffer) const noexcept { xmlBufferFree(buffer); }
};

} // namespace

TRawXml::TRawXml(const xmlNode* node) {
    if (!node) {
        return;
    }
    TXmlDocPtr doc(xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0")));
    if (!doc) {
        throw std::bad_alloc();
    }
    xmlNode* copy = xmlDocCopyNode(const_cast<xmlNode*>(node), doc.get(), 1);
    if (!copy) {
        throw std::bad_alloc();
    }
    if (copy->type == XML_ELEMENT_NODE) {
        xmlDocSetRootElement(doc.get(), copy);
    } else {
        xmlAddChild(reinterpret_cast<xmlNode*>(doc.get()), copy);
    }
    Doc = std::move(doc);
}

xmlNode* TRawXml::Node() const noexcept {
    return Doc ? Doc->children : nullptr;
}

QString TRawXml::Xml() const {
    xmlNode* node = Node();
    if (!node) {
        return {};
    }
    const std::unique_ptr<xmlBuffer, TXmlBufferFree> buffer(xmlBufferCreate());
    if (!buffer || xmlNodeDump(buffer.get(), Doc.get(), node, 0, 0) < 0) {
        throw std::bad_alloc();
    }
    return QString::fromUtf8(reinterpret_cast<const char*>(xmlBufferContent(buffer.get())),
                             xmlBufferLength(buffer.get()));
}
