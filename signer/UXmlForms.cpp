#include "UXmlForms.h"

#include "UOrvError.h"
#include "UXmlSafe.h"

#include <libxslt/security.h>
#include <libxslt/transform.h>
#include <libxslt/xsltutils.h>

#include <cstdarg>
#include <cstdio>

namespace {

// libxslt reports through its own printf-like handler.
class TXsltErrorScope {
public:
    TXsltErrorScope()
        : PreviousHandler(xsltGenericError)
        , PreviousContext(xsltGenericErrorContext) {
        xsltSetGenericErrorFunc(this, &TXsltErrorScope::Collect);
    }
    ~TXsltErrorScope() { xsltSetGenericErrorFunc(PreviousContext, PreviousHandler); }
    TXsltErrorScope(const TXsltErrorScope&) = delete;
    TXsltErrorScope& operator=(const TXsltErrorScope&) = delete;

    QString Text;

private:
    __attribute__((format(printf, 2, 3))) static void Collect(void* scope, const char* format,
                                                              ...) {
        char buffer[512];
        va_list args;
        va_start(args, format);
        std::vsnprintf(buffer, sizeof buffer, format, args);
        va_end(args);
        auto* self = static_cast<TXsltErrorScope*>(scope);
        if (self->Text.size() < 2000)
            self->Text += QString::fromUtf8(buffer);
    }

    xmlGenericErrorFunc PreviousHandler;
    void* PreviousContext;
};

} // namespace

QString SchemaViolation(xmlDoc* doc, const QString& xsdText) {
    TXmlDocPtr schemaDoc = ParseXmlSafely(xsdText, QStringLiteral("The schema"));
    TXmlErrorScope errors;
    TSchemaParserCtxtPtr parser(xmlSchemaNewDocParserCtxt(schemaDoc.get()));
    if (!parser)
        throw TOrvError(QStringLiteral("The schema cannot be read"));
    xmlSchemaSetParserStructuredErrors(parser.get(), &TXmlErrorScope::Collect, &errors);
    TSchemaPtr schema(xmlSchemaParse(parser.get()));
    if (!schema)
        throw TOrvError(QStringLiteral("The schema cannot be used: %1")
                            .arg(errors.FirstMessage(QStringLiteral("unknown error"))));
    TSchemaValidCtxtPtr validator(xmlSchemaNewValidCtxt(schema.get()));
    if (!validator)
        throw TOrvError(QStringLiteral("The schema cannot be used"));
    errors.Messages.clear();
    xmlSchemaSetValidStructuredErrors(validator.get(), &TXmlErrorScope::Collect, &errors);
    const int result = xmlSchemaValidateDoc(validator.get(), doc);
    if (result == 0)
        return {};
    return errors.FirstMessage(QStringLiteral("The document is not valid against its schema"));
}

QString RenderText(xmlDoc* doc, const QString& xslText) {
    // libxslt takes over the stylesheet document.
    TXmlDocPtr styleDoc = ParseXmlSafely(xslText, QStringLiteral("The stylesheet"));
    TXmlErrorScope errors;
    TXsltErrorScope xsltErrors;
    TXsltSecurityPrefsPtr prefs(xsltNewSecurityPrefs());
    if (!prefs)
        throw TOrvError(QStringLiteral("The stylesheet cannot be used"));
    for (xsltSecurityOption option :
         {XSLT_SECPREF_READ_FILE, XSLT_SECPREF_WRITE_FILE, XSLT_SECPREF_CREATE_DIRECTORY,
          XSLT_SECPREF_READ_NETWORK, XSLT_SECPREF_WRITE_NETWORK})
        xsltSetSecurityPrefs(prefs.get(), option, xsltSecurityForbid);
    TXsltStylesheetPtr style(xsltParseStylesheetDoc(styleDoc.get()));
    if (!style)
        throw TOrvError(
            QStringLiteral("The stylesheet cannot be used: %1").arg(xsltErrors.Text.trimmed()));
    styleDoc.release(); // now the stylesheet's
    TXsltTransformCtxtPtr transform(xsltNewTransformContext(style.get(), doc));
    if (!transform || xsltSetCtxtSecurityPrefs(prefs.get(), transform.get()) != 0)
        throw TOrvError(QStringLiteral("The stylesheet cannot be used"));
    TXmlDocPtr result(
        xsltApplyStylesheetUser(style.get(), doc, nullptr, nullptr, nullptr, transform.get()));
    if (!result || transform->state != XSLT_STATE_OK)
        throw TOrvError(
            QStringLiteral("The document cannot be shown: %1").arg(xsltErrors.Text.trimmed()));
    xmlChar* raw = nullptr;
    int length = 0;
    if (xsltSaveResultToString(&raw, &length, result.get(), style.get()) != 0)
        throw TOrvError(QStringLiteral("The document cannot be shown"));
    TXmlCharPtr text(raw);
    return QString::fromUtf8(reinterpret_cast<const char*>(text.get()), length);
}
