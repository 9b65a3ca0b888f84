#include "USha256.h"

#include <QTest>

#include "UReferenceDigest.h"

namespace {

// Bytes that differ at every position, so a misplaced byte changes the digest.
QByteArray Pattern(qsizetype length) {
    QByteArray bytes(length, Qt::Uninitialized);
    for (qsizetype i = 0; i < length; ++i)
        bytes[i] = static_cast<char>((i * 131 + 7) ^ (i >> 8));
    return bytes;
}

} // namespace

class TTestSha256 : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void matchesStandardVectors_data();
    void matchesStandardVectors();
    void matchesReferenceAtEveryLength();
    void matchesReferenceAroundBlockBoundaries_data();
    void matchesReferenceAroundBlockBoundaries();
    void hashesOneMillionA();
    void leavesInputUnchanged();
    void resizesAnyOutputTo32Bytes_data();
    void resizesAnyOutputTo32Bytes();
    void hashesHighBytes();
};

void TTestSha256::matchesStandardVectors_data() {
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("digestHex");

    QTest::newRow("empty") << QByteArray()
                           << QByteArray("e3b0c44298fc1c149afbf4c8996fb924"
                                         "27ae41e4649b934ca495991b7852b855");
    QTest::newRow("abc") << QByteArray("abc")
                         << QByteArray("ba7816bf8f01cfea414140de5dae2223"
                                       "b00361a396177a9cb410ff61f20015ad");
    QTest::newRow("448-bit") << QByteArray(
                                    "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq")
                             << QByteArray("248d6a61d20638b8e5c026930c3e6039"
                                           "a33ce45964ff2167f6ecedd419db06c1");
    QTest::newRow("896-bit")
        << QByteArray("abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmno"
                      "ijklmnopjklmnopqklmnopqrlmnopqrsmnopqrstnopqrstu")
        << QByteArray("cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1");
}

void TTestSha256::matchesStandardVectors() {
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, digestHex);

    QByteArray digest;
    Sha256Digest(input, digest);
    QCOMPARE(digest.toHex(), digestHex);
}

void TTestSha256::matchesReferenceAtEveryLength() {
    const QByteArray all = Pattern(300);
    for (qsizetype length = 0; length <= all.size(); ++length) {
        const QByteArray input = all.left(length);
        QByteArray digest;
        Sha256Digest(input, digest);
        if (digest != ReferenceDigest::Sha256(input))
            QFAIL(qPrintable(QStringLiteral("digest differs at length %1").arg(length)));
    }
}

void TTestSha256::matchesReferenceAroundBlockBoundaries_data() {
    QTest::addColumn<qsizetype>("length");
    for (const qsizetype boundary :
         {qsizetype(64), qsizetype(128), qsizetype(4096), qsizetype(65536)}) {
        // Around the point where the length field no longer fits, and around the block end.
        for (const qsizetype length :
             {boundary - 9, boundary - 8, boundary - 7, boundary - 1, boundary, boundary + 1}) {
            QTest::addRow("%lld", static_cast<long long>(length)) << length;
        }
    }
}

void TTestSha256::matchesReferenceAroundBlockBoundaries() {
    QFETCH(qsizetype, length);

    const QByteArray input = Pattern(length);
    QByteArray digest;
    Sha256Digest(input, digest);
    QCOMPARE(digest.toHex(), ReferenceDigest::Sha256(input).toHex());
}

void TTestSha256::hashesOneMillionA() {
    QByteArray digest;
    Sha256Digest(QByteArray(1000000, 'a'), digest);
    QCOMPARE(digest.toHex(),
             QByteArray("cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"));
}

void TTestSha256::leavesInputUnchanged() {
    const QByteArray original = Pattern(200);
    QByteArray input = original;
    input.detach();
    QByteArray digest;
    Sha256Digest(input, digest);
    QCOMPARE(input, original);
}

void TTestSha256::resizesAnyOutputTo32Bytes_data() {
    QTest::addColumn<QByteArray>("output");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("shorter") << QByteArray(5, 'x');
    QTest::newRow("longer") << QByteArray(100, 'x');
}

void TTestSha256::resizesAnyOutputTo32Bytes() {
    QFETCH(QByteArray, output);

    Sha256Digest(QByteArray("abc"), output);
    QCOMPARE(output.size(), 32);
    QCOMPARE(output.toHex(),
             QByteArray("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"));
}

void TTestSha256::hashesHighBytes() {
    // Bytes at and above 0x80 must not sign-extend into neighbouring bits.
    const QByteArray input(130, '\xFF');
    QByteArray digest;
    Sha256Digest(input, digest);
    QCOMPARE(digest.toHex(), ReferenceDigest::Sha256(input).toHex());
}

QTEST_GUILESS_MAIN(TTestSha256)
#include "tst_sha256.moc"
