// A record's date as the list rows and the command line show it.

#include "UDatumText.h"

#include <QTest>

class TTestDatumText : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void formatDatum_data();
    void formatDatum();
};

void TTestDatumText::formatDatum_data() {
    QTest::addColumn<double>("datum");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("text");
    QTest::newRow("unset date is empty") << 0.0 << QStringLiteral(":") << QString();
    QTest::newRow("seconds cut, not rounded")
        << EncodeDateTime({2024, 1, 31, 9, 5, 59, 999}) << QStringLiteral(":")
        << QStringLiteral("31.01.2024 09:05");
    QTest::newRow("the locale's separator")
        << EncodeDateTime({2011, 12, 1, 23, 0}) << QStringLiteral(".")
        << QStringLiteral("01.12.2011 23.00");
    QTest::newRow("year padded to four") << EncodeDateTime({999, 3, 4, 0, 7}) << QStringLiteral(":")
                                         << QStringLiteral("04.03.0999 00:07");
}

void TTestDatumText::formatDatum() {
    QFETCH(double, datum);
    QFETCH(QString, separator);
    QFETCH(QString, text);
    QCOMPARE(FormatDatum(datum, separator), text);
}

QTEST_GUILESS_MAIN(TTestDatumText)
#include "tst_datumtext.moc"
