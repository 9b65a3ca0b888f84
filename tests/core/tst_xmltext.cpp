// Serialising one element of a larger document: names, prefixes and
// namespace declarations come out as they were, so signed content stays
// verifiable.

#include "UXmlOwners.h"
#include "UXmlText.h"

#include <QTest>

class TTestXmlText : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void elementKeepsItsNamespaces_data() {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<QString>("text");
        QTest::newRow("default namespace declared inside")
            << QByteArray("<w xmlns:o=\"urn:o\"><o:P><E xmlns=\"urn:e\"><A>1</A></E></o:P></w>")
            << QStringLiteral("<o:P xmlns:o=\"urn:o\"><E xmlns=\"urn:e\"><A>1</A></E></o:P>\n");
        QTest::newRow("default namespace from outside")
            << QByteArray("<w xmlns=\"urn:e\"><P><A>1</A></P></w>")
            << QStringLiteral("<P xmlns=\"urn:e\"><A>1</A></P>\n");
        QTest::newRow("prefix from outside")
            << QByteArray("<w xmlns:ds=\"urn:ds\"><ds:S><ds:V>x</ds:V></ds:S></w>")
            << QStringLiteral("<ds:S xmlns:ds=\"urn:ds\"><ds:V>x</ds:V></ds:S>\n");
    }
    void elementKeepsItsNamespaces() {
        QFETCH(QByteArray, document);
        QFETCH(QString, text);
        const TXmlDocPtr doc(
            xmlReadMemory(document.constData(), int(document.size()), nullptr, nullptr, 0));
        QVERIFY(doc);
        const xmlNode* element = xmlDocGetRootElement(doc.get())->children;
        QCOMPARE(XmlTextOfNode(*element), text);
    }
};

QTEST_GUILESS_MAIN(TTestXmlText)
#include "tst_xmltext.moc"
