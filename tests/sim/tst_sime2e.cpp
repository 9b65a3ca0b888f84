// The client's core against the simulator over real HTTP: every operation the
// windows start, and each scripted fault reaching the user as its message.

#include "UBase64.h"
#include "UDMORV.h"
#include "UErrorOf.h"
#include "UOrvError.h"
#include "URegistry.h"
#include "URegistryFile.h"
#include "USimDocuments.h"
#include "USimSeed.h"
#include "USimTestKit.h"

#include <QDateTime>
#include <QFile>
#include <QTest>

#include <functional>
#include <optional>

using namespace SimTest;

namespace {

const QString OrvPrefix = QStringLiteral("Chyba pri komunikácii s ORV:\r\n");

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// Both hives of the settings store in a temporary folder, for the test's lifetime.
class TScratchRegistry {
public:
    TScratchRegistry()
        : Files(QFile::encodeName(Dir.filePath(QStringLiteral("user.reg"))).toStdString(),
                QFile::encodeName(Dir.filePath(QStringLiteral("machine.reg"))).toStdString())
        , Override(Files) {}

private:
    QTemporaryDir Dir;
    TFileRegistry Files;
    TRegistryOverride Override;
};

// Local midnight of a date as the UTC instant the client means by it: the
// client writes local times with the offset in force now.
Sim::TUtcMs LocalMidnightUtc(const QDate& date) {
    const Sim::TUtcMs utcMidnight =
        At(date.toString(Qt::ISODate).toStdString().append("T00:00:00Z").c_str());
    return utcMidnight - Sim::TUtcMs{QDateTime::currentDateTime().offsetFromUtc()} * 1000;
}

TDateTime LocalDate(const QDate& date) {
    return EncodeDateTime({date.year(), date.month(), date.day()});
}

Sim::TSimPodanie Podanie(const std::string& id, const std::string& biznis, Sim::TUtcMs received) {
    Sim::TSimPodanie p;
    p.Id = id;
    p.Subjekt = "S-E2E";
    p.Osoba = "eva";
    p.Biznis = biznis;
    p.ReceivedUtc = received;
    p.Typ = "KT_PODAJ_v02";
    p.Sluzba = Sim::SluzbaHromadnyPodaj;
    p.StavOverenia = "Overené";
    p.StavPodania = "Spracované";
    p.Document = "<EPH xmlns=\"urn:test:eph\"><Meno>Žofia Ďurišová</Meno></EPH>";
    return p;
}

Sim::TSimPisomnost Receipt(const Sim::TSimPodanie& p) {
    return Sim::Potvrdenie(p, "D-" + p.Id, p.ReceivedUtc + 1000);
}

QStringList IdsOf(const QList<TPodanie>& rows) {
    QStringList ids;
    for (const auto& row : rows)
        ids << row.IdPodania;
    return ids;
}

QStringList IdsOf(const QList<TPisomnost>& rows) {
    QStringList ids;
    for (const auto& row : rows)
        ids << row.IdPodania;
    return ids;
}

} // namespace

class TestSimEndToEnd : public QObject {
    Q_OBJECT

private:
    std::optional<TScratchRegistry> Registry_;
    std::optional<TSimFixture> Sim_;
    std::unique_ptr<TDMORV> Core_;
    QDate Day = QDate::currentDate().addDays(-20);

    TSimFixture& F() { return *Sim_; }
    TDMORV& Core() { return *Core_; }
    QString Url() { return Q(F().Server().Url()); }

    // A core bound to the simulator with the test account's credentials.
    std::unique_ptr<TDMORV> NewCore() {
        auto core = std::make_unique<TDMORV>(nullptr, Url());
        core->Subjekt = QStringLiteral("S-E2E");
        core->Osoba = QStringLiteral("eva");
        core->Heslo = TDMORV::HashHeslo(QStringLiteral("Eva-heslo-š"));
        return core;
    }

