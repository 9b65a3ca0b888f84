#include "UFormTestSupport.h"

#include "OrvConfig.h"
#include "UFormResources.h"

#include <QFile>

#include <libxml/parser.h>
#include <libxml/xmlerror.h>
#include <libxml/xmlschemas.h>
#include <libxslt/transform.h>
#include <libxslt/xslt.h>
#include <libxslt/xsltInternals.h>
#include <libxslt/xsltutils.h>

#include <memory>

namespace {

struct TDocFree {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
struct TSchemaParserFree {
    void operator()(xmlSchemaParserCtxt* ctxt) const { xmlSchemaFreeParserCtxt(ctxt); }
};
struct TSchemaFree {
    void operator()(xmlSchema* schema) const { xmlSchemaFree(schema); }
};
struct TValidFree {
    void operator()(xmlSchemaValidCtxt* ctxt) const { xmlSchemaFreeValidCtxt(ctxt); }
};
struct TStylesheetFree {
    void operator()(xsltStylesheet* sheet) const { xsltFreeStylesheet(sheet); }
};
struct TXmlCharFree {
    void operator()(xmlChar* text) const { xmlFree(text); }
};

using TDocPtr = std::unique_ptr<xmlDoc, TDocFree>;

// Collects libxml2's and libxslt's messages while alive instead of letting
// them reach stderr.
class TErrorCollector {
public:
    TErrorCollector() {
        xmlSetStructuredErrorFunc(this, &TErrorCollector::Collect);
        xsltSetGenericErrorFunc(this, &TErrorCollector::CollectFormat);
    }
    ~TErrorCollector() {
        xmlSetStructuredErrorFunc(nullptr, nullptr);
        xsltSetGenericErrorFunc(nullptr, nullptr);
    }
    TErrorCollector(const TErrorCollector&) = delete;
    TErrorCollector& operator=(const TErrorCollector&) = delete;

    // libxml2 2.9 hands the error over as a non-const pointer.
    static void Collect(void* self, xmlErrorPtr error) {
        static_cast<TErrorCollector*>(self)->Text +=
            QString::fromUtf8(error->message).trimmed() + u'\n';
    }
    // The format text is enough to tell what went wrong.
    static void CollectFormat(void* self, const char* format, ...) {
        static_cast<TErrorCollector*>(self)->Text += QString::fromUtf8(format);
    }

    QString Text;
};

TDocPtr Parse(const QByteArray& bytes) {
    return TDocPtr(xmlReadMemory(bytes.constData(), int(bytes.size()), "memory.xml", nullptr,
                                 XML_PARSE_NONET));
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace

QByteArray ReadForm(const QString& name) {
    return ReadFile(FormResourcePath(name));
}

QByteArray ReadExample(const QString& fileName) {
    return ReadFile(QStringLiteral(ORV_EXAMPLES_DIR) + u'/' + fileName);
}

QString FormUri(const QString& path) {
    return QStringLiteral("http://") + QLatin1String(OrvConfig::FormsHost) + path;
}

bool IsWellFormed(const QByteArray& bytes, QString* messages) {
    TErrorCollector errors;
    const bool ok = Parse(bytes) != nullptr;
    if (messages)
        *messages = errors.Text;
    return ok;
}

TValidation Validate(const QByteArray& schema, const QByteArray& document) {
    TErrorCollector errors;
    TValidation result;

    std::unique_ptr<xmlSchemaParserCtxt, TSchemaParserFree> parser(
        xmlSchemaNewMemParserCtxt(schema.constData(), int(schema.size())));
    if (!parser) {
        result.Messages = errors.Text;
        return result;
    }
    xmlSchemaSetParserStructuredErrors(parser.get(), &TErrorCollector::Collect, &errors);
    std::unique_ptr<xmlSchema, TSchemaFree> compiled(xmlSchemaParse(parser.get()));
    const TDocPtr doc = Parse(document);
    if (!compiled || !doc) {
        result.Messages = errors.Text;
        return result;
    }

    std::unique_ptr<xmlSchemaValidCtxt, TValidFree> validator(
        xmlSchemaNewValidCtxt(compiled.get()));
    xmlSchemaSetValidStructuredErrors(validator.get(), &TErrorCollector::Collect, &errors);
    const int outcome = xmlSchemaValidateDoc(validator.get(), doc.get());
    result.Verdict = outcome == 0  ? TVerdict::Valid
                     : outcome > 0 ? TVerdict::Invalid
                                   : TVerdict::Broken;
    result.Messages = errors.Text;
    return result;
}

TRendering Render(const QByteArray& stylesheet, const QByteArray& document) {
    TErrorCollector errors;
    TRendering result;

    // The stylesheet takes over its parsed document.
    TDocPtr sheetDoc = Parse(stylesheet);
    if (!sheetDoc) {
        result.Messages = errors.Text;
        return result;
    }
    std::unique_ptr<xsltStylesheet, TStylesheetFree> sheet(xsltParseStylesheetDoc(sheetDoc.get()));
    if (!sheet) {
        result.Messages = errors.Text;
        return result;
    }
    sheetDoc.release();

    const TDocPtr doc = Parse(document);
    if (!doc) {
        result.Messages = errors.Text;
        return result;
    }
    const TDocPtr output(xsltApplyStylesheet(sheet.get(), doc.get(), nullptr));
    if (!output) {
        result.Messages = errors.Text;
        return result;
    }

    xmlChar* raw = nullptr;
    int length = 0;
    if (xsltSaveResultToString(&raw, &length, output.get(), sheet.get()) != 0) {
        result.Messages = errors.Text;
        return result;
    }
    const std::unique_ptr<xmlChar, TXmlCharFree> text(raw);
    if (text)
        result.Output = QByteArray(reinterpret_cast<const char*>(text.get()), length);
    result.Ok = true;
    return result;
}
