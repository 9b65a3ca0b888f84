#include "UXmlSafe.h"

#include "UOrvError.h"

#include <libxml/globals.h>

#include <QCoreApplication>
#include <QStringEncoder>

#include <utility>

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
        message =
            QCoreApplication::translate("UXmlSafe", "riadok %1: %2").arg(error->line).arg(message);
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

// The parser is fed the text in pieces, so that neither a UTF-8 copy of the
// whole text nor libxml2's own copy of it is ever held beside the tree.
TXmlDocPtr ParseXmlSafely(QStringView text, const QString& what) {
    constexpr qsizetype PieceSize = 64 * 1024;
    TXmlErrorScope errors;
    TXmlParserCtxtPtr context(xmlCreatePushParserCtxt(nullptr, nullptr, nullptr, 0, nullptr));
    if (!context)
        throw TOrvError(QCoreApplication::translate("UXmlSafe", "%1: nedostatok pamäte").arg(what));
    // The text is Unicode already, whatever its declaration says.
    xmlCtxtUseOptions(context.get(), SafeParseOptions | XML_PARSE_IGNORE_ENC);
    QStringEncoder encoder(QStringEncoder::Utf8);
    // The encoder keeps the first half of a pair that a piece cuts.
    for (qsizetype at = 0; at < text.size(); at += PieceSize) {
        const QByteArray bytes = encoder(text.mid(at, PieceSize));
        if (xmlParseChunk(context.get(), bytes.constData(), static_cast<int>(bytes.size()), 0))
            break;
    }
    xmlParseChunk(context.get(), nullptr, 0, 1);
    TXmlDocPtr doc(std::exchange(context->myDoc, nullptr));
    if (!doc || !context->wellFormed)
        throw TOrvError(QStringLiteral("%1: %2").arg(
            what, errors.FirstMessage(QCoreApplication::translate("UXmlSafe", "nie je XML"))));
    if (doc->intSubset || doc->extSubset)
        throw TOrvError(
            QCoreApplication::translate("UXmlSafe", "%1: deklarácia typu dokumentu nie je dovolená")
                .arg(what));
    if (!xmlDocGetRootElement(doc.get()))
        throw TOrvError(
            QCoreApplication::translate("UXmlSafe", "%1: chýba koreňový prvok").arg(what));
    return doc;
}