    void Script(const std::string& operation, const Sim::TSimScriptedAnswer& answer) {
        F().Server().Faults().Push(operation, answer);
    }

private Q_SLOTS:
    void initTestCase() {
        Registry_.emplace();
        Sim_.emplace();
        F().Db().AddAccount({"S-E2E", "eva", Sim::HesloDigest("Eva-heslo-š")});
        const Sim::TUtcMs midnight = LocalMidnightUtc(Day);
        const Sim::TUtcMs hour = 3600000;
        for (const auto& p :
             {Podanie("before", "BP-A", midnight - hour), Podanie("early", "BP-A", midnight + hour),
              Podanie("late", "BP-B", midnight + 23 * hour),
              Podanie("after", "BP-A", midnight + 25 * hour)})
            F().Db().InsertPodanie(p, Receipt(p));
        Sim::SeedDemo(F().Db(), Sim::NowUtcMs());
        Core_ = NewCore();
    }

    void cleanupTestCase() {
        Core_.reset();
        Sim_.reset();
        Registry_.reset();
    }

    void init() { F().Server().Faults().Clear(); }

    void loginIsRefusedAndAccepted() {
        QVERIFY(Core().CheckLogin(QStringLiteral("S-E2E"), QStringLiteral("eva"),
                                  TDMORV::HashHeslo(QStringLiteral("Eva-heslo-š"))));
        Core().EnsureLogin();
        const QString refused = ErrorOf([&] {
            Core().CheckLogin(QStringLiteral("S-E2E"), QStringLiteral("eva"),
                              TDMORV::HashHeslo(QStringLiteral("Eva-heslo-s")));
        });
        QCOMPARE(refused, OrvPrefix + QStringLiteral("Nesprávne prihlasovacie údaje: subjekt, "
                                                     "osoba alebo heslo nie sú platné."));
    }

    void listingsHonourTheDayBoundsAndBusinessCase() {
        const TDateTime day = LocalDate(Day);
        auto podania = Core().ListPodanie(QString(), day, day);
        QVERIFY(podania);
        QCOMPARE(IdsOf(*podania), Utf8List({"late", "early"}));
        podania = Core().ListPodanie(QStringLiteral("BP-A"), day, day);
        QCOMPARE(IdsOf(*podania), Utf8List({"early"}));
        podania = Core().ListPodanie(QStringLiteral("BP-A"), 0, 0);
        QCOMPARE(IdsOf(*podania), Utf8List({"after", "early", "before"}));
        const TPodanie& row = podania->at(1);
        QCOMPARE(row.IdSubjektu, QStringLiteral("S-E2E"));
        QCOMPARE(row.KodTypuPodania, QStringLiteral("KT_PODAJ_v02"));
        QCOMPARE(row.StavOverenia, QStringLiteral("Overené"));
        QCOMPARE(row.Datum, LocalDate(Day) + 1.0 / 24);
        QVERIFY(row.Obsah.isEmpty());

        auto pisomnosti = Core().ListSuborPisomnosti(QStringLiteral("BP-B"), day, day);
        QVERIFY(pisomnosti);
        QCOMPARE(IdsOf(*pisomnosti), Utf8List({"late"}));
        QCOMPARE(pisomnosti->at(0).IdPisomnosti, QStringLiteral("D-late"));
        QCOMPARE(pisomnosti->at(0).KodTypuPisomnosti, QString::fromLatin1(Sim::TypPotvrdenie));
        pisomnosti = Core().ListSuborPisomnosti(QString(), day + 1, day + 1);
        QCOMPARE(IdsOf(*pisomnosti), Utf8List({"after"}));
    }

    void seededDataIsCappedAtAThousandNewestFirst() {
        const auto demo = std::make_unique<TDMORV>(nullptr, Url());
        demo->Subjekt = QString::fromLatin1(Sim::DemoSubjekt);
        demo->Osoba = QString::fromLatin1(Sim::DemoOsoba);
        demo->Heslo = TDMORV::HashHeslo(QString::fromLatin1(Sim::DemoHeslo));
        demo->EnsureLogin();
        const auto podania = demo->ListPodanie(QString(), 0, 0);
        QCOMPARE(podania->size(), 1000);
        for (qsizetype k = 1; k < podania->size(); ++k)
            QVERIFY(podania->at(k - 1).Datum >= podania->at(k).Datum);
        const auto pisomnosti = demo->ListSuborPisomnosti(QString(), 0, 0);
        QCOMPARE(pisomnosti->size(), 1000);
    }

