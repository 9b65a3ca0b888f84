#include "USafeXml.h"

#include "UOrvError.h"
#include "UXmlParse.h"

#include <libxml/parser.h>

#include <new>

TXmlDocPtr ParseUntrustedXml(QByteArrayView bytes) {
    TXmlParseResult parsed =
        ParseXml(std::string_view(bytes.data(), std::size_t(bytes.size())), {XML_PARSE_NONET});
    if (parsed.TooLarge) {
        throw TOrvError(QStringLiteral("The response is too large to be read"));
    }
    if (parsed.OutOfMemory) {
        throw std::bad_alloc();
    }
    if (parsed.DocType) {
        throw TOrvError(QStringLiteral(
            "The response holds a document type declaration, which SOAP does not allow"));
    }
    QString firstError;
    for (const TXmlParseError& error : parsed.Errors) {
        firstError = QString::fromUtf8(error.Message).trimmed();
        if (!firstError.isEmpty()) {
            break;
        }
    }
    if (!parsed.Doc || !parsed.WellFormed || !parsed.NsWellFormed || !firstError.isEmpty()) {
        throw TOrvError(firstError.isEmpty() ? QStringLiteral("The response is not well-formed XML")
                                             : firstError);
    }
    return std::move(parsed.Doc);
}
