// orv podaj end to end: the demo signing setup made by scripts/demo-pki, the
// real orv binary with the stand-in signer, and the simulator in-process.

#include "UCliRun.h"
#include "USimCrypto.h"
#include "USimServer.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const QString Pin = QStringLiteral("demo-pin-7");

QString Sample(const char* name) {
    return QStringLiteral(ORV_EXAMPLES_DIR "/") + QLatin1String(name);
}

} // namespace

class TTestCliPodaj : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase() { Server.reset(); }

    void submitsAndRemembers_data();
    void submitsAndRemembers();
    void passwordFromStandardInput();
    void failureRemembersNothing_data();
    void failureRemembersNothing();
    void usage();

private:
    TRun Run(const QString& program, const QStringList& arguments,
             const QByteArray& input = QByteArray(), bool withPin = true);
    TRun Orv(const QStringList& arguments, const QByteArray& input = QByteArray(),
             bool withPin = true) {
        return Run(QStringLiteral(ORV_CLI_PATH), arguments, input, withPin);
    }
    QByteArray UserHive() const {
        QFile file(Dir.filePath(QStringLiteral("config/ORV Duriza/HKEY_CURRENT_USER.reg")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // The remembered pair, as stored.
    QByteArray EphSection() const {
        const QByteArray hive = UserHive();
        const qsizetype at = hive.indexOf("ORV Duriza\\EPH]");
        return at < 0 ? QByteArray() : hive.mid(at);
    }
    int PodaniaCount() {
        const TRun run = Orv({QStringLiteral("podania"), QStringLiteral("--json")});
        return run.ExitCode == 0 ? int(run.Out.count("\"IdPodania\"")) : -1;
    }

    QTemporaryDir Dir;
    std::unique_ptr<Sim::TSimServer> Server;
};

TRun TTestCliPodaj::Run(const QString& program, const QStringList& arguments,
                        const QByteArray& input, bool withPin) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), Dir.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_CONFIG_DIRS"),
                       Dir.filePath(QStringLiteral("pki/machine")));
    environment.remove(QStringLiteral("ORV_SIGNER_PIN"));
    if (withPin)
        environment.insert(QStringLiteral("ORV_SIGNER_PIN"), Pin);
    return RunProgram(program, arguments, environment, input);
}

void TTestCliPodaj::initTestCase() {
    Sim::TSimServerOptions options;
    options.DbPath = QFile::encodeName(Dir.filePath(QStringLiteral("portal.db"))).toStdString();
    Server = std::make_unique<Sim::TSimServer>(options);
    Server->Database().AddAccount({"S-CLI", "jan", Sim::HesloDigest("Jan-heslo")});
    Server->Start();

    const TRun pki =
        Run(QStringLiteral("bash"),
            {QStringLiteral(ORV_SOURCE_DIR "/scripts/demo-pki"),
             Dir.filePath(QStringLiteral("pki")), Dir.filePath(QStringLiteral("config"))});
    QVERIFY2(pki.ExitCode == 0, qPrintable(pki.Err));
    QVERIFY(!pki.OutText().contains(Pin)); // a given password is not echoed
    QVERIFY(UserHive().contains("Pkcs12File"));

    const TRun konfiguracia =
        Orv({QStringLiteral("konfiguracia"), QStringLiteral("--url"),
             QString::fromStdString(Server->Url()), QStringLiteral("--subjekt"),
             QStringLiteral("S-CLI"), QStringLiteral("--osoba"), QStringLiteral("jan"),
             QStringLiteral("--politika"),
             QStringLiteral("urn:oid:1.3.158.48207315.0.0.1.10.4.0.11.1")},
            "Jan-heslo\n");
    QVERIFY2(konfiguracia.ExitCode == 0, qPrintable(konfiguracia.Err));
    QVERIFY(UserHive().contains("\"SignatureAlgorithm\"=\"sha256\""));
    // The demo set-up and the client's own settings share the user hive.
    QVERIFY(UserHive().contains("Pkcs12File"));
}

