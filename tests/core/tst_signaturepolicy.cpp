// The signer's installed policies and the digest algorithm of each.

#include "USignaturePolicy.h"
#include "UTempRegistry.h"

#include <QTest>

namespace {

const QByteArray Policies = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Nomir\\DSigXades\\SignaturePolicies]";

QByteArray Hive(const QByteArray& keys) {
    return "Windows Registry Editor Version 5.00\r\n\r\n" + keys;
}

// A policy's key, with its DigestAlgUri unless that is null.
QByteArray Policy(const QByteArray& name, const QByteArray& uri) {
    QByteArray key =
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Nomir\\DSigXades\\SignaturePolicies\\" + name + "]\r\n";
    if (!uri.isNull())
        key += "\"DigestAlgUri\"=\"" + uri + "\"\r\n";
    return key + "\r\n";
}

} // namespace

class TTestSignaturePolicy : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void algorithmOfPolicy_data();
    void algorithmOfPolicy();
    void installedPolicies_data();
    void installedPolicies();
};

void TTestSignaturePolicy::algorithmOfPolicy_data() {
    QTest::addColumn<QByteArray>("uri"); // null: no value
    QTest::addColumn<QString>("algorithm");
    QTest::newRow("xmlenc fragment")
        << QByteArray("http://www.w3.org/2001/04/xmlenc#sha256") << QStringLiteral("sha256");
    QTest::newRow("xmldsig fragment")
        << QByteArray("http://www.w3.org/2000/09/xmldsig#sha1") << QStringLiteral("sha1");
    QTest::newRow("no #: the whole value") << QByteArray("sha512") << QStringLiteral("sha512");
    QTest::newRow("after the first # only") << QByteArray("a#b#c") << QStringLiteral("b#c");
    QTest::newRow("nothing after #") << QByteArray("urn:x#") << QString();
    QTest::newRow("fragment cut at 255")
        << QByteArray("urn:x#" + QByteArray(300, 'a')) << QString(255, u'a');
    QTest::newRow("fragment of 255 kept")
        << QByteArray("#" + QByteArray(255, 'b')) << QString(255, u'b');
    QTest::newRow("long value without # kept whole") << QByteArray(300, 'c') << QString(300, u'c');
    QTest::newRow("empty value") << QByteArray("") << QStringLiteral("sha256");
    QTest::newRow("no value") << QByteArray() << QStringLiteral("sha256");
}

void TTestSignaturePolicy::algorithmOfPolicy() {
    QFETCH(QByteArray, uri);
    QFETCH(QString, algorithm);
    const TTempRegistry registry;
    registry.SetMachineText(Hive(Policies + "\r\n\r\n" + Policy("urn:oid:test", uri)));
    QCOMPARE(PolicyAlgorithm(QStringLiteral("urn:oid:test")), algorithm);
    // A policy the signer does not list has the default.
    QCOMPARE(PolicyAlgorithm(QStringLiteral("urn:oid:other")), QStringLiteral("sha256"));
}

void TTestSignaturePolicy::installedPolicies_data() {
    QTest::addColumn<QByteArray>("hive");
    QTest::addColumn<QStringList>("policies");
    QTest::newRow("no signer") << QByteArray() << QStringList();
    QTest::newRow("no policies") << Hive(Policies + "\r\n\r\n") << QStringList();
    QTest::newRow("in stored order")
        << Hive(Policies + "\r\n\r\n" + Policy("urn:oid:b", "#sha1") +
                Policy("urn:oid:a", QByteArray()))
#ifdef Q_OS_WIN
        // The registry lists subkeys by name, the file in its own order.
        << QStringList{QStringLiteral("urn:oid:a"), QStringLiteral("urn:oid:b")};
#else
        << QStringList{QStringLiteral("urn:oid:b"), QStringLiteral("urn:oid:a")};
#endif
}

void TTestSignaturePolicy::installedPolicies() {
    QFETCH(QByteArray, hive);
    QFETCH(QStringList, policies);
    const TTempRegistry registry;
    if (!hive.isNull())
        registry.SetMachineText(hive);
    QCOMPARE(InstalledPolicies(), policies);
}

QTEST_GUILESS_MAIN(TTestSignaturePolicy)
#include "tst_signaturepolicy.moc"
