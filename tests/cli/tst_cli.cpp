#include "UCliRun.h"
#include "UDMORV.h"
#include "UPortalAnswers.h"
#include "UTestHttpServer.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray Ok(const QByteArray& operation, const QByteArray& inner) {
    return PortalAnswer(operation, inner);
}

const QByteArray LoginOk = Ok("CheckLogin", "<CheckLoginResult>0</CheckLoginResult>");

QByteArray Podanie(const QByteArray& id, const QByteArray& datum) {
    const QByteArray date =
        datum.isEmpty() ? QByteArray()
                        : "<a:datumACasPrijatiaField>" + datum + "</a:datumACasPrijatiaField>";
    return "<a:Podanie>" + date +
           "<a:identifikatorBiznisPripaduField>BP"
           "</a:identifikatorBiznisPripaduField><a:identifikatorPodaniaField>" +
           id +
           "</a:identifikatorPodaniaField><a:identifikatorSubjektuField>S</"
           "a:identifikatorSubjektuField><a:kodSluzbyField>EPH</a:kodSluzbyField>"
           "<a:kodTypuPodaniaField>KT_PODAJ_v01</a:kodTypuPodaniaField>"
           "<a:stavOvereniaField>Overené</a:stavOvereniaField>"
           "<a:stavPodaniaField>Prijaté</a:stavPodaniaField></a:Podanie>";
}

} // namespace

class TTestCli : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Server = std::make_unique<TTestHttpServer>(); }
    void cleanupTestCase() { Server.reset(); }
    void init();

    void konfiguraciaVerifiesThenStores();
    void konfiguraciaRefusedStoresNothing_data();
    void konfiguraciaRefusedStoresNothing();
    void konfiguraciaEmptyPasswordKeepsDigest();
    void checkLogin();
    void podaniaTableWithDefaultRange();
    void pisomnostiJsonWithGivenRange();
    void listWithoutResponseElement();
    void contentToStdoutAndFile();
    void portalErrorsExitNonZero();
    void usageErrors_data();
    void usageErrors();
    void languageAsStored_data();
    void languageAsStored();

private:
    TRun Orv(const QStringList& arguments, const QByteArray& input = QByteArray());
    QString HiveFile() const {
        return Config->filePath(QStringLiteral("ORV Duriza/HKEY_CURRENT_USER.reg"));
    }
    QByteArray Hive() const {
        QFile file(HiveFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void Configure(const QByteArray& values);
    void Serve(const QByteArray& body) {
        TTestHttpAnswer answer;
        answer.Body = body;
        Server->Enqueue(answer);
    }

    std::unique_ptr<TTestHttpServer> Server;
    std::unique_ptr<QTemporaryDir> Config;
};

void TTestCli::init() {
    Config = std::make_unique<QTemporaryDir>();
    Server->ClearRequests();
}

TRun TTestCli::Orv(const QStringList& arguments, const QByteArray& input) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), Config->path());
    environment.insert(QStringLiteral("XDG_CONFIG_DIRS"), Config->filePath(QStringLiteral("etc")));
    return RunProgram(QStringLiteral(ORV_CLI_PATH), arguments, environment, input);
}

void TTestCli::Configure(const QByteArray& values) {
    QDir().mkpath(QFileInfo(HiveFile()).absolutePath());
    QFile file(HiveFile());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("Windows Registry Editor Version 5.00\r\n\r\n"
               "[HKEY_CURRENT_USER\\SOFTWARE\\Kelmar Tirsa, a.s.\\ORV Duriza\\ORV]\r\n\"Url\"=\"" +
               Server->Url().toUtf8() + "\"\r\n" + values);
}

void TTestCli::konfiguraciaVerifiesThenStores() {
    Serve(LoginOk);
    const TRun run =
        Orv({QStringLiteral("konfiguracia"), QStringLiteral("--url"), Server->Url(),
             QStringLiteral("--subjekt"), QStringLiteral("SUBJ 1"), QStringLiteral("--osoba"),
             QStringLiteral("jan"), QStringLiteral("--verzia"), QStringLiteral("3.0")},
            "tajné heslo\n");
    QCOMPARE(run.ExitCode, 0);
    const QString digest = TDMORV::HashHeslo(QStringLiteral("tajné heslo"));
    QCOMPARE(RequestFields(Server->LastRequest().Body, "CheckLogin"),
             "<subjekt>SUBJ 1</subjekt><osoba>jan</osoba><heslo>" + digest.toUtf8() + "</heslo>");
    const QByteArray hive = Hive();
    QVERIFY(hive.contains("\"Url\"=\"" + Server->Url().toUtf8() + "\""));
    QVERIFY(hive.contains("\"Subjekt\"=\"SUBJ 1\""));
    QVERIFY(hive.contains("\"Heslo\"=\"" + digest.toUtf8() + "\""));
    QVERIFY(hive.contains("\"VerziaPodaja\"=\"3.0\""));
    QVERIFY(hive.contains("\"SignatureAlgorithm\"=\"sha1\""));
    QVERIFY(!hive.contains("tajn"));
}

