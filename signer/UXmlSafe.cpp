#include "UXmlSafe.h"

#include "UOrvError.h"

#include <libxml/globals.h>

#include <climits>

namespace {

xmlParserInputPtr RefuseExternal(const char*, const char*, xmlParserCtxtPtr) {
    return nullptr;
}

void IgnoreGeneric(void*, const char*, ...) {}

} // namespace

TXmlErrorScope::TXmlErrorScope()
    : PreviousHandler(xmlStructuredError)
    , PreviousContext(xmlStructuredErrorContext)
    , PreviousGeneric(xmlGenericError)
    , PreviousGenericContext(xmlGenericErrorContext)
    , PreviousLoader(xmlGetExternalEntityLoader()) {
    xmlSetStructuredErrorFunc(this, &TXmlErrorScope::Collect);
    xmlSetGenericErrorFunc(nullptr, &IgnoreGeneric);
    xmlSetExternalEntityLoader(&RefuseExternal);
}

TXmlErrorScope::~TXmlErrorScope() {
    xmlSetExternalEntityLoader(PreviousLoader);
    xmlSetGenericErrorFunc(PreviousGenericContext, PreviousGeneric);
    xmlSetStructuredErrorFunc(PreviousContext, PreviousHandler);
}

void TXmlErrorScope::Collect(void* scope, xmlErrorPtr error) {
    if (!scope || !error || error->level == XML_ERR_WARNING)
        return;
    QString message = QString::fromUtf8(error->message ? error->message : "").trimmed();
    if (error->line > 0)
        message = QStringLiteral("line %1: %2").arg(error->line).arg(message);
    static_cast<TXmlErrorScope*>(scope)->Messages << message;
}

QString TXmlErrorScope::FirstMessage(const QString& fallback) const {
    return Messages.isEmpty() ? fallback : Messages.first();
}

QString FromXmlChar(const xmlChar* text) {
    return text ? QString::fromUtf8(reinterpret_cast<const char*>(text)) : QString();
}

QByteArray ToUtf8(const QString& text) {
    return text.toUtf8();
}

TXmlDocPtr ParseXmlSafely(const QByteArray& utf8, const QString& what) {
    if (utf8.size() > INT_MAX)
        throw TOrvError(QStringLiteral("%1: the document is too large").arg(what));
    TXmlErrorScope errors;
    TXmlParserCtxtPtr context(xmlNewParserCtxt());
    if (!context)
        throw TOrvError(QStringLiteral("%1: not enough memory").arg(what));
    // The text is Unicode already, whatever its declaration says.
    TXmlDocPtr doc(xmlCtxtReadMemory(context.get(), utf8.constData(), static_cast<int>(utf8.size()),
                                     nullptr, "UTF-8", SafeParseOptions));
    if (!doc || !context->wellFormed)
        throw TOrvError(
            QStringLiteral("%1: %2").arg(what, errors.FirstMessage(QStringLiteral("not XML"))));
    if (doc->intSubset || doc->extSubset)
        throw TOrvError(QStringLiteral("%1: a document type declaration is not allowed").arg(what));
    if (!xmlDocGetRootElement(doc.get()))
        throw TOrvError(QStringLiteral("%1: no root element").arg(what));
    return doc;
}
