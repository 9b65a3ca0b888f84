#include "UFakeClock.h"
#include "USoapDateTime.h"

#include "UOrvError.h"

#include <QTest>

namespace {

TDateTime Local(int year, int month, int day, int hour, int minute = 0, int second = 0,
                int millisecond = 0) {
    return EncodeDateTime({year, month, day, hour, minute, second, millisecond});
}

} // namespace

// Date-times on the wire under fixed clocks: the offset used is always the
// clock's current one, whatever the date written or read.
class TestSoapDateTime : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void written_data();
    void written();
    void read_data();
    void read();
    void roundTrip_data();
    void roundTrip();
    void invalidTexts_data();
    void invalidTexts();
};

void TestSoapDateTime::written_data() {
    QTest::addColumn<int>("offset");
    QTest::addColumn<double>("value");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("east, winter") << 60 << Local(2024, 3, 1, 0)
                                  << QByteArray("2024-03-01T00:00:00.000+01:00");
    // A January date written while summer time is in force carries +02:00.
    QTest::newRow("east, summer offset on a winter date")
        << 120 << Local(2024, 1, 15, 8, 5, 9, 7) << QByteArray("2024-01-15T08:05:09.007+02:00");
    QTest::newRow("UTC") << 0 << Local(2024, 3, 1, 23, 59, 59, 999)
                         << QByteArray("2024-03-01T23:59:59.999Z");
    QTest::newRow("west") << -300 << Local(2023, 12, 31, 19)
                          << QByteArray("2023-12-31T19:00:00.000-05:00");
    QTest::newRow("half hour east")
        << 330 << Local(2024, 6, 30, 12, 30) << QByteArray("2024-06-30T12:30:00.000+05:30");
    QTest::newRow("half hour west")
        << -210 << Local(2024, 6, 30, 12, 30) << QByteArray("2024-06-30T12:30:00.000-03:30");
    QTest::newRow("early year") << 60 << Local(7, 2, 3, 4, 5, 6)
                                << QByteArray("0007-02-03T04:05:06.000+01:00");
}

void TestSoapDateTime::written() {
    QFETCH(int, offset);
    QFETCH(double, value);
    QFETCH(QByteArray, text);
    TFakeClock clock(0, offset);
    QCOMPARE(FormatSoapDateTime(value), text);
}

void TestSoapDateTime::read_data() {
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("Z, east in winter")
        << 60 << QByteArray("2024-03-01T10:00:00Z") << Local(2024, 3, 1, 11);
    QTest::newRow("no offset counts as UTC")
        << 60 << QByteArray("2024-03-01T10:00:00") << Local(2024, 3, 1, 11);
    QTest::newRow("summer offset now, winter date")
        << 120 << QByteArray("2024-01-15T10:00:00Z") << Local(2024, 1, 15, 12);
    QTest::newRow("fraction dropped")
        << 60 << QByteArray("2024-03-01T10:00:00.9999999+02:00") << Local(2024, 3, 1, 9);
    QTest::newRow("UTC clock") << 0 << QByteArray("2024-03-01T10:20:30.5-05:00")
                               << Local(2024, 3, 1, 15, 20, 30);
    QTest::newRow("west clock") << -300 << QByteArray("2024-03-01T10:00:00Z")
                                << Local(2024, 3, 1, 5);
    QTest::newRow("half hour clock")
        << 330 << QByteArray("2024-03-01T10:00:00Z") << Local(2024, 3, 1, 15, 30);
    QTest::newRow("into the next day")
        << 60 << QByteArray("2024-12-31T23:30:00Z") << Local(2025, 1, 1, 0, 30);
    QTest::newRow("into the previous day")
        << -300 << QByteArray("2024-03-01T02:00:00+00:00") << Local(2024, 2, 29, 21);
    QTest::newRow("end of day 24:00")
        << 0 << QByteArray("2024-03-01T24:00:00Z") << Local(2024, 3, 2, 0);
    QTest::newRow("surrounding blanks")
        << 0 << QByteArray(" 2024-03-01T10:00:00Z\n") << Local(2024, 3, 1, 10);
}

void TestSoapDateTime::read() {
    QFETCH(int, offset);
    QFETCH(QByteArray, text);
    QFETCH(double, value);
    TFakeClock clock(0, offset);
    const TDateTime read = ParseSoapDateTime(text);
    QCOMPARE(DateTimeToMs(read), DateTimeToMs(value));
}

void TestSoapDateTime::roundTrip_data() {
    QTest::addColumn<int>("offset");
    for (int offset : {0, 60, 120, -300, 330, -210, 840, -720}) {
        QTest::addRow("%d", offset) << offset;
    }
}

void TestSoapDateTime::roundTrip() {
    QFETCH(int, offset);
    TFakeClock clock(0, offset);
    for (const TDateTime value :
         {Local(2024, 3, 1, 0), Local(1999, 12, 31, 23, 59, 59), Local(2, 1, 1, 12)}) {
        QCOMPARE(ParseSoapDateTime(FormatSoapDateTime(value)), value);
    }
}

void TestSoapDateTime::invalidTexts_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("empty") << QByteArray("");
    QTest::newRow("date only") << QByteArray("2024-03-01");
    QTest::newRow("no seconds") << QByteArray("2024-03-01T10:00");
    QTest::newRow("space for T") << QByteArray("2024-03-01 10:00:00");
    QTest::newRow("month 13") << QByteArray("2024-13-01T10:00:00");
    QTest::newRow("30 February") << QByteArray("2024-02-30T10:00:00");
    QTest::newRow("minute 60") << QByteArray("2024-03-01T10:60:00");
    QTest::newRow("hour 24 with minutes") << QByteArray("2024-03-01T24:00:01");
    QTest::newRow("empty fraction") << QByteArray("2024-03-01T10:00:00.Z");
    QTest::newRow("offset without colon") << QByteArray("2024-03-01T10:00:00+0100");
    QTest::newRow("offset too large") << QByteArray("2024-03-01T10:00:00+15:00");
    QTest::newRow("trailing text") << QByteArray("2024-03-01T10:00:00Zx");
    QTest::newRow("year 0") << QByteArray("0000-01-01T00:00:00");
}

void TestSoapDateTime::invalidTexts() {
    QFETCH(QByteArray, text);
    TFakeClock clock(0, 60);
    try {
        ParseSoapDateTime(text);
        QFAIL("accepted");
    } catch (const TOrvError& error) {
        QCOMPARE(error.message(),
                 QStringLiteral("Invalid property element: ") + QString::fromUtf8(text));
    }
}

QTEST_GUILESS_MAIN(TestSoapDateTime)
#include "tst_soapdatetime.moc"
