#include "URawXml.h"

#include "UXmlOwners.h"
#include "UXmlWrite.h"

#include <new>

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
    const xmlNode* node = Node();
    if (!node) {
        return {};
    }
    const std::string text = XmlNodeText(*node);
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}
