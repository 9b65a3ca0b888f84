#include "UXmlText.h"

#include "UOrvError.h"

#include <libxml/xmlerror.h>
#include <libxml/xmlsave.h>

#include <QCoreApplication>

#include <memory>

namespace {

struct TDocFree {
    void operator()(xmlDoc* doc) const noexcept { xmlFreeDoc(doc); }
};
struct TNodeFree {
    void operator()(xmlNode* node) const noexcept { xmlFreeNode(node); }
};
struct TBufferFree {
    void operator()(xmlBuffer* buffer) const noexcept { xmlBufferFree(buffer); }
};
struct TSaveClose {
    void operator()(xmlSaveCtxt* context) const noexcept { xmlSaveClose(context); }
};

[[noreturn]] void EngineFailed() {
    const xmlError* error = xmlGetLastError();
    QString text =
        error && error->message ? QString::fromUtf8(error->message).trimmed() : QString();
    if (text.isEmpty())
        text = QCoreApplication::translate("UXmlText", "XML dokument sa nedá zapísať ako text");
    throw TOrvError(text);
}

} // namespace

QString XmlTextOfNode(const xmlNode& node) {
    xmlResetLastError();
    const std::unique_ptr<xmlDoc, TDocFree> doc(xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0")));
    if (!doc)
        EngineFailed();
    std::unique_ptr<xmlNode, TNodeFree> copy(
        xmlDocCopyNode(const_cast<xmlNode*>(&node), doc.get(), 1));
    if (!copy)
        EngineFailed();
    // The copy already declares on its root what it needs from outside its
    // subtree. xmlReconciliateNs is not used: it renames default namespaces to
    // "default:" prefixes, which breaks the signatures inside a submission.
    xmlDocSetRootElement(doc.get(), copy.release());

    const std::unique_ptr<xmlBuffer, TBufferFree> buffer(xmlBufferCreate());
    if (!buffer)
        EngineFailed();
    {
        const std::unique_ptr<xmlSaveCtxt, TSaveClose> context(
            xmlSaveToBuffer(buffer.get(), "UTF-8", XML_SAVE_NO_DECL));
        if (!context)
            EngineFailed();
        if (xmlSaveDoc(context.get(), doc.get()) < 0)
            EngineFailed();
    } // closing the context flushes it into the buffer
    return QString::fromUtf8(reinterpret_cast<const char*>(xmlBufferContent(buffer.get())),
                             xmlBufferLength(buffer.get()));
}
