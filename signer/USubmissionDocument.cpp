#include "USubmissionDocument.h"

#include "UOrvError.h"
#include "UXadesNames.h"
#include "UXmlSafe.h"

#include <QCoreApplication>

#include <libxml/xmlreader.h>

#include <climits>

namespace {

using TXmlReaderPtr = std::unique_ptr<xmlTextReader, TFreeWith<xmlFreeTextReader>>;

bool IsXmlChar(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

void AppendElement(QByteArray& out, const char* name, const QString& text) {
    out += "<orv:";
    out += name;
    out += '>';
    out += XmlEscaped(text);
    out += "</orv:";
    out += name;
    out += '>';
}

QString ChildText(xmlNode* parent, const char* name) {
    for (xmlNode* child = parent->children; child; child = child->next) {
        if (child->type == XML_ELEMENT_NODE && xmlStrEqual(child->name, Xc(name)) && child->ns &&
            xmlStrEqual(child->ns->href, Xc(SubmissionNs))) {
            TXmlCharPtr text(xmlNodeGetContent(child));
            return FromXmlChar(text.get());
        }
    }
    return {};
}

} // namespace

QByteArray XmlEscaped(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (char32_t c : text.toUcs4()) {
        if (!IsXmlChar(c))
            throw TOrvError(
                QCoreApplication::translate(
                    "USubmissionDocument", "Text \"%1\" obsahuje znak, ktorý sa v XML nedá zapísať")
                    .arg(text));
        switch (c) {
        case U'&':
            out += QLatin1String("&amp;");
            break;
        case U'<':
            out += QLatin1String("&lt;");
            break;
        case U'>':
            out += QLatin1String("&gt;");
            break;
        case U'\r':
            out += QLatin1String("&#13;"); // a parser would turn a bare CR into LF
            break;
        default:
            out += QString::fromUcs4(&c, 1);
        }
    }
    return out.toUtf8();
}

QString WriteSubmissionData(const TSubmissionData& data) {
    QByteArray out = "<orv:PodanieData xmlns:orv=\"";
    out += SubmissionNs;
    out += "\">";
    AppendElement(out, "TypPodania", data.TypPodania);
    AppendElement(out, "Popis", data.Popis);
    AppendElement(out, "Formular", data.Formular);
    out += "</orv:PodanieData>";
    return QString::fromUtf8(out);
}

TSubmissionData ReadSubmissionData(const QString& text) {
    TXmlDocPtr doc =
        ParseXmlSafely(text, QCoreApplication::translate("USubmissionDocument", "Údaje podania"));
    xmlNode* root = xmlDocGetRootElement(doc.get());
    if (!xmlStrEqual(root->name, Xc("PodanieData")) || !root->ns ||
        !xmlStrEqual(root->ns->href, Xc(SubmissionNs)))
        throw TOrvError(
            QCoreApplication::translate("USubmissionDocument", "Text nie je údajmi podania"));
    return {ChildText(root, "TypPodania"), ChildText(root, "Popis"), ChildText(root, "Formular")};
}

QByteArray SignedDocumentBody(const QByteArray& signedDocument) {
    if (signedDocument.size() > INT_MAX)
        throw TOrvError(QCoreApplication::translate("USubmissionDocument",
                                                    "Podpísaný dokument je príliš veľký"));
    // Checked by streaming, so no second tree of the document is built.
    {
        TXmlErrorScope errors;
        TXmlReaderPtr reader(xmlReaderForMemory(signedDocument.constData(),
                                                static_cast<int>(signedDocument.size()), nullptr,
                                                "UTF-8", SafeParseOptions));
        if (!reader)
            throw TOrvError(QCoreApplication::translate("USubmissionDocument",
                                                        "Podpísaný dokument sa nedá čítať"));
        bool root = true;
        int step = 0;
        while ((step = xmlTextReaderRead(reader.get())) == 1) {
            const int type = xmlTextReaderNodeType(reader.get());
            if (type == XML_READER_TYPE_DOCUMENT_TYPE)
                throw TOrvError(QCoreApplication::translate("USubmissionDocument",
                                                            "Podpísaný dokument nesmie mať DTD"));
            if (root && type == XML_READER_TYPE_ELEMENT) {
                root = false;
                if (!xmlStrEqual(xmlTextReaderConstLocalName(reader.get()), Xc("Signature")) ||
                    !xmlStrEqual(xmlTextReaderConstNamespaceUri(reader.get()), Xc(DsigNs)))
                    throw TOrvError(QCoreApplication::translate(
                        "USubmissionDocument", "Podpísaný dokument nie je podpis XML"));
            }
        }
        if (step != 0 || root)
            throw TOrvError(
                QCoreApplication::translate("USubmissionDocument",
                                            "Podpísaný dokument nie je správne utvorený: %1")
                    .arg(errors.FirstMessage(
                        QCoreApplication::translate("USubmissionDocument", "neznáma chyba"))));
    }
    qsizetype start = 0;
    if (signedDocument.startsWith("\xEF\xBB\xBF"))
        start = 3;
    if (signedDocument.mid(start, 5) == "<?xml") {
        const qsizetype end = signedDocument.indexOf("?>", start);
        start = end + 2;
    }
    while (start < signedDocument.size() &&
           (signedDocument[start] == '\n' || signedDocument[start] == '\r' ||
            signedDocument[start] == ' ' || signedDocument[start] == '\t'))
        ++start;
    qsizetype end = signedDocument.size();
    while (end > start && (signedDocument[end - 1] == '\n' || signedDocument[end - 1] == '\r' ||
                           signedDocument[end - 1] == ' ' || signedDocument[end - 1] == '\t'))
        --end;
    return signedDocument.mid(start, end - start);
}

QByteArray ComposeSubmissionDocument(const TSubmissionFields& fields,
                                     const QByteArray& signedBody) {
    QByteArray out;
    out.reserve(signedBody.size() + 1024);
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<orv:Podanie xmlns:orv=\"";
    out += SubmissionNs;
    out += "\">";
    AppendElement(out, "TypPodania", fields.TypPodania);
    AppendElement(out, "Popis", fields.Popis);
    AppendElement(out, "Subjekt", fields.Subjekt);
    AppendElement(out, "EPHId", fields.EPHId);
    AppendElement(out, "Namespace", fields.Namespace);
    AppendElement(out, "Formular", fields.Formular);
    out += "<orv:Podpis>";
    out += signedBody;
    out += "</orv:Podpis></orv:Podanie>\n";
    return out;
}
