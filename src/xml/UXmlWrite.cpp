#include "UXmlWrite.h"

#include "UXmlOwners.h"

#include <new>

std::string XmlNodeText(const xmlNode& node) {
    const TXmlBufferPtr buffer(xmlBufferCreate());
    if (!buffer || xmlNodeDump(buffer.get(), node.doc, const_cast<xmlNode*>(&node), 0, 0) < 0) {
        throw std::bad_alloc();
    }
    return std::string(reinterpret_cast<const char*>(xmlBufferContent(buffer.get())),
                       static_cast<std::size_t>(xmlBufferLength(buffer.get())));
}

std::optional<std::string> XmlDocumentText(const xmlDoc& doc) {
    const TXmlBufferPtr buffer(xmlBufferCreate());
    if (!buffer)
        return std::nullopt;
    {
        const TXmlSaveCtxtPtr context(xmlSaveToBuffer(buffer.get(), "UTF-8", XML_SAVE_NO_DECL));
        if (!context || xmlSaveDoc(context.get(), const_cast<xmlDoc*>(&doc)) < 0)
            return std::nullopt;
    } // closing the context flushes it into the buffer
    return std::string(reinterpret_cast<const char*>(xmlBufferContent(buffer.get())),
                       static_cast<std::size_t>(xmlBufferLength(buffer.get())));
}
