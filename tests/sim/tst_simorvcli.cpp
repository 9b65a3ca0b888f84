// The orv command line against the simulator, each run a process with a
// settings location of its own.

#include "USimDocuments.h"
#include "USimTestKit.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

#include <optional>

using namespace SimTest;

namespace {

struct TRun {
    int Code = -1;
    QString Out;
    QString Err;
};

} // namespace

class TestSimOrvCli : public QObject {
    Q_OBJECT

private:
    std::optional<TSimFixture> Sim_;
    QTemporaryDir Config;

    TRun Orv(const QStringList& args, const QByteArray& input = {}) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), Config.path());
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(ORV_CLI_EXE), args);
        p.waitForStarted();
        p.write(input);
        p.closeWriteChannel();
        p.waitForFinished(60000);
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }

    TRun Konfiguracia(const char* password) {
        return Orv(QStringList{QStringLiteral("konfiguracia"), QStringLiteral("--url"),
                               QString::fromStdString(Sim_->Server().Url()),
                               QStringLiteral("--subjekt"), QStringLiteral("S-CLI"),
                               QStringLiteral("--osoba"), QStringLiteral("cyril")},
                   QByteArray(password) + '\n');
    }

private Q_SLOTS:
    void initTestCase() {
        Sim_.emplace();
        Sim_->Db().AddAccount({"S-CLI", "cyril", Sim::HesloDigest("Cyril-heslo")});
        const Sim::TUtcMs base = At("2024-05-10T10:00:00Z");
        const char* biznis[] = {"BP-7", "BP-8", "BP-7"};
        for (int k = 0; k < 3; ++k) {
            Sim::TSimPodanie p;
            p.Id = "CLI-" + std::to_string(k);
            p.Subjekt = "S-CLI";
            p.Biznis = biznis[k];
            p.ReceivedUtc = base + k * 86400000LL;
            p.Typ = "KT_PODAJ_v01";
            p.Sluzba = Sim::SluzbaHromadnyPodaj;
            p.StavOverenia = "Overené";
            p.StavPodania = "Spracované";
            p.Document = "<EPH xmlns=\"urn:test\"/>";
            Sim_->Db().InsertPodanie(p,
                                     Sim::Potvrdenie(p, "DOC-" + std::to_string(k), p.ReceivedUtc));
        }
    }
    void cleanupTestCase() { Sim_.reset(); }

    void konfiguraciaVerifiesBeforeSaving() {
        TRun r = Konfiguracia("zle");
        QCOMPARE(r.Code, 1);
        QVERIFY2(r.Err.contains(QStringLiteral("Nesprávne prihlasovacie údaje")),
                 qPrintable(r.Err));
        r = Orv(Utf8List({"check-login"}));
        QVERIFY(r.Code != 0); // nothing was saved
        r = Konfiguracia("Cyril-heslo");
        QCOMPARE(r.Code, 0);
        r = Orv(Utf8List({"check-login"}));
        QCOMPARE(r.Code, 0);
    }

    void listingsWithBoundsAndBusinessCase() {
        TRun r = Orv(Utf8List({"podania", "--od", "2024-05-11", "--do", "2024-05-12", "--json"}));
        QCOMPARE(r.Code, 0);
        QJsonArray rows = QJsonDocument::fromJson(r.Out.toUtf8()).array();
        QCOMPARE(rows.size(), 2);
        QVERIFY(r.Out.indexOf(QStringLiteral("CLI-2")) < r.Out.indexOf(QStringLiteral("CLI-1")));
        r = Orv(
            Utf8List({"podania", "--od", "2024-05-01", "--do", "2024-05-31", "--biznis", "BP-7"}));
        QCOMPARE(r.Code, 0);
        QVERIFY(r.Out.contains(QStringLiteral("CLI-0")) && r.Out.contains(QStringLiteral("CLI-2")));
        QVERIFY(!r.Out.contains(QStringLiteral("CLI-1")));
        r = Orv(Utf8List(
            {"pisomnosti", "--od", "2024-05-01", "--do", "2024-05-31", "--biznis", "BP-8"}));
        QCOMPARE(r.Code, 0);
        QVERIFY(r.Out.contains(QStringLiteral("DOC-1")) &&
                !r.Out.contains(QStringLiteral("DOC-0")));
    }

    void fetchShowsTheContent() {
        const TRun r = Orv(Utf8List({"pisomnost", "DOC-1"}));
        QCOMPARE(r.Code, 0);
        QVERIFY2(r.Out.contains(QStringLiteral("<Potvrdenie")), qPrintable(r.Out));
        QVERIFY(r.Out.contains(QStringLiteral("CLI-1")));
    }

    void scriptedFaultReachesTheUser() {
        Sim::TSimScriptedAnswer a;
        a.FaultString = "Portál je v údržbe.";
        Sim_->Server().Faults().Push("CheckLogin", a);
        const TRun r = Orv(Utf8List({"check-login"}));
        QCOMPARE(r.Code, 1);
        QVERIFY2(r.Err.contains(QStringLiteral("Portál je v údržbe.")), qPrintable(r.Err));
    }
};

QTEST_GUILESS_MAIN(TestSimOrvCli)
#include "tst_simorvcli.moc"