void TTestCliPodaj::submitsAndRemembers_data() {
    QTest::addColumn<QString>("verzia");
    QTest::addColumn<QString>("sample");
    QTest::addColumn<QStringList>("idOption");
    QTest::addColumn<QString>("ephId");
    QTest::newRow("0.1, identifier from the file name")
        << "0.1" << Sample("eph-v01.xml") << QStringList() << "eph-v01";
    QTest::newRow("2.0, identifier given")
        << "2.0" << Sample("eph-v02.xml")
        << QStringList{QStringLiteral("--id"), QStringLiteral("Hárok 2")} << "Hárok 2";
    QTest::newRow("3.0") << "3.0" << Sample("eph-v03.xml") << QStringList() << "eph-v03";
}

void TTestCliPodaj::submitsAndRemembers() {
    QFETCH(QString, verzia);
    QFETCH(QString, sample);
    QFETCH(QStringList, idOption);
    QFETCH(QString, ephId);
    QCOMPARE(
        Orv({QStringLiteral("konfiguracia"), QStringLiteral("--verzia"), verzia}, "\n").ExitCode,
        0);
    const int before = PodaniaCount();
    const TRun run = Orv(QStringList{QStringLiteral("podaj"), sample} + idOption);
    QVERIFY2(run.ExitCode == 0, qPrintable(run.Err));
    QCOMPARE(run.OutText(), QStringLiteral("EPH bol podaný!\n"));
    QCOMPARE(PodaniaCount(), before + 1);
    const QString hive = QString::fromUtf8(UserHive());
    QVERIFY(hive.contains(QStringLiteral("\"Subor\"=\"%1\"").arg(sample)));
    QVERIFY(hive.contains(QStringLiteral("\"EPHId\"=\"%1\"").arg(ephId)));
}

void TTestCliPodaj::passwordFromStandardInput() {
    const int before = PodaniaCount();
    const TRun run =
        Orv({QStringLiteral("podaj"), Sample("eph-v03.xml")}, Pin.toUtf8() + "\n", false);
    QVERIFY2(run.ExitCode == 0, qPrintable(run.Err));
    QCOMPARE(PodaniaCount(), before + 1);
}

void TTestCliPodaj::failureRemembersNothing_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("error");
    QTest::newRow("wrong password")
        << Sample("eph-v03.xml") << QByteArray("nie-to\n") << QStringLiteral("ORV: ");
    QTest::newRow("declined") << Sample("eph-v03.xml") << QByteArray() << QStringLiteral("ORV: ");
    QTest::newRow("missing file") << Dir.filePath(QStringLiteral("chyba.xml")) << QByteArray()
                                  << QStringLiteral(
                                         "Cannot open file \"%1\". No such file or directory")
                                         .arg(Dir.filePath(QStringLiteral("chyba.xml")));
    QTest::newRow("schema refuses") << QStringLiteral(ORV_SOURCE_DIR "/README.md") << QByteArray()
                                    << QStringLiteral("Nepodarilo sa vytvoriť objekt podania!");
}

void TTestCliPodaj::failureRemembersNothing() {
    QFETCH(QString, file);
    QFETCH(QByteArray, input);
    QFETCH(QString, error);
    const int before = PodaniaCount();
    const QByteArray remembered = EphSection();
    const TRun run = Orv({QStringLiteral("podaj"), file}, input, false);
    QCOMPARE(run.ExitCode, 1);
    QVERIFY2(run.Err.startsWith(error), qPrintable(run.Err));
    QVERIFY(run.Out.isEmpty());
    QCOMPARE(PodaniaCount(), before);
    QCOMPARE(EphSection(), remembered);
}

void TTestCliPodaj::usage() {
    QCOMPARE(Orv({QStringLiteral("podaj")}).ExitCode, 2);
    QCOMPARE(
        Orv({QStringLiteral("podaj"), QStringLiteral("a.xml"), QStringLiteral("b.xml")}).ExitCode,
        2);
    QCOMPARE(
        Orv({QStringLiteral("podaj"), QStringLiteral("a.xml"), QStringLiteral("--json")}).ExitCode,
        2);
}

QTEST_GUILESS_MAIN(TTestCliPodaj)
#include "tst_cli_podaj.moc"
