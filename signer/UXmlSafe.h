#pragma once

// Parsing of untrusted XML for the signer: from memory only, no network, no
// DTD, no external entities, whitespace kept; libxml2's messages are
// collected for the user instead of going to the console.

#include "UXmlPtr.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <libxml/parser.h>
#include <libxml/xmlerror.h>

// Collects libxml2's structured errors while it lives and refuses every
// external resource (entities, schema imports, stylesheet includes).
class TXmlErrorScope {
public:
    TXmlErrorScope();
    ~TXmlErrorScope();
    TXmlErrorScope(const TXmlErrorScope&) = delete;
    TXmlErrorScope& operator=(const TXmlErrorScope&) = delete;

    // Passed to the libxml2 functions that take their own error handler.
    static void Collect(void* scope, xmlErrorPtr error);

    // One message as Collect words it.
    static QString Format(int line, const char* message);

    QStringList Messages;
    // The first error, ready to show: "line 3: Element 'x': ..."
    QString FirstMessage(const QString& fallback) const;

private:
    xmlStructuredErrorFunc PreviousHandler;
    void* PreviousContext;
    xmlGenericErrorFunc PreviousGeneric;
    void* PreviousGenericContext;
    xmlExternalEntityLoader PreviousLoader;
};

// The options every signer parse uses.
inline constexpr int SafeParseOptions = XML_PARSE_NONET;

// Parses Unicode text; raises TOrvError with the parser's reason. An encoding
// the text declares is ignored.
TXmlDocPtr ParseXmlSafely(QStringView text, const QString& what);

QString FromXmlChar(const xmlChar* text);
QByteArray ToUtf8(const QString& text);
inline const xmlChar* Xc(const char* text) {
    return reinterpret_cast<const xmlChar*>(text);
}
inline const xmlChar* Xc(const QByteArray& text) {
    return reinterpret_cast<const xmlChar*>(text.constData());
}
