#include "UXmlSafe.h"

#include "UOrvError.h"
#include "UXmlParse.h"

#include <libxml/globals.h>

#include <QCoreApplication>
#include <QStringEncoder>

#include <optional>
#include <string_view>

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
    static_cast<TXmlErrorScope*>(scope)->Messages << Format(error->line, error->message);
}

QString TXmlErrorScope::Format(int line, const char* message) {
    QString text = QString::fromUtf8(message ? message : "").trimmed();
    if (line > 0)
        text = QCoreApplication::translate("UXmlSafe", "riadok %1: %2").arg(line).arg(text);
    return text;
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
    const TXmlErrorScope scope;
    QStringEncoder encoder(QStringEncoder::Utf8);
    QByteArray bytes;
    qsizetype at = 0;
    // The encoder keeps the first half of a pair that a piece cuts.
    const auto next = [&]() -> std::optional<std::string_view> {
        if (at >= text.size())
            return std::nullopt;
        bytes = encoder(text.mid(at, PieceSize));
        at += PieceSize;
        return std::string_view(bytes.constData(), std::size_t(bytes.size()));
    };
    // The text is Unicode already, whatever its declaration says; a DOCTYPE
    // is refused once the document is read.
    TXmlParseResult parsed = ParseXmlPieces(next, {SafeParseOptions | XML_PARSE_IGNORE_ENC, false});
    if (parsed.OutOfMemory)
        throw TOrvError(QCoreApplication::translate("UXmlSafe", "%1: nedostatok pamäte").arg(what));
    if (!parsed.Doc || !parsed.WellFormed) {
        QString reason = QCoreApplication::translate("UXmlSafe", "nie je XML");
        if (!parsed.Errors.empty())
            reason = TXmlErrorScope::Format(parsed.Errors.front().Line,
                                            parsed.Errors.front().Message.c_str());
        throw TOrvError(QStringLiteral("%1: %2").arg(what, reason));
    }
    if (parsed.DocType)
        throw TOrvError(
            QCoreApplication::translate("UXmlSafe", "%1: deklarácia typu dokumentu nie je dovolená")
                .arg(what));
    if (!xmlDocGetRootElement(parsed.Doc.get()))
        throw TOrvError(
            QCoreApplication::translate("UXmlSafe", "%1: chýba koreňový prvok").arg(what));
    return std::move(parsed.Doc);
}