    void fetchesCarryTheContentAndMarkTheDocumentRead() {
        TPodanie podanie;
        Core().GetPodanie(QStringLiteral("early"), podanie);
        QCOMPARE(podanie.IdBiznisPripadu, QStringLiteral("BP-A"));
        QVERIFY2(podanie.Obsah.startsWith(QStringLiteral("<EPH")), qPrintable(podanie.Obsah));
        QVERIFY(podanie.Obsah.contains(QStringLiteral("Žofia Ďurišová")));
        QVERIFY(!podanie.Obsah.contains(QStringLiteral("<?xml")));

        const std::string unread = Field("maxRows", "1000") + Field("precitany", "false") +
                                   TSimFixture::Login("S-E2E", "eva", "Eva-heslo-š");
        const auto unreadCount = [&] {
            return F()
                .Call("ListSuborPisomnosti", unread)
                .Count("//a:SuborPisomnosti[a:identifikatorSuborPisomnostiField='D-early']");
        };
        QCOMPARE(unreadCount(), 1);
        TPisomnost pisomnost;
        Core().GetSuborPisomnosti(QStringLiteral("D-early"), pisomnost);
        QCOMPARE(pisomnost.IdPodania, QStringLiteral("early"));
        QVERIFY2(pisomnost.Obsah.startsWith(QStringLiteral("<Potvrdenie")),
                 qPrintable(pisomnost.Obsah));
        QCOMPARE(unreadCount(), 0);

        QCOMPARE(ErrorOf([&] { Core().GetPodanie(QStringLiteral("nope"), podanie); }),
                 OrvPrefix + QStringLiteral("Podanie s identifikátorom „nope“ neexistuje."));
    }

    void submissionIsStoredAndListed() {
        const QString eph = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                                           "<EPH xmlns=\"urn:test:eph\"><EPHID>Hárok-7</EPHID>"
                                           "</EPH>\r\n");
        PortalService::PodajPodanie request;
        request.podanieB64 = Base64EncodeUtf8(eph);
        request.sluzba = QStringLiteral("KT_HromadnyPodaj");
        request.typPodania = QStringLiteral("KT_PODAJ_v03");
        request.subjekt = Core().Subjekt;
        request.osoba = Core().Osoba;
        request.heslo = Core().Heslo;
        const auto response = Core().Portal->PodajPodanie(request);
        QVERIFY(response);
        QCOMPARE(response->PodajPodanieResult, 0);

        const auto podania = Core().ListPodanie(QString(), 0, 0);
        const TPodanie& newest = podania->at(0);
        QCOMPARE(newest.KodTypuPodania, QStringLiteral("KT_PODAJ_v03"));
        TPodanie fetched;
        Core().GetPodanie(newest.IdPodania, fetched);
        QVERIFY(fetched.Obsah.contains(QStringLiteral("Hárok-7")));
        const auto pisomnosti = Core().ListSuborPisomnosti(newest.IdBiznisPripadu, 0, 0);
        QCOMPARE(pisomnosti->size(), 1);
        QCOMPARE(pisomnosti->at(0).IdPodania, newest.IdPodania);