void TTestCli::konfiguraciaRefusedStoresNothing_data() {
    QTest::addColumn<QString>("url");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QString>("error");
    QTest::newRow("refused") << QString()
                             << Ok("CheckLogin", "<CheckLoginResult>3</CheckLoginResult>"
                                                 "<popisChyby>Zlé heslo</popisChyby>")
                             << QStringLiteral("Chyba pri komunikácii s ORV:\r\nZlé heslo");
    QTest::newRow("ftp") << QStringLiteral("ftp://portal.example/") << QByteArray()
                         << QStringLiteral("Invalid url 'ftp://portal.example/' - only supports "
                                           "'http' and 'https' schemes");
}

void TTestCli::konfiguraciaRefusedStoresNothing() {
    QFETCH(QString, url);
    QFETCH(QByteArray, answer);
    QFETCH(QString, error);
    if (!answer.isEmpty())
        Serve(answer);
    const TRun run =
        Orv({QStringLiteral("konfiguracia"), QStringLiteral("--url"),
             url.isEmpty() ? Server->Url() : url, QStringLiteral("--subjekt"), QStringLiteral("S")},
            "x\n");
    QCOMPARE(run.ExitCode, 1);
    QCOMPARE(run.Err, error + u'\n');
    QVERIFY(!Hive().contains("\"Subjekt\""));
}

void TTestCli::konfiguraciaEmptyPasswordKeepsDigest() {
    Configure("\"Subjekt\"=\"S\"\r\n\"Osoba\"=\"O\"\r\n\"Heslo\"=\"stored=\"\r\n");
    Serve(LoginOk);
    const TRun run = Orv(
        {QStringLiteral("konfiguracia"), QStringLiteral("--osoba"), QStringLiteral("O2")}, "\n");
    QCOMPARE(run.ExitCode, 0);
    QCOMPARE(RequestFields(Server->LastRequest().Body, "CheckLogin"),
             QByteArray("<subjekt>S</subjekt><osoba>O2</osoba><heslo>stored=</heslo>"));
    QVERIFY(Hive().contains("\"Heslo\"=\"stored=\""));
    QVERIFY(Hive().contains("\"Osoba\"=\"O2\""));
}

void TTestCli::checkLogin() {
    Configure("\"Subjekt\"=\"S\"\r\n");
    Serve(LoginOk);
    QCOMPARE(Orv({QStringLiteral("check-login")}).ExitCode, 0);
    QByteArray fields = RequestFields(Server->LastRequest().Body, "CheckLogin");
    fields.replace("<osoba/>", "<osoba></osoba>").replace("<heslo/>", "<heslo></heslo>");
    QCOMPARE(fields, QByteArray("<subjekt>S</subjekt><osoba></osoba><heslo></heslo>"));
}

void TTestCli::podaniaTableWithDefaultRange() {
    Configure("\"Subjekt\"=\"S\"\r\n");
    Serve(LoginOk);
    Serve(Ok("ListPodanie", ResultElement("ListPodanie", Podanie("P-100", "2024-01-31T09:05:00") +
                                                             Podanie("P-2", "")) +
                                "<popisChyby/>"));
    const QDate today = QDate::currentDate();
    const TRun run = Orv({QStringLiteral("podania")});
    QCOMPARE(run.ExitCode, 0);
    const QList<TTestHttpRequest> requests = Server->Requests();
    QCOMPARE(requests.size(), 2); // the login check, then the listing
    const QByteArray fields = RequestFields(requests.at(1).Body, "ListPodanie");
    QVERIFY2(fields.startsWith("<dtFromUtc>" + today.addDays(-30).toString(Qt::ISODate).toUtf8() +
                               "T00:00:00.000"),
             fields.constData());
    QVERIFY(fields.contains("<dtToUtc>" + today.addDays(1).toString(Qt::ISODate).toUtf8() +
                            "T00:00:00.000"));

    const QList<QByteArray> lines = run.Out.split('\n');
    QCOMPARE(lines.size(), 4); // header, two rows, final empty part
    QVERIFY(lines.at(0).startsWith("ID podania  ID subjektu  ID biznis prípadu  Dátum podania"));
    // Columns line up under their captions.
    const qsizetype datumColumn = QString::fromUtf8(lines.at(0)).indexOf(u"Dátum podania");
    QCOMPARE(QString::fromUtf8(lines.at(1)).mid(datumColumn, 16),
             QStringLiteral("31.01.2024 09:05"));
    QVERIFY(QString::fromUtf8(lines.at(1)).startsWith(QStringLiteral("P-100")));
    QVERIFY(QString::fromUtf8(lines.at(2)).startsWith(QStringLiteral("P-2")));
}

