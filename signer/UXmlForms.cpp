#include "UXmlForms.h"

#include "UOrvError.h"
#include "UXmlSafe.h"

#include <QCoreApplication>

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
    TXmlDocPtr schemaDoc =
        ParseXmlSafely(xsdText, QCoreApplication::translate("UXmlForms", "Schéma"));
    TXmlErrorScope errors;
    TSchemaParserCtxtPtr parser(xmlSchemaNewDocParserCtxt(schemaDoc.get()));
    if (!parser)
        throw TOrvError(QCoreApplication::translate("UXmlForms", "Schéma sa nedá čítať"));
    xmlSchemaSetParserStructuredErrors(parser.get(), &TXmlErrorScope::Collect, &errors);
    TSchemaPtr schema(xmlSchemaParse(parser.get()));
    if (!schema)
        throw TOrvError(QCoreApplication::translate("UXmlForms", "Schéma sa nedá použiť: %1")
                            .arg(errors.FirstMessage(
                                QCoreApplication::translate("UXmlForms", "neznáma chyba"))));
    TSchemaValidCtxtPtr validator(xmlSchemaNewValidCtxt(schema.get()));
    if (!validator)
        throw TOrvError(QCoreApplication::translate("UXmlForms", "Schéma sa nedá použiť"));
    errors.Messages.clear();
    xmlSchemaSetValidStructuredErrors(validator.get(), &TXmlErrorScope::Collect, &errors);
    const int result = xmlSchemaValidateDoc(validator.get(), doc);
    if (result == 0)
        return {};
    return errors.FirstMessage(
        QCoreApplication::translate("UXmlForms", "Dokument nezodpovedá svojej schéme"));
}

QString RenderText(xmlDoc* doc, const QString& xslText) {
    // libxslt takes over the stylesheet document.
    TXmlDocPtr styleDoc =
        ParseXmlSafely(xslText, QCoreApplication::translate("UXmlForms", "Šablóna štýlu"));
    TXmlErrorScope errors;
    TXsltErrorScope xsltErrors;
    TXsltSecurityPrefsPtr prefs(xsltNewSecurityPrefs());
    if (!prefs)
        throw TOrvError(QCoreApplication::translate("UXmlForms", "Šablóna štýlu sa nedá použiť"));
    for (xsltSecurityOption option :
         {XSLT_SECPREF_READ_FILE, XSLT_SECPREF_WRITE_FILE, XSLT_SECPREF_CREATE_DIRECTORY,
          XSLT_SECPREF_READ_NETWORK, XSLT_SECPREF_WRITE_NETWORK})
        xsltSetSecurityPrefs(prefs.get(), option, xsltSecurityForbid);
    TXsltStylesheetPtr style(xsltParseStylesheetDoc(styleDoc.get()));
    if (!style)
        throw TOrvError(QCoreApplication::translate("UXmlForms", "Šablóna štýlu sa nedá použiť: %1")
                            .arg(xsltErrors.Text.trimmed()));
    styleDoc.release(); // now the stylesheet's
    TXsltTransformCtxtPtr transform(xsltNewTransformContext(style.get(), doc));
    if (!transform || xsltSetCtxtSecurityPrefs(prefs.get(), transform.get()) != 0)
        throw TOrvError(QCoreApplication::translate("UXmlForms", "Šablóna štýlu sa nedá použiť"));
    TXmlDocPtr result(
        xsltApplyStylesheetUser(style.get(), doc, nullptr, nullptr, nullptr, transform.get()));
    if (!result || transform->state != XSLT_STATE_OK)
        throw TOrvError(QCoreApplication::translate("UXmlForms", "Dokument sa nedá zobraziť: %1")
                            .arg(xsltErrors.Text.trimmed()));
    xmlChar* raw = nullptr;
    int length = 0;
    if (xsltSaveResultToString(&raw, &length, result.get(), style.get()) != 0)
        throw TOrvError(QCoreApplication::translate("UXmlForms", "Dokument sa nedá zobraziť"));
    TXmlCharPtr text(raw);
    return QString::fromUtf8(reinterpret_cast<const char*>(text.get()), length);
}
