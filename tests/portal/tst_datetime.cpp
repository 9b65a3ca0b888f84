#include "UDateTime.h"

#include "UOrvError.h"

#include <QTest>

Q_DECLARE_METATYPE(TDateTimeParts)

class TestDateTime : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void knownValues_data();
    void knownValues();
    void roundTripsToTheMillisecond();
    void beforeEpochCountsTimeAwayFromZero();
    void straightLineMilliseconds();
    void invalidPartsAreRefused_data();
    void invalidPartsAreRefused();
    void unusableValuesAreRefused();
};

void TestDateTime::knownValues_data() {
    QTest::addColumn<TDateTimeParts>("parts");
    QTest::addColumn<double>("value");
    QTest::newRow("epoch") << TDateTimeParts{1899, 12, 30, 0, 0, 0, 0} << 0.0;
    QTest::newRow("1900-01-01") << TDateTimeParts{1900, 1, 1, 0, 0, 0, 0} << 2.0;
    QTest::newRow("noon 2024-03-01") << TDateTimeParts{2024, 3, 1, 12, 0, 0, 0} << 45352.5;
    QTest::newRow("leap day") << TDateTimeParts{2024, 2, 29, 6, 0, 0, 0} << 45351.25;
    QTest::newRow("day before epoch, 06:00") << TDateTimeParts{1899, 12, 29, 6, 0, 0, 0} << -1.25;
    QTest::newRow("year 1") << TDateTimeParts{1, 1, 1, 0, 0, 0, 0} << -693593.0;
    QTest::newRow("year 9999 end") << TDateTimeParts{9999, 12, 31, 0, 0, 0, 0} << 2958465.0;
}

void TestDateTime::knownValues() {
    QFETCH(TDateTimeParts, parts);
    QFETCH(double, value);
    QCOMPARE(EncodeDateTime(parts), value);
    const TDateTimeParts back = DecodeDateTime(value);
    QCOMPARE(back.Year, parts.Year);
    QCOMPARE(back.Month, parts.Month);
    QCOMPARE(back.Day, parts.Day);
    QCOMPARE(back.Hour, parts.Hour);
}

void TestDateTime::roundTripsToTheMillisecond() {
    // A spread of dates over the whole range, each with an awkward time.
    for (int year = 1; year <= 9999; year += 97) {
        for (int month : {1, 2, 7, 12}) {
            const TDateTimeParts parts{year, month, month == 2 ? 28 : 31, 23, 59, 59, 999};
            const TDateTimeParts back = DecodeDateTime(EncodeDateTime(parts));
            QCOMPARE(back.Year, parts.Year);
            QCOMPARE(back.Month, parts.Month);
            QCOMPARE(back.Day, parts.Day);
            QCOMPARE(back.Hour, 23);
            QCOMPARE(back.Minute, 59);
            QCOMPARE(back.Second, 59);
            QCOMPARE(back.Millisecond, 999);
        }
    }
    const TDateTimeParts late = DecodeDateTime(EncodeDateTime({9999, 12, 31, 23, 59, 59, 999}));
    QCOMPARE(late.Year, 9999);
    QCOMPARE(late.Millisecond, 999);
}

void TestDateTime::beforeEpochCountsTimeAwayFromZero() {
    const TDateTimeParts parts = DecodeDateTime(-1.75);
    QCOMPARE(parts.Day, 29);
    QCOMPARE(parts.Hour, 18);
    // Just before midnight of the next day rounds into that day.
    const TDateTimeParts carried = DecodeDateTime(-1.9999999999);
    QCOMPARE(carried.Day, 30);
    QCOMPARE(carried.Hour, 0);
}

void TestDateTime::straightLineMilliseconds() {
    const TDateTime before = EncodeDateTime({1899, 12, 29, 23, 0, 0, 0});
    const TDateTime after = MsToDateTime(DateTimeToMs(before) + 2 * 3600 * 1000);
    QCOMPARE(after, EncodeDateTime({1899, 12, 30, 1, 0, 0, 0}));
    QCOMPARE(DateTimeToMs(EncodeDateTime({2024, 3, 1, 0, 0, 1, 500})),
             DaysFromCivil(2024, 3, 1) * MsPerDay + 1500);
}

void TestDateTime::invalidPartsAreRefused_data() {
    QTest::addColumn<TDateTimeParts>("parts");
    QTest::newRow("year 0") << TDateTimeParts{0, 1, 1, 0, 0, 0, 0};
    QTest::newRow("month 13") << TDateTimeParts{2024, 13, 1, 0, 0, 0, 0};
    QTest::newRow("29 February 2023") << TDateTimeParts{2023, 2, 29, 0, 0, 0, 0};
    QTest::newRow("31 April") << TDateTimeParts{2024, 4, 31, 0, 0, 0, 0};
    QTest::newRow("hour 24") << TDateTimeParts{2024, 1, 1, 24, 0, 0, 0};
    QTest::newRow("millisecond 1000") << TDateTimeParts{2024, 1, 1, 0, 0, 0, 1000};
}

void TestDateTime::invalidPartsAreRefused() {
    QFETCH(TDateTimeParts, parts);
    QVERIFY_THROWS_EXCEPTION(TOrvError, EncodeDateTime(parts));
}

void TestDateTime::unusableValuesAreRefused() {
    QVERIFY_THROWS_EXCEPTION(TOrvError, DecodeDateTime(qQNaN()));
    QVERIFY_THROWS_EXCEPTION(TOrvError, DecodeDateTime(qInf()));
    QVERIFY_THROWS_EXCEPTION(TOrvError, DecodeDateTime(1e12));
}

QTEST_GUILESS_MAIN(TestDateTime)
#include "tst_datetime.moc"