void TTestCli::pisomnostiJsonWithGivenRange() {
    Configure("");
    Serve(LoginOk);
    Serve(Ok("ListSuborPisomnosti",
             ResultElement("ListSuborPisomnosti",
                           "<a:SuborPisomnosti><a:datumACasVytvoreniaField>2024-02-01T08:00:00"
                           "</a:datumACasVytvoreniaField><a:identifikatorPodania>P-1"
                           "</a:identifikatorPodania><a:identifikatorSuborPisomnostiField>SP-1"
                           "</a:identifikatorSuborPisomnostiField></a:SuborPisomnosti>")));
    const TRun run =
        Orv({QStringLiteral("pisomnosti"), QStringLiteral("--od"), QStringLiteral("2024-01-01"),
             QStringLiteral("--do"), QStringLiteral("2024-01-31"), QStringLiteral("--biznis"),
             QStringLiteral(" B "), QStringLiteral("--json")});
    QCOMPARE(run.ExitCode, 0);
    const QByteArray fields = RequestFields(Server->LastRequest().Body, "ListSuborPisomnosti");
    QVERIFY(fields.startsWith("<dtFromUtc>2024-01-01T00:00:00.000"));
    QVERIFY(fields.contains("<dtToUtc>2024-02-01T00:00:00.000"));
    QVERIFY(fields.contains("<identifikatorBiznisPripadu> B </identifikatorBiznisPripadu>"));

    const QJsonArray rows = QJsonDocument::fromJson(run.Out).array();
    QCOMPARE(rows.size(), 1);
    const QJsonObject row = rows.at(0).toObject();
    QCOMPARE(row.value(QStringLiteral("IdPisomnosti")).toString(), QStringLiteral("SP-1"));
    QCOMPARE(row.value(QStringLiteral("IdPodania")).toString(), QStringLiteral("P-1"));
    QVERIFY(
        row.value(QStringLiteral("Datum")).toString().startsWith(QStringLiteral("2024-02-01T")));
}

void TTestCli::listWithoutResponseElement() {
    Configure("");
    Serve(LoginOk);
    Serve(SoapEnvelope(""));
    const TRun run = Orv({QStringLiteral("podania"), QStringLiteral("--json")});
    QCOMPARE(run.ExitCode, 0);
    QCOMPARE(run.Out, QByteArray("null\n"));
}

void TTestCli::contentToStdoutAndFile() {
    Configure("");
    const QByteArray answer =
        Ok("GetSuborPisomnosti", "<GetSuborPisomnostiResult><a:dataField><d xmlns=\"urn:d\">\n"
                                 "<r>Žilina</r>\n</d></a:dataField>"
                                 "<a:identifikatorSuborPisomnostiField>SP-1"
                                 "</a:identifikatorSuborPisomnostiField>"
                                 "</GetSuborPisomnostiResult>");
    const QByteArray expected = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                                "<d xmlns=\"urn:d\">\r\n<r>\xC5\xBDilina</r>\r\n</d>\r\n";
    Serve(answer);
    TRun run = Orv({QStringLiteral("pisomnost"), QStringLiteral("SP-1")});
    QCOMPARE(run.ExitCode, 0);
    QCOMPARE(run.Out, expected);
    QVERIFY(RequestFields(Server->LastRequest().Body, "GetSuborPisomnosti")
                .contains("<nastavPrecitany>true</nastavPrecitany>"));

    Serve(answer);
    const QString path = Config->filePath(QStringLiteral("SP-1.XML"));
    run = Orv({QStringLiteral("pisomnost"), QStringLiteral("SP-1"), QStringLiteral("--out"), path});
    QCOMPARE(run.ExitCode, 0);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), "\xEF\xBB\xBF" + expected);

    Serve(answer);
    const QString missing = Config->filePath(QStringLiteral("no/such/folder/x.xml"));
    run = Orv(
        {QStringLiteral("pisomnost"), QStringLiteral("SP-1"), QStringLiteral("--out"), missing});
    QCOMPARE(run.ExitCode, 1);
    QVERIFY2(run.Err.startsWith(QStringLiteral("Cannot create file \"%1\". ").arg(missing)),
             qPrintable(run.Err));
}

