#include "UBase64.h"
#include "UOrvError.h"

#include <QTest>

#include "UReferenceDigest.h"

#include <climits>

namespace {

QString ReferenceBlock(const QByteArray& bytes) {
    return QString::fromLatin1(ReferenceDigest::Base64(bytes));
}

// The reference encoding with our line rule: CR LF after each full 76-character line
// of complete groups; the padded final group stands on its own, unbroken.
QString Reference(const QByteArray& bytes) {
    const qsizetype whole = bytes.size() - bytes.size() % 3;
    const QString body = ReferenceBlock(bytes.left(whole));
    QString result;
    for (qsizetype pos = 0; pos < body.size(); pos += 76) {
        const QString line = body.mid(pos, 76);
        result += line;
        if (line.size() == 76)
            result += QStringLiteral("\r\n");
    }
    return result + ReferenceBlock(bytes.mid(whole));
}

QByteArray Pattern(qsizetype length) {
    QByteArray bytes(length, Qt::Uninitialized);
    for (qsizetype i = 0; i < length; ++i)
        bytes[i] = static_cast<char>(i * 37 + 11);
    return bytes;
}

QString Repeat(const char* text, qsizetype count) {
    return QString::fromLatin1(text).repeated(count);
}

} // namespace

class TTestBase64 : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void mapsEveryValueToItsCharacter();
    void rejectsValuesOutsideSixBits_data();
    void rejectsValuesOutsideSixBits();
    void encodesExactly_data();
    void encodesExactly();
    void matchesReferenceAtEveryLength();
    void matchesReferenceOnLargeInput();
    void leavesInputUnchanged();
    void encodesUtf8OfText_data();
    void encodesUtf8OfText();
};

void TTestBase64::mapsEveryValueToItsCharacter() {
    const QString alphabet =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/");
    for (int value = 0; value < 64; ++value)
        QCOMPARE(GetBase64Character(value), alphabet.at(value));
}

void TTestBase64::rejectsValuesOutsideSixBits_data() {
    QTest::addColumn<int>("value");
    QTest::newRow("-1") << -1;
    QTest::newRow("64") << 64;
    QTest::newRow("255") << 255;
    QTest::newRow("INT_MIN") << INT_MIN;
    QTest::newRow("INT_MAX") << INT_MAX;
}

void TTestBase64::rejectsValuesOutsideSixBits() {
    QFETCH(int, value);

    try {
        GetBase64Character(value);
        QFAIL("no error raised");
    } catch (const TOrvError& error) {
        QCOMPARE(error.message(), QStringLiteral("GetBase64Character: Invalid input."));
    }
}

void TTestBase64::encodesExactly_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    const QString crlf = QStringLiteral("\r\n");
    const QByteArray abc19 = QByteArray("abc").repeated(19);

    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("one byte") << QByteArray("M") << QStringLiteral("TQ==");
    QTest::newRow("two bytes") << QByteArray("Ma") << QStringLiteral("TWE=");
    QTest::newRow("three bytes") << QByteArray("Man") << QStringLiteral("TWFu");
    QTest::newRow("all bits set") << QByteArray("\xFF\xFF\xFF\xFF", 4)
                                  << QStringLiteral("/////w==");
    QTest::newRow("56 bytes, no break")
        << QByteArray(56, '\0') << Repeat("AAAA", 18) + QStringLiteral("AAA=");
    QTest::newRow("57 bytes end with the break") << abc19 << Repeat("YWJj", 19) + crlf;
    QTest::newRow("58 bytes put the padded group after the break")
        << abc19 + "a" << Repeat("YWJj", 19) + crlf + QStringLiteral("YQ==");
    QTest::newRow("59 bytes") << abc19 + "ab" << Repeat("YWJj", 19) + crlf + QStringLiteral("YWI=");
    QTest::newRow("60 bytes") << abc19 + "abc"
                              << Repeat("YWJj", 19) + crlf + QStringLiteral("YWJj");
    QTest::newRow("114 bytes make two broken lines")
        << abc19.repeated(2) << Repeat("YWJj", 19) + crlf + Repeat("YWJj", 19) + crlf;
    QTest::newRow("password digest")
        << QByteArray::fromHex("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad")
        << QStringLiteral("ungWv48Bz+pBQUDeXa4iI7ADYaOWF3qctBD/YfIAFa0=");
}

void TTestBase64::encodesExactly() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);

    QCOMPARE(Base64Encode(bytes), text);
}

void TTestBase64::matchesReferenceAtEveryLength() {
    const QByteArray all = Pattern(400);
    for (qsizetype length = 0; length <= all.size(); ++length) {
        const QByteArray bytes = all.left(length);
        const QString encoded = Base64Encode(bytes);
        if (encoded != Reference(bytes))
            QFAIL(qPrintable(QStringLiteral("encoding differs at length %1").arg(length)));
    }
}

void TTestBase64::matchesReferenceOnLargeInput() {
    // Many lines, with a tail of each kind.
    for (const qsizetype length : {qsizetype(57 * 1000), qsizetype(57 * 1000 + 1),
                                   qsizetype(57 * 1000 + 2), qsizetype(100000)}) {
        const QByteArray bytes = Pattern(length);
        QCOMPARE(Base64Encode(bytes), Reference(bytes));
    }
}

void TTestBase64::leavesInputUnchanged() {
    const QByteArray original = Pattern(200);
    QByteArray bytes = original;
    bytes.detach();
    Base64Encode(bytes);
    QCOMPARE(bytes, original);
}

void TTestBase64::encodesUtf8OfText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("encoded");

    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("ascii") << QStringLiteral("abc") << QStringLiteral("YWJj");
    // á is C3 A1 in UTF-8; no byte-order mark in front.
    QTest::newRow("two-byte character") << QStringLiteral("\u00E1") << QStringLiteral("w6E=");
    QTest::newRow("four-byte character")
        << QStringLiteral("\U0001F600") << QStringLiteral("8J+YgA==");
    QTest::newRow("diacritics over two lines")
        << QStringLiteral("\u010Eakujeme, \u017Ee pod\u00E1vate EPH: "
                          "\u013E\u0161\u010D\u0165\u017E\u00FD\u00E1\u00ED\u00E9\u00FA\u00E4"
                          "\u00F4\u0148 "
                          "\u013D\u0160\u010C\u0164\u017D\u00DD\u00C1\u00CD\u00C9\u00DA\u00C4"
                          "\u00D4\u0147")
        << QStringLiteral(
               "xI5ha3VqZW1lLCDFvmUgcG9kw6F2YXRlIEVQSDogxL7FocSNxaXFvsO9w6HDrcOpw7rDpMO0xYgg"
               "\r\nxL3FoMSMxaTFvcOdw4HDjcOJw5rDhMOUxYc=");
}

void TTestBase64::encodesUtf8OfText() {
    QFETCH(QString, text);
    QFETCH(QString, encoded);

    QCOMPARE(Base64EncodeUtf8(text), encoded);
    QCOMPARE(Base64EncodeUtf8(text), Base64Encode(text.toUtf8()));
}

QTEST_GUILESS_MAIN(TTestBase64)
#include "tst_base64.moc"
