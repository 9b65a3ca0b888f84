#include "FuzzSoapDecode.h"

#include <QDir>
#include <QFile>
#include <QTest>

// Every seed of the decoder's fuzz corpus, and every portal fixture, must
// decode or be refused cleanly: no crash, no sanitizer report.
class TestFuzzCorpus : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void replay_data();
    void replay();
};

void TestFuzzCorpus::replay_data() {
    QTest::addColumn<QString>("path");
    const QStringList folders = {QStringLiteral(ORV_FUZZ_CORPUS_DIR "/soap_decode"),
                                 QStringLiteral(ORV_TEST_DATA_DIR "/portal")};
    int count = 0;
    for (const QString& folder : folders) {
        const QDir dir(folder);
        for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
            QTest::newRow(qPrintable(dir.dirName() + u'/' + name)) << dir.filePath(name);
            ++count;
        }
    }
    QVERIFY(count > 12);
}

void TestFuzzCorpus::replay() {
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QCOMPARE(FuzzSoapDecode(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                            std::size_t(bytes.size())),
             0);
    // Every prefix of a seed is malformed input of its own.
    for (qsizetype length = 0; length < bytes.size(); length += 1 + bytes.size() / 8) {
        FuzzSoapDecode(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                       std::size_t(length));
    }
}

QTEST_GUILESS_MAIN(TestFuzzCorpus)
#include "tst_fuzzcorpus.moc"