void TTestCli::portalErrorsExitNonZero() {
    Configure("");
    Serve(Ok("CheckLogin", "<CheckLoginResult>1</CheckLoginResult><popisChyby>Zlé heslo"
                           "</popisChyby>"));
    TRun run = Orv({QStringLiteral("podania")});
    QCOMPARE(run.ExitCode, 1);
    QCOMPARE(run.Err, QStringLiteral("Chyba pri komunikácii s ORV:\r\nZlé heslo\n"));
    QCOMPARE(Server->RequestCount(), 1); // no listing after a failed check

    Serve(Ok("GetPodanie", "<popisChyby>Neznáme ID</popisChyby>"));
    run = Orv({QStringLiteral("podanie"), QStringLiteral("P-9")});
    QCOMPARE(run.ExitCode, 1);
    QCOMPARE(run.Err, QStringLiteral("Chyba pri komunikácii s ORV:\r\nNeznáme ID\n"));
    QVERIFY(run.Out.isEmpty());
}

void TTestCli::usageErrors_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("no command") << QStringList();
    QTest::newRow("unknown command") << QStringList{QStringLiteral("zmaz")};
    QTest::newRow("unknown option")
        << QStringList{QStringLiteral("podania"), QStringLiteral("--x")};
    QTest::newRow("bad date") << QStringList{QStringLiteral("podania"), QStringLiteral("--od"),
                                             QStringLiteral("1.2.2024")};
    QTest::newRow("missing ID") << QStringList{QStringLiteral("podanie")};
    QTest::newRow("option of another command")
        << QStringList{QStringLiteral("podanie"), QStringLiteral("P"), QStringLiteral("--json")};
    QTest::newRow("bad version") << QStringList{QStringLiteral("konfiguracia"),
                                                QStringLiteral("--verzia"), QStringLiteral("4.0")};
}

void TTestCli::usageErrors() {
    QFETCH(QStringList, arguments);
    const TRun run = Orv(arguments);
    QCOMPARE(run.ExitCode, 2);
    QVERIFY(!run.Err.isEmpty());
    QCOMPARE(Server->RequestCount(), 0);
}

void TTestCli::languageAsStored_data() {
    QTest::addColumn<QByteArray>("code");
    QTest::addColumn<QString>("usage");
    QTest::addColumn<QString>("refused");
    QTest::newRow("ENG") << QByteArray("ENG")
                         << QStringLiteral("Unknown command \"zmaz\".\nHelp: orv --help\n")
                         << QStringLiteral("Error communicating with ORV:\r\nZlé heslo\n");
    QTest::newRow("sk-SK") << QByteArray("sk-SK")
                           << QStringLiteral("Neznámy príkaz \"zmaz\".\nPomoc: orv --help\n")
                           << QStringLiteral("Chyba pri komunikácii s ORV:\r\nZlé heslo\n");
}

// As the window: the language stored for this program, its own texts and
// the core's alike.
void TTestCli::languageAsStored() {
    QFETCH(QByteArray, code);
    QFETCH(QString, usage);
    QFETCH(QString, refused);
    const QByteArray program =
        QDir::toNativeSeparators(QFileInfo(QStringLiteral(ORV_CLI_PATH)).canonicalFilePath())
            .toUtf8();
    Configure("\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Kelmar Tirsa, a.s.\\Locales]\r\n\"" + program +
              "\"=\"" + code + "\"\r\n");
    TRun run = Orv({QStringLiteral("zmaz")});
    QCOMPARE(run.ExitCode, 2);
    QCOMPARE(run.Err, usage);

    Serve(Ok("CheckLogin", "<CheckLoginResult>1</CheckLoginResult><popisChyby>Zlé heslo"
                           "</popisChyby>"));
    run = Orv({QStringLiteral("check-login")});
    QCOMPARE(run.ExitCode, 1);
    QCOMPARE(run.Err, refused);
}

QTEST_GUILESS_MAIN(TTestCli)
#include "tst_cli.moc"
