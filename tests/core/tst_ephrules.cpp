// What the front ends derive from a file name and a stored version.

#include "UEphVersion.h"

#include <QTest>

class TTestEphRules : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void identifierFromPath_data();
    void identifierFromPath();
    void versionMatchedExactly_data();
    void versionMatchedExactly();
};

void TTestEphRules::identifierFromPath_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("ephId");
    QTest::newRow("cut at the first dot")
        << QStringLiteral("C:\\Podania\\EPH2011.01.xml") << QStringLiteral("EPH2011");
    QTest::newRow("no dot: taken whole")
        << QStringLiteral("D:\\data\\harok") << QStringLiteral("harok");
    QTest::newRow("dot in a folder")
        << QStringLiteral("D:\\data.2011\\harok") << QStringLiteral("harok");
    QTest::newRow("forward slashes")
        << QStringLiteral("/home/jan/eph.v2/Hárok 7.xml") << QStringLiteral("Hárok 7");
    QTest::newRow("last separator of either kind")
        << QStringLiteral("C:/Podania\\a.b/EPH.xml") << QStringLiteral("EPH");
    QTest::newRow("no folder") << QStringLiteral("EPH.xml") << QStringLiteral("EPH");
    QTest::newRow("leading dot") << QStringLiteral("C:\\.xml") << QString();
    QTest::newRow("folder only") << QStringLiteral("C:\\Podania\\") << QString();
    QTest::newRow("empty") << QString() << QString();
}

void TTestEphRules::identifierFromPath() {
    QFETCH(QString, path);
    QFETCH(QString, ephId);
    QCOMPARE(EphIdFromPath(path), ephId);
}

void TTestEphRules::versionMatchedExactly_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("verzia"); // -1: none
    QTest::newRow("0.1") << QStringLiteral("0.1") << int(TEphVerzia::V01);
    QTest::newRow("2.0") << QStringLiteral("2.0") << int(TEphVerzia::V02);
    QTest::newRow("3.0") << QStringLiteral("3.0") << int(TEphVerzia::V03);
    QTest::newRow("trailing space") << QStringLiteral("3.0 ") << -1;
    QTest::newRow("without the fraction") << QStringLiteral("2") << -1;
    QTest::newRow("a digit more") << QStringLiteral("0.10") << -1;
    QTest::newRow("comma") << QStringLiteral("0,1") << -1;
    QTest::newRow("unknown version") << QStringLiteral("4.0") << -1;
    QTest::newRow("empty") << QString() << -1;
}

void TTestEphRules::versionMatchedExactly() {
    QFETCH(QString, text);
    QFETCH(int, verzia);
    const std::optional<TEphVerzia> found = EphVerziaFromText(text);
    QCOMPARE(found ? int(*found) : -1, verzia);
    // The text stored for a version is the one that names it.
    if (found)
        QCOMPARE(EphVerziaText(*found), text);
}

QTEST_GUILESS_MAIN(TTestEphRules)
#include "tst_ephrules.moc"
