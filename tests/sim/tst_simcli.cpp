// The orv-portal-sim command line, run as a process.

#include "USimCrypto.h"
#include "USimDatabase.h"
#include "USimSeed.h"
#include "USimTestKit.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Exe = QStringLiteral(ORV_SIM_EXE);

struct TRun {
    int Code = -1;
    QByteArray Out;
    QByteArray Err;
};

TRun Run(const QStringList& args, const QByteArray& input = {}) {
    QProcess p;
    p.start(Exe, args);
    p.waitForStarted();
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(30000);
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

} // namespace

class TestSimCli : public QObject {
    Q_OBJECT

private:
    QTemporaryDir Dir;
    QString Db() const { return Dir.filePath(QStringLiteral("cli.db")); }

private Q_SLOTS:
    void serveAnnouncesItsUrlFirstAndStopsOnTerm() {
        QProcess p;
        p.start(Exe, QStringList{QStringLiteral("serve"), QStringLiteral("--db"), Db()});
        QVERIFY(p.waitForReadyRead(10000));
        const QByteArray first = p.readLine().trimmed();
        QVERIFY2(first.startsWith("http://127.0.0.1:"), first.constData());
        QVERIFY(first.endsWith("/TirsaOrvWeb/PortalService.svc"));
        p.terminate();
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 0);
    }

    void serveEndsByItselfAfterExitAfter() {
        const TRun r = Run(QStringList{QStringLiteral("serve"), QStringLiteral("--db"), Db(),
                                       QStringLiteral("--exit-after"), QStringLiteral("0.2")});
        QCOMPARE(r.Code, 0);
        QVERIFY(r.Out.startsWith("http://127.0.0.1:"));
    }

    void accountPasswordComesFromStandardInput() {
        const TRun r = Run(QStringList{QStringLiteral("account"), QStringLiteral("add"),
                                       QStringLiteral("--db"), Db(), QStringLiteral("--subjekt"),
                                       QStringLiteral("S-9"), QStringLiteral("--osoba"),
                                       QStringLiteral("jana"), QStringLiteral("--heslo-stdin")},
                           QByteArray("Tajné heslo\r\n"));
        QCOMPARE(r.Code, 0);
        QVERIFY(!r.Out.contains("Tajné"));
        Sim::TSimDatabase db(Db().toStdString());
        QVERIFY(db.Authenticate("S-9", "jana", Sim::HesloDigest("Tajné heslo")));
    }

    void refusedCommandLines_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("code");
        QTest::newRow("no command") << QStringList() << QByteArray() << 2;
        QTest::newRow("password on the command line")
            << SimTest::Utf8List({"account", "add", "--db", "x.db", "--subjekt", "S", "--osoba",
                                  "O", "--heslo", "p"})
            << QByteArray() << 2;
        QTest::newRow("without --heslo-stdin")
            << SimTest::Utf8List(
                   {"account", "add", "--db", "x.db", "--subjekt", "S", "--osoba", "O"})
            << QByteArray() << 2;
        QTest::newRow("empty password")
            << SimTest::Utf8List({"account", "add", "--db", "x.db", "--subjekt", "S", "--osoba",
                                  "O", "--heslo-stdin"})
            << QByteArray("\n") << 1;
        QTest::newRow("seed without --demo")
            << SimTest::Utf8List({"seed", "--db", "x.db"}) << QByteArray() << 2;
        QTest::newRow("bad port") << SimTest::Utf8List({"serve", "--db", "x.db", "--port", "http"})
                                  << QByteArray() << 2;
        QTest::newRow("certificate without key")
            << SimTest::Utf8List({"serve", "--db", "x.db", "--tls-cert", "c.pem"}) << QByteArray()
            << 2;
        QTest::newRow("trusted CA without schemas")
            << SimTest::Utf8List({"serve", "--db", "x.db", "--trust-ca", "ca.pem"}) << QByteArray()
            << 2;
    }
    void refusedCommandLines() {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, input);
        QFETCH(int, code);
        for (QString& a : args)
            if (a == u"x.db")
                a = Dir.filePath(QStringLiteral("refused.db"));
        const TRun r = Run(args, input);
        QCOMPARE(r.Code, code);
        QVERIFY(!r.Err.isEmpty());
    }

    void seedAndHelpDocumentTheDemoAccount() {
        const TRun seed = Run(QStringList{QStringLiteral("seed"), QStringLiteral("--db"), Db(),
                                          QStringLiteral("--demo")});
        QCOMPARE(seed.Code, 0);
        Sim::TSimDatabase db(Db().toStdString());
        QCOMPARE(db.CountPodanie(Sim::DemoSubjekt), 1200);
        QVERIFY(
            db.Authenticate(Sim::DemoSubjekt, Sim::DemoOsoba, Sim::HesloDigest(Sim::DemoHeslo)));
        const TRun help = Run(QStringList{QStringLiteral("--help")});
        QCOMPARE(help.Code, 0);
        for (const char* text : {Sim::DemoSubjekt, Sim::DemoOsoba, Sim::DemoHeslo})
            QVERIFY(help.Out.contains(text));
    }
};

QTEST_GUILESS_MAIN(TestSimCli)
#include "tst_simcli.moc"
