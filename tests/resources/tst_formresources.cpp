#include "OrvConfig.h"
#include "UFormResources.h"
#include "UFormTestSupport.h"

#include <QDir>
#include <QRegularExpression>
#include <QResource>
#include <QStringDecoder>
#include <QTest>

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <memory>

namespace {

const QByteArray kBom("\xEF\xBB\xBF");

enum class TKind { Schema, Stylesheet };

struct TDocFree {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};

QString Attribute(xmlNode* node, const char* name) {
    xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
    const QString text =
        value ? QString::fromUtf8(reinterpret_cast<const char*>(value)) : QString();
    xmlFree(value);
    return text;
}

QString Text(const xmlChar* text) {
    return text ? QString::fromUtf8(reinterpret_cast<const char*>(text)) : QString();
}

} // namespace

Q_DECLARE_METATYPE(TKind)

class TTestFormResources : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pathIsUnderForms();
    void holdsExactlyTheTwelveForms();
    void storesTheShippedBytes_data();
    void storesTheShippedBytes();
    void usesOnlyTheConfiguredFormHost_data();
    void usesOnlyTheConfiguredFormHost();
};

void TTestFormResources::pathIsUnderForms() {
    QCOMPARE(FormResourcePath(QStringLiteral("PODAJ_XSD")), QStringLiteral(":/forms/PODAJ_XSD"));
}

void TTestFormResources::holdsExactlyTheTwelveForms() {
    QStringList names = QDir(QStringLiteral(":/forms")).entryList(QDir::Files);
    names.sort();
    const QStringList expected{
        QStringLiteral("PODAJ_XSD"),     QStringLiteral("PODAJ_XSD_EN"),
        QStringLiteral("PODAJ_XSD_V2"),  QStringLiteral("PODAJ_XSD_V3"),
        QStringLiteral("PODAJ_XSLT"),    QStringLiteral("PODAJ_XSLT_EN"),
        QStringLiteral("PODAJ_XSLT_V2"), QStringLiteral("PODAJ_XSLT_V3"),
        QStringLiteral("REPORTRQ_XSD"),  QStringLiteral("REPORTRQ_XSD_EN"),
        QStringLiteral("REPORTRQ_XSLT"), QStringLiteral("REPORTRQ_XSLT_EN"),
    };
    QCOMPARE(names, expected);
}

void TTestFormResources::storesTheShippedBytes_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("bom");
    QTest::addColumn<TKind>("kind");
    QTest::addColumn<QString>("namespacePath");

    const auto schema = TKind::Schema;
    const auto sheet = TKind::Stylesheet;
    const auto row = [](const char* name, bool bom, TKind kind, const char* path) {
        QTest::newRow(name) << QString::fromLatin1(name) << bom << kind
                            << QString::fromLatin1(path);
    };
    row("PODAJ_XSD", false, schema, "/DUNOR/Formulare/Podaj_v01");
    row("PODAJ_XSD_V2", false, schema, "/DUNOR/Formulare/Podaj_v02");
    row("PODAJ_XSD_V3", false, schema, "/DUNOR/Formulare/Podaj_v03");
    row("PODAJ_XSD_EN", true, schema, "/DUNOR/Formulare/EN/Podaj_v01");
    row("PODAJ_XSLT", true, sheet, "/DUNOR/Formulare/Podaj_v01");
    row("PODAJ_XSLT_V2", true, sheet, "/DUNOR/Formulare/Podaj_v02");
    row("PODAJ_XSLT_V3", true, sheet, "/DUNOR/Formulare/Podaj_v03");
    row("PODAJ_XSLT_EN", true, sheet, "/DUNOR/Formulare/EN/Podaj_v01");
    row("REPORTRQ_XSD", false, schema, "/DUNOR/Formulare/ReportRQ_v01");
    row("REPORTRQ_XSLT", true, sheet, "/DUNOR/Formulare/ReportRQ_v01");
    row("REPORTRQ_XSD_EN", true, schema, "/DUNOR/Formulare/EN/ReportRQ_v01");
    row("REPORTRQ_XSLT_EN", true, sheet, "/DUNOR/Formulare/EN/ReportRQ_v01");
}

