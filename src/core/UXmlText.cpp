#include "UXmlText.h"

#include "UOrvError.h"
#include "UXmlOwners.h"
#include "UXmlWrite.h"

#include <libxml/xmlerror.h>

#include <QCoreApplication>

namespace {

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
    const TXmlDocPtr doc(xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0")));
    if (!doc)
        EngineFailed();
    TXmlNodePtr copy(xmlDocCopyNode(const_cast<xmlNode*>(&node), doc.get(), 1));
    if (!copy)
        EngineFailed();
    // The copy already declares on its root what it needs from outside its
    // subtree. xmlReconciliateNs is not used: it renames default namespaces to
    // "default:" prefixes, which breaks the signatures inside a submission.
    xmlDocSetRootElement(doc.get(), copy.release());
    const std::optional<std::string> text = XmlDocumentText(*doc);
    if (!text)
        EngineFailed();
    return QString::fromUtf8(text->data(), qsizetype(text->size()));
}