        request.typPodania = QStringLiteral("KT_PODAJ_v09");
        const auto refused = Core().Portal->PodajPodanie(request);
        QCOMPARE(refused->PodajPodanieResult, 3);
        QVERIFY(refused->popisChyby.contains(QStringLiteral("KT_PODAJ_v09")));
    }

    void portalRefusalsKeepTheirTwoPrefixes() {
        const auto wrong = NewCore();
        wrong->Heslo = TDMORV::HashHeslo(QStringLiteral("zlé"));
        const QString popis = QStringLiteral("Nesprávne prihlasovacie údaje: subjekt, osoba alebo "
                                             "heslo nie sú platné.");
        QCOMPARE(ErrorOf([&] { wrong->ListPodanie(QString(), 0, 0); }),
                 QStringLiteral("Chyba pri komunikácii s OVR: ") + popis);
        QCOMPARE(ErrorOf([&] { wrong->ListSuborPisomnosti(QString(), 0, 0); }), OrvPrefix + popis);
    }

    void scriptedFaultsReachTheUserAsMessages_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("404") << "404";
        QTest::newRow("own reason") << "reason";
        QTest::newRow("SOAP fault") << "fault";
        QTest::newRow("SOAP fault with 200") << "fault200";
        QTest::newRow("HTML content") << "html";
        QTest::newRow("plain text content") << "plain";
        QTest::newRow("mustUnderstand") << "mustUnderstand";
        QTest::newRow("dropped connection") << "drop";
        QTest::newRow("not XML") << "notXml";
        QTest::newRow("other envelope") << "otherEnvelope";
    }
    void scriptedFaultsReachTheUserAsMessages() {
        QFETCH(QString, kind);
        Sim::TSimScriptedAnswer a;
        QString expected;
        const QString url = Url();
        if (kind == QLatin1String("404")) {
            a.Status = 404;
            expected = QStringLiteral("Not Found (404) - '") + url + QStringLiteral("'");
        } else if (kind == QLatin1String("reason")) {
            a.Status = 503;
            a.Reason = "Portál je v údržbe";
            expected = QStringLiteral("Portál je v údržbe (503) - '") + url + QStringLiteral("'");
        } else if (kind == QLatin1String("fault") || kind == QLatin1String("fault200")) {
            a.FaultString = "Služba je dočasne nedostupná.";
            if (kind == QLatin1String("fault200"))
                a.Status = 200;
            expected = QStringLiteral("Služba je dočasne nedostupná.");
        } else if (kind == QLatin1String("html") || kind == QLatin1String("plain")) {
            a.ContentType = kind == QLatin1String("html") ? "text/html" : "TEXT/PLAIN";
            expected = QStringLiteral("Received content of invalid Content-Type setting: ") +
                       Q(*a.ContentType) + QStringLiteral(" - SOAP expects \"text/xml\"");
        } else if (kind == QLatin1String("mustUnderstand")) {
            a.MustUnderstand = "Action";
            expected = QStringLiteral(
                "Soap header Action with attribute 'mustUnderstand' set to true was not handled");
        } else if (kind == QLatin1String("drop")) {
            a.Drop = true;
            // The transport retries once on a fresh connection when a kept-alive one
            // dies before any answer; drop that retry too.
            a.Count = 2;
            expected = QStringLiteral(" - URL:") + url + QStringLiteral(" - SOAPAction:");
        } else if (kind == QLatin1String("notXml")) {
            a.Body = "Toto nie je XML";
        } else if (kind == QLatin1String("otherEnvelope")) {
            a.Body = "<e:Envelope "
                     "xmlns:e=\"http://www.w3.org/2003/05/soap-envelope\"><e:Body/></e:Envelope>";
            expected =
                QStringLiteral("DocumentElement http://schemas.xmlsoap.org/soap/envelope/:Envelope "
                               "expected, http://www.w3.org/2003/05/soap-envelope:Envelope found");
        }
        Script("CheckLogin", a);
        const QString message = ErrorOf([&] { Core().EnsureLogin(); });
        QVERIFY2(message != NoError, "the fault passed unnoticed");
        if (kind == QLatin1String("drop")) {
            QVERIFY2(message.contains(expected), qPrintable(message));
            QVERIFY2(message.endsWith(Q(Sim::ActionOf("CheckLogin"))), qPrintable(message));
        } else if (!expected.isEmpty()) {
            QCOMPARE(message, expected);
        }
        // The next call starts afresh and succeeds.
        Core().EnsureLogin();
    }
};

QTEST_GUILESS_MAIN(TestSimEndToEnd)
#include "tst_sime2e.moc"