void TTestFormResources::storesTheShippedBytes() {
    QFETCH(QString, name);
    QFETCH(bool, bom);
    QFETCH(TKind, kind);
    QFETCH(QString, namespacePath);

    const QByteArray bytes = ReadForm(name);
    QVERIFY2(!bytes.isEmpty(), qPrintable(name + QStringLiteral(" is missing")));

    // Stored uncompressed, so QResource::data() hands out the same bytes.
    const QResource resource(FormResourcePath(name));
    QCOMPARE(resource.compressionAlgorithm(), QResource::NoCompression);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(resource.data()), resource.size()), bytes);

    QCOMPARE(bytes.startsWith(kBom), bom);
    const QByteArray body = bom ? bytes.mid(kBom.size()) : bytes;
    QVERIFY(body.startsWith("<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"));

    // CR LF after every line, the last one included; no lone CR or LF anywhere.
    QVERIFY(bytes.endsWith("\r\n"));
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r')
            QVERIFY2(i + 1 < bytes.size() && bytes[i + 1] == '\n', qPrintable(QString::number(i)));
        if (bytes[i] == '\n')
            QVERIFY2(i > 0 && bytes[i - 1] == '\r', qPrintable(QString::number(i)));
    }

    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(body);
    QVERIFY(!utf8.hasError());
    QVERIFY(!text.contains(QChar(0)));

    QString messages;
    QVERIFY2(IsWellFormed(bytes, &messages), qPrintable(messages));

    const std::unique_ptr<xmlDoc, TDocFree> doc(
        xmlReadMemory(bytes.constData(), int(bytes.size()), "form.xml", nullptr, XML_PARSE_NONET));
    QVERIFY(doc);
    xmlNode* root = xmlDocGetRootElement(doc.get());
    QVERIFY(root && root->ns);
    const QString expectedNamespace = FormUri(namespacePath);

    if (kind == TKind::Schema) {
        QCOMPARE(Text(root->name), QStringLiteral("schema"));
        QCOMPARE(Text(root->ns->href), QStringLiteral("http://www.w3.org/2001/XMLSchema"));
        QCOMPARE(Attribute(root, "targetNamespace"), expectedNamespace);
        QCOMPARE(Attribute(root, "elementFormDefault"), QStringLiteral("qualified"));
    } else {
        QCOMPARE(Text(root->name), QStringLiteral("stylesheet"));
        QCOMPARE(Text(root->ns->href), QStringLiteral("http://www.w3.org/1999/XSL/Transform"));
        QCOMPARE(Attribute(root, "version"), QStringLiteral("1.0"));
        // Exactly one prefix besides xsl, bound to the document type's namespace.
        QStringList bound;
        for (xmlNs* ns = root->nsDef; ns; ns = ns->next)
            if (ns != root->ns)
                bound << Text(ns->href);
        QCOMPARE(bound, QStringList{expectedNamespace});
    }
}

void TTestFormResources::usesOnlyTheConfiguredFormHost_data() {
    QTest::addColumn<QString>("name");
    for (const QString& name : QDir(QStringLiteral(":/forms")).entryList(QDir::Files))
        QTest::newRow(qPrintable(name)) << name;
}

void TTestFormResources::usesOnlyTheConfiguredFormHost() {
    QFETCH(QString, name);
    const QString text = QString::fromUtf8(ReadForm(name));
    QVERIFY(!text.contains(u'@'));

    const QString formsHost = QLatin1String(OrvConfig::FormsHost);
    static const QRegularExpression uri(QStringLiteral("https?://([^/\"]+)"));
    int formUris = 0;
    for (const QRegularExpressionMatch& match : uri.globalMatch(text)) {
        const QString host = match.captured(1);
        if (host == QLatin1String("www.w3.org"))
            continue;
        QCOMPARE(host, formsHost);
        QVERIFY(match.captured(0).startsWith(QLatin1String("http://")));
        ++formUris;
    }
    QVERIFY(formUris > 0);
}

QTEST_GUILESS_MAIN(TTestFormResources)
#include "tst_formresources.moc"
