#include "UBusyCursor.h"
#include "UDMORV.h"
#include "UErrorOf.h"
#include "UFakeClock.h"
#include "UOrvError.h"
#include "UPortalAnswers.h"
#include "UTempRegistry.h"
#include "UTestHttpServer.h"

#include <QTest>

#include <functional>

namespace {

const QString CommError = QStringLiteral("Chyba pri komunikácii s ORV:\r\n");

// Counts Begin and End, so every way out of a call can be checked.
class TRecordingBusy : public IBusyIndicator {
public:
    void Begin() override { ++Begins; }
    void End() override { ++Ends; }
    int Begins = 0;
    int Ends = 0;
};

QByteArray PodanieItem(const QByteArray& id, const QByteArray& datum,
                       const QByteArray& data = QByteArray()) {
    return "<a:Podanie>" +
           (data.isEmpty() ? QByteArray() : "<a:dataField>" + data + "</a:dataField>") +
           (datum.isEmpty()
                ? QByteArray()
                : "<a:datumACasPrijatiaField>" + datum + "</a:datumACasPrijatiaField>") +
           "<a:descriptionField>D</a:descriptionField>"
           "<a:identifikatorBiznisPripaduField>BP-" +
           id +
           "</a:identifikatorBiznisPripaduField>"
           "<a:identifikatorPodaniaField>" +
           id +
           "</a:identifikatorPodaniaField>"
           "<a:identifikatorSubjektuField>SUBJ</a:identifikatorSubjektuField>"
           "<a:kodSluzbyField>EPH</a:kodSluzbyField>"
           "<a:kodTypuPodaniaField>KT_PODAJ_v03</a:kodTypuPodaniaField>"
           "<a:stavOvereniaField>Overené</a:stavOvereniaField>"
           "<a:stavPodaniaField> Prijaté </a:stavPodaniaField></a:Podanie>";
}

QByteArray SuborItem(const QByteArray& id, const QByteArray& datum,
                     const QByteArray& data = QByteArray()) {
    return "<a:SuborPisomnosti>" +
           (data.isEmpty() ? QByteArray() : "<a:dataField>" + data + "</a:dataField>") +
           (datum.isEmpty()
                ? QByteArray()
                : "<a:datumACasVytvoreniaField>" + datum + "</a:datumACasVytvoreniaField>") +
           "<a:identifikatorBiznisPripaduField>BP</a:identifikatorBiznisPripaduField>"
           "<a:identifikatorPodania>P-7</a:identifikatorPodania>"
           "<a:identifikatorSubjektuField>SUBJ</a:identifikatorSubjektuField>"
           "<a:identifikatorSuborPisomnostiField>" +
           id +
           "</a:identifikatorSuborPisomnostiField>"
           "<a:kodTypuSluzbyField>EPH</a:kodTypuSluzbyField>"
           "<a:kodTypuSuboruPisomnostiField>POTVRDENIE</a:kodTypuSuboruPisomnostiField>"
           "<a:precitanyField>false</a:precitanyField></a:SuborPisomnosti>";
}

TTestHttpAnswer Answer(const QByteArray& body) {
    TTestHttpAnswer answer;
    answer.Body = body;
    return answer;
}

TDateTime Date(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return EncodeDateTime({year, month, day, hour, minute, second, 0});
}

} // namespace

class TTestDMORVPortal : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Server = std::make_unique<TTestHttpServer>(); }
    void cleanupTestCase() { Server.reset(); }
    void init();
    void cleanup();

    void checkLoginSendsTheThreeFields_data();
    void checkLoginSendsTheThreeFields();
    void checkLoginAnswers_data();
    void checkLoginAnswers();
    void ensureLoginUsesStoredCredentials();

    void listRequests_data();
    void listRequests();
    void listPodanieRows();
    void listSuborPisomnostiRows();
    void listAnswers_data();
    void listAnswers();

    void fetchRequests();
    void fetchContent_data();
    void fetchContent();
    void fetchFailures_data();
    void fetchFailures();

private:
    TDMORV& Core() { return *CoreObject; }
    void Serve(const QByteArray& body) { Server->Enqueue(Answer(body)); }

    std::unique_ptr<TTempRegistry> Settings;
    std::unique_ptr<TTestHttpServer> Server;
    std::unique_ptr<TDMORV> CoreObject;
    TRecordingBusy Busy;
};

void TTestDMORVPortal::init() {
    Settings = std::make_unique<TTempRegistry>();
    Settings->SetUserText(
        OrvSection("\"Subjekt\"=\"SUBJ\"\r\n\"Osoba\"=\"jan\"\r\n\"Heslo\"=\"H+/=\"\r\n"));
    Server->ClearRequests();
    CoreObject = std::make_unique<TDMORV>(nullptr, Server->Url());
    Busy = TRecordingBusy();
    SetBusyIndicator(&Busy);
}

// Every call shows the wait cursor and restores it, whatever the outcome.
void TTestDMORVPortal::cleanup() {
    SetBusyIndicator(nullptr);
    QCOMPARE(Busy.Ends, Busy.Begins);
    QCOMPARE(Busy.Begins, Server->RequestCount());
    CoreObject.reset();
    Settings.reset();
}

void TTestDMORVPortal::checkLoginSendsTheThreeFields_data() {
    QTest::addColumn<QString>("subjekt");
    QTest::addColumn<QString>("osoba");
    QTest::addColumn<QString>("heslo");
    QTest::addColumn<QByteArray>("fields");
    QTest::newRow("typed") << "S 1"
                           << "jan.novák"
                           << "abc="
                           << QByteArray("<subjekt>S 1</subjekt><osoba>jan.nov\xC3\xA1k</osoba>"
                                         "<heslo>abc=</heslo>");
    QTest::newRow("all empty") << ""
                               << ""
                               << ""
                               << QByteArray("<subjekt></subjekt><osoba></osoba><heslo></heslo>");
}

void TTestDMORVPortal::checkLoginSendsTheThreeFields() {
    QFETCH(QString, subjekt);
    QFETCH(QString, osoba);
    QFETCH(QString, heslo);
    QFETCH(QByteArray, fields);
    Serve(PortalAnswer("CheckLogin", "<CheckLoginResult>0</CheckLoginResult>" + Popis("")));
    QVERIFY(Core().CheckLogin(subjekt, osoba, heslo));
    QByteArray sent = RequestFields(Server->LastRequest().Body, "CheckLogin");
    // An empty field may be written in its short form.
    sent.replace("<subjekt/>", "<subjekt></subjekt>")
        .replace("<osoba/>", "<osoba></osoba>")
        .replace("<heslo/>", "<heslo></heslo>");
    QCOMPARE(sent, fields);
    QCOMPARE(Core().Subjekt, QStringLiteral("SUBJ")); // nothing stored
}

void TTestDMORVPortal::checkLoginAnswers_data() {
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("error"); // empty: success
    QTest::newRow("accepted") << PortalAnswer("CheckLogin",
                                              "<CheckLoginResult>0</CheckLoginResult>")
                              << QString();
    QTest::newRow("0 with a description is success")
        << PortalAnswer("CheckLogin", "<CheckLoginResult>0</CheckLoginResult>" + Popis("Pozor"))
        << QString();
    QTest::newRow("refused") << PortalAnswer("CheckLogin",
                                             "<CheckLoginResult>1</CheckLoginResult>" +
                                                 Popis("Nesprávne heslo"))
                             << CommError + QStringLiteral("Nesprávne heslo");
    QTest::newRow("refused without description")
        << PortalAnswer("CheckLogin", "<CheckLoginResult>-5</CheckLoginResult>") << CommError;
    QTest::newRow("no response element")
        << SoapEnvelope("") << CommError + QStringLiteral("CheckLogin()");
}

void TTestDMORVPortal::checkLoginAnswers() {
    QFETCH(QByteArray, body);
    QFETCH(QString, error);
    Serve(body);
    if (error.isEmpty())
        QVERIFY(Core().CheckLogin(QStringLiteral("S"), QStringLiteral("O"), QStringLiteral("H")));
    else
        QCOMPARE(ErrorOf([&] {
                     Core().CheckLogin(QStringLiteral("S"), QStringLiteral("O"),
                                       QStringLiteral("H"));
                 }),
                 error);
}

void TTestDMORVPortal::ensureLoginUsesStoredCredentials() {
    Serve(PortalAnswer("CheckLogin", "<CheckLoginResult>0</CheckLoginResult>"));
    Core().EnsureLogin();
    QCOMPARE(RequestFields(Server->LastRequest().Body, "CheckLogin"),
             QByteArray("<subjekt>SUBJ</subjekt><osoba>jan</osoba><heslo>H+/=</heslo>"));

    TTestHttpAnswer fault =
        Answer(SoapEnvelope("<s:Fault><faultcode>s:Server</faultcode><faultstring>Služba "
                            "nebeží</faultstring></s:Fault>"));
    fault.Status = 500;
    fault.Reason = "Internal Server Error";
    Server->Enqueue(fault);
    QCOMPARE(ErrorOf([&] { Core().EnsureLogin(); }), QStringLiteral("Služba nebeží"));
}

void TTestDMORVPortal::listRequests_data() {
    QTest::addColumn<int>("offset");
    QTest::addColumn<TDateTime>("od");
    QTest::addColumn<TDateTime>("do_");
    QTest::addColumn<QString>("biznis");
    QTest::addColumn<QByteArray>("filter");

    QTest::newRow("summer time, whole end day")
        << 120 << Date(2011, 5, 1) << Date(2011, 5, 31) << QString()
        << QByteArray("<dtFromUtc>2011-05-01T00:00:00.000+02:00</dtFromUtc>"
                      "<dtToUtc>2011-06-01T00:00:00.000+02:00</dtToUtc>");
    QTest::newRow("one offset for both bounds")
        << 60 << Date(2024, 3, 1) << Date(2024, 4, 15) << QStringLiteral("BP-1")
        << QByteArray("<dtFromUtc>2024-03-01T00:00:00.000+01:00</dtFromUtc>"
                      "<dtToUtc>2024-04-16T00:00:00.000+01:00</dtToUtc>"
                      "<identifikatorBiznisPripadu>BP-1</identifikatorBiznisPripadu>");
    QTest::newRow("unset bounds, blanks sent as typed")
        << 60 << TDateTime(0) << TDateTime(0) << QStringLiteral("  ")
        << QByteArray("<identifikatorBiznisPripadu>  </identifikatorBiznisPripadu>");
    QTest::newRow("0.1 day is still unset")
        << 60 << TDateTime(0.1) << TDateTime(0.1) << QString() << QByteArray();
    QTest::newRow("just past 0.1 day")
        << 0 << TDateTime(0.1 + OneSecond) << TDateTime(0.1 + OneSecond) << QString()
        << QByteArray("<dtFromUtc>1899-12-30T02:24:01.000Z</dtFromUtc>"
                      "<dtToUtc>1899-12-31T02:24:01.000Z</dtToUtc>");
    QTest::newRow("start after end sent unchanged")
        << 60 << Date(2024, 2, 10) << Date(2024, 2, 1) << QString()
        << QByteArray("<dtFromUtc>2024-02-10T00:00:00.000+01:00</dtFromUtc>"
                      "<dtToUtc>2024-02-02T00:00:00.000+01:00</dtToUtc>");
}

void TTestDMORVPortal::listRequests() {
    QFETCH(int, offset);
    QFETCH(TDateTime, od);
    QFETCH(TDateTime, do_);
    QFETCH(QString, biznis);
    QFETCH(QByteArray, filter);
    const TFakeClock clock(Date(2024, 6, 1, 12), offset);

    Serve(PortalAnswer("ListPodanie", ResultElement("ListPodanie", "") + Popis("")));
    QVERIFY(Core().ListPodanie(biznis, od, do_));
    QCOMPARE(RequestFields(Server->LastRequest().Body, "ListPodanie"),
             filter + "<maxRows>1000</maxRows><sortType>Desc</sortType>"
                      "<sortColumn>DatumACasPrijatia</sortColumn>"
                      "<subjekt>SUBJ</subjekt><osoba>jan</osoba><heslo>H+/=</heslo>");

    Serve(PortalAnswer("ListSuborPisomnosti", ResultElement("ListSuborPisomnosti", "")));
    QVERIFY(Core().ListSuborPisomnosti(biznis, od, do_));
    QCOMPARE(RequestFields(Server->LastRequest().Body, "ListSuborPisomnosti"),
             filter + "<maxRows>1000</maxRows><sortType>Desc</sortType>"
                      "<sortColumn>DatumACasPrijatia</sortColumn>"
                      "<subjekt>SUBJ</subjekt><osoba>jan</osoba><heslo>H+/=</heslo>");
}

void TTestDMORVPortal::listPodanieRows() {
    const TFakeClock clock(Date(2024, 6, 1, 12), 120);
    Serve(
        PortalAnswer("ListPodanie",
                     ResultElement("ListPodanie", PodanieItem("P-2", "2024-05-31T10:00:00+02:00") +
                                                      PodanieItem("P-9", "2024-05-31T08:00:00Z") +
                                                      PodanieItem("P-1", "2024-05-30T10:00:00") +
                                                      PodanieItem("P-0", "")) +
                         Popis("")));
    const auto rows = Core().ListPodanie(QString(), 0, 0);
    QVERIFY(rows);
    QCOMPARE(rows->size(), 4);
    // In the portal's order, never sorted.
    QCOMPARE(rows->at(0).IdPodania, QStringLiteral("P-2"));
    QCOMPARE(rows->at(1).IdPodania, QStringLiteral("P-9"));
    QCOMPARE(rows->at(2).IdPodania, QStringLiteral("P-1"));
    QCOMPARE(rows->at(0).Datum, Date(2024, 5, 31, 10));
    QCOMPARE(rows->at(1).Datum, Date(2024, 5, 31, 10));
    QCOMPARE(rows->at(2).Datum, Date(2024, 5, 30, 12));
    QCOMPARE(rows->at(3).Datum, TDateTime(0)); // no date sent: unset

    const TPodanie& row = rows->at(0);
    QCOMPARE(row.IdSubjektu, QStringLiteral("SUBJ"));
    QCOMPARE(row.IdBiznisPripadu, QStringLiteral("BP-P-2"));
    QCOMPARE(row.KodTypuPodania, QStringLiteral("KT_PODAJ_v03"));
    QCOMPARE(row.KodSluzby, QStringLiteral("EPH"));
    QCOMPARE(row.StavOverenia, QStringLiteral("Overené"));
    QCOMPARE(row.StavPodania, QStringLiteral(" Prijaté "));
    QCOMPARE(row.Obsah, QString());
}

void TTestDMORVPortal::listSuborPisomnostiRows() {
    const TFakeClock clock(Date(2024, 1, 15, 12), 60);
    Serve(PortalAnswer(
        "ListSuborPisomnosti",
        ResultElement("ListSuborPisomnosti", SuborItem("SP-1", "2024-01-10T09:30:00Z", "<x/>") +
                                                 SuborItem("SP-2", "2024-01-09T09:30:00+01:00"))));
    const auto rows = Core().ListSuborPisomnosti(QString(), 0, 0);
    QVERIFY(rows);
    QCOMPARE(rows->size(), 2);
    const TPisomnost& row = rows->at(0);
    QCOMPARE(row.IdPisomnosti, QStringLiteral("SP-1"));
    QCOMPARE(row.IdSubjektu, QStringLiteral("SUBJ"));
    QCOMPARE(row.IdBiznisPripadu, QStringLiteral("BP"));
    QCOMPARE(row.IdPodania, QStringLiteral("P-7"));
    QCOMPARE(row.Datum, Date(2024, 1, 10, 10, 30));
    QCOMPARE(row.KodTypuPisomnosti, QStringLiteral("POTVRDENIE"));
    QCOMPARE(row.KodTypuSluzby, QStringLiteral("EPH"));
    QCOMPARE(row.Obsah, QString()); // listings never carry content
    QCOMPARE(rows->at(1).Datum, Date(2024, 1, 9, 9, 30));
}

void TTestDMORVPortal::listAnswers_data() {
    QTest::addColumn<QByteArray>("inner");
    QTest::addColumn<int>("rows");             // -1: no list
    QTest::addColumn<QString>("podanieError"); // for ListPodanie; empty: none
    QTest::addColumn<QString>("suborError");   // for ListSuborPisomnosti
    QTest::newRow("empty result") << QByteArray("<Result/>" + Popis("")) << 0 << QString()
                                  << QString();
    QTest::newRow("no result element") << QByteArray() << 0 << QString() << QString();
    QTest::newRow("no response element") << QByteArray("-") << -1 << QString() << QString();
    QTest::newRow("description drops the rows")
        << QByteArray("<Result>ITEM</Result>" + Popis("Neplatné obdobie")) << 0
        << QStringLiteral("Chyba pri komunikácii s OVR: Neplatné obdobie")
        << CommError + QStringLiteral("Neplatné obdobie");
    QTest::newRow("description without rows")
        << Popis("Zlé heslo") << 0 << QStringLiteral("Chyba pri komunikácii s OVR: Zlé heslo")
        << CommError + QStringLiteral("Zlé heslo");
}

void TTestDMORVPortal::listAnswers() {
    QFETCH(QByteArray, inner);
    QFETCH(int, rows);
    QFETCH(QString, podanieError);
    QFETCH(QString, suborError);
    const auto body = [&](const QByteArray& operation, const QByteArray& item) {
        if (inner == "-")
            return SoapEnvelope("");
        QByteArray text = inner;
        text.replace("<Result/>", "<" + operation + "Result/>")
            .replace("<Result>", "<" + operation + "Result>")
            .replace("</Result>", "</" + operation + "Result>")
            .replace("ITEM", item);
        return PortalAnswer(operation, text);
    };

    Serve(body("ListPodanie", PodanieItem("P-1", "2024-01-01T00:00:00Z")));
    if (!podanieError.isEmpty()) {
        QCOMPARE(ErrorOf([&] { Core().ListPodanie(QString(), 0, 0); }), podanieError);
    } else {
        const auto list = Core().ListPodanie(QString(), 0, 0);
        QCOMPARE(list.has_value(), rows >= 0);
        if (list)
            QCOMPARE(list->size(), rows);
    }

    Serve(body("ListSuborPisomnosti", SuborItem("SP-1", "2024-01-01T00:00:00Z")));
    if (!suborError.isEmpty()) {
        QCOMPARE(ErrorOf([&] { Core().ListSuborPisomnosti(QString(), 0, 0); }), suborError);
    } else {
        const auto list = Core().ListSuborPisomnosti(QString(), 0, 0);
        QCOMPARE(list.has_value(), rows >= 0);
        if (list)
            QCOMPARE(list->size(), rows);
    }
}

void TTestDMORVPortal::fetchRequests() {
    const QByteArray podanie =
        PortalAnswer("GetPodanie", "<GetPodanieResult>" +
                                       PodanieItem("P-1", "2024-01-01T00:00:00Z", "<a/>")
                                           .replace("<a:Podanie>", "")
                                           .replace("</a:Podanie>", "") +
                                       "</GetPodanieResult>");
    Serve(podanie);
    TPodanie row;
    Core().GetPodanie(QStringLiteral(" P-1 "), row);
    QCOMPARE(RequestFields(Server->LastRequest().Body, "GetPodanie"),
             QByteArray("<IdentifikatorPodania> P-1 </IdentifikatorPodania>"
                        "<osoba>jan</osoba><heslo>H+/=</heslo>"));

    const QByteArray subor =
        PortalAnswer("GetSuborPisomnosti", "<GetSuborPisomnostiResult>" +
                                               SuborItem("SP-1", "2024-01-01T00:00:00Z", "<a/>")
                                                   .replace("<a:SuborPisomnosti>", "")
                                                   .replace("</a:SuborPisomnosti>", "") +
                                               "</GetSuborPisomnostiResult>");
    // Every fetch asks again for the read mark.
    for (int i = 0; i < 2; ++i) {
        Serve(subor);
        TPisomnost pisomnost;
        Core().GetSuborPisomnosti(QStringLiteral("SP-1"), pisomnost);
        QCOMPARE(RequestFields(Server->LastRequest().Body, "GetSuborPisomnosti"),
                 QByteArray("<IdentifikatorSuborPisomnosti>SP-1</IdentifikatorSuborPisomnosti>"
                            "<osoba>jan</osoba><heslo>H+/=</heslo>"
                            "<nastavPrecitany>true</nastavPrecitany>"));
    }
}

void TTestDMORVPortal::fetchContent_data() {
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("obsah");
    QTest::newRow("namespaces, attributes, text")
        << QByteArray("<eph:EPH xmlns:eph=\"urn:test:eph\" verzia=\"3\">"
                      "<eph:Zasielka id=\"1\">RR123 ľ&amp;&lt;</eph:Zasielka></eph:EPH>")
        << QStringLiteral("<eph:EPH xmlns:eph=\"urn:test:eph\" verzia=\"3\">"
                          "<eph:Zasielka id=\"1\">RR123 ľ&amp;&lt;</eph:Zasielka></eph:EPH>\n");
    // The answer's default namespace is in scope of the content and stays so.
    const QString inherited =
        QStringLiteral(" xmlns=\"%1\"").arg(QLatin1String(OrvConfig::ContractNamespace));
    QTest::newRow("comment, CDATA, processing instruction")
        << QByteArray("<r><!-- c --><![CDATA[<x>]]><?pi data?></r>")
        << QStringLiteral("<r%1><!-- c --><![CDATA[<x>]]><?pi data?></r>\n").arg(inherited);
    QTest::newRow("namespace from outside the content")
        << QByteArray("<a:Dokument><a:Cast>1</a:Cast></a:Dokument>")
        << QStringLiteral("<a:Dokument xmlns:a=\"http://schemas.datacontract.org/2004/07/\">"
                          "<a:Cast>1</a:Cast></a:Dokument>\n");
    QTest::newRow("indented around the root") << QByteArray("\n    <r xmlns=\"urn:r\">t</r>\n  ")
                                              << QStringLiteral("<r xmlns=\"urn:r\">t</r>\n");
}

void TTestDMORVPortal::fetchContent() {
    QFETCH(QByteArray, data);
    QFETCH(QString, obsah);
    const TFakeClock clock(Date(2024, 3, 1), 60);
    QByteArray fields = PodanieItem("P-5", "2024-03-01T10:00:00Z", "DATA");
    fields.replace("<a:Podanie>", "").replace("</a:Podanie>", "").replace("DATA", data);
    Serve(PortalAnswer("GetPodanie", "<GetPodanieResult>" + fields + "</GetPodanieResult>"));
    TPodanie podanie;
    podanie.IdPodania = QStringLiteral("from the list");
    Core().GetPodanie(QStringLiteral("P-5"), podanie);
    QCOMPARE(podanie.Obsah, obsah);
    QCOMPARE(podanie.IdPodania, QStringLiteral("P-5"));
    QCOMPARE(podanie.Datum, Date(2024, 3, 1, 11));
    QCOMPARE(podanie.StavOverenia, QStringLiteral("Overené"));

    QByteArray suborFields = SuborItem("SP-5", "2024-03-01T10:00:00Z", "DATA");
    suborFields.replace("<a:SuborPisomnosti>", "")
        .replace("</a:SuborPisomnosti>", "")
        .replace("DATA", data);
    Serve(PortalAnswer("GetSuborPisomnosti",
                       "<GetSuborPisomnostiResult>" + suborFields + "</GetSuborPisomnostiResult>"));
    TPisomnost pisomnost;
    Core().GetSuborPisomnosti(QStringLiteral("SP-5"), pisomnost);
    QCOMPARE(pisomnost.Obsah, obsah);
    QCOMPARE(pisomnost.IdPisomnosti, QStringLiteral("SP-5"));
    QCOMPARE(pisomnost.IdPodania, QStringLiteral("P-7"));
    QCOMPARE(pisomnost.Datum, Date(2024, 3, 1, 11));
}

void TTestDMORVPortal::fetchFailures_data() {
    QTest::addColumn<QByteArray>("inner"); // "-": no response element; DATA: the result's fields
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("podanieError");
    QTest::addColumn<QString>("suborError");
    QTest::newRow("no response element")
        << QByteArray("-") << QByteArray() << CommError + QStringLiteral("GetPodanie()")
        << CommError + QStringLiteral("GetSuborPisomnosti()");
    QTest::newRow("description beside a result")
        << QByteArray("<Result>DATA</Result>" + Popis("Neznáme ID")) << QByteArray("<r/>")
        << CommError + QStringLiteral("Neznáme ID") << CommError + QStringLiteral("Neznáme ID");
    const QString noItemPodanie =
        CommError + QStringLiteral("GetPodanie(): odpoveď neobsahuje podanie");
    const QString noItemSubor =
        CommError + QStringLiteral("GetSuborPisomnosti(): odpoveď neobsahuje písomnosť");
    QTest::newRow("no result, no description")
        << Popis("") << QByteArray() << noItemPodanie << noItemSubor;
    QTest::newRow("nil result") << QByteArray("<Result xmlns:i=\"http://www.w3.org/2001/"
                                              "XMLSchema-instance\" i:nil=\"true\"/>")
                                << QByteArray() << noItemPodanie << noItemSubor;
    const QString noContentPodanie =
        CommError + QStringLiteral("GetPodanie(): podanie neobsahuje XML dokument");
    const QString noContentSubor =
        CommError + QStringLiteral("GetSuborPisomnosti(): písomnosť neobsahuje XML dokument");
    QTest::newRow("no dataField") << QByteArray("<Result>DATA</Result>") << QByteArray()
                                  << noContentPodanie << noContentSubor;
    QTest::newRow("empty dataField")
        << QByteArray("<Result>DATA</Result>") << QByteArray("<a:dataField/>") << noContentPodanie
        << noContentSubor;
    QTest::newRow("two elements") << QByteArray("<Result>DATA</Result>")
                                  << QByteArray("<a:dataField><x/><y/></a:dataField>")
                                  << noContentPodanie << noContentSubor;
    QTest::newRow("only text") << QByteArray("<Result>DATA</Result>")
                               << QByteArray("<a:dataField>text</a:dataField>") << noContentPodanie
                               << noContentSubor;
    QTest::newRow("comment beside the root")
        << QByteArray("<Result>DATA</Result>")
        << QByteArray("<a:dataField><!-- c --><r/></a:dataField>") << noContentPodanie
        << noContentSubor;
}

void TTestDMORVPortal::fetchFailures() {
    QFETCH(QByteArray, inner);
    QFETCH(QByteArray, data);
    QFETCH(QString, podanieError);
    QFETCH(QString, suborError);
    // data is either a whole dataField element or the content of one.
    const QByteArray dataElement = data.startsWith("<a:dataField") || data.isEmpty()
                                       ? data
                                       : "<a:dataField>" + data + "</a:dataField>";
    const auto body = [&](const QByteArray& operation, const QByteArray& fields) {
        if (inner == "-")
            return SoapEnvelope("");
        QByteArray text = inner;
        text.replace("<Result", "<" + operation + "Result")
            .replace("</Result>", "</" + operation + "Result>")
            .replace("DATA", dataElement + fields);
        return PortalAnswer(operation, text);
    };

    Serve(body("GetPodanie", "<a:identifikatorPodaniaField>P-1</a:identifikatorPodaniaField>"));
    TPodanie podanie;
    podanie.IdPodania = QStringLiteral("kept");
    QCOMPARE(ErrorOf([&] { Core().GetPodanie(QStringLiteral("P-1"), podanie); }), podanieError);
    QCOMPARE(podanie.IdPodania, QStringLiteral("kept"));

    Serve(body("GetSuborPisomnosti",
               "<a:identifikatorSuborPisomnostiField>S-1</a:identifikatorSuborPisomnostiField>"));
    TPisomnost pisomnost;
    QCOMPARE(ErrorOf([&] { Core().GetSuborPisomnosti(QStringLiteral("S-1"), pisomnost); }),
             suborError);
    QCOMPARE(pisomnost.IdPisomnosti, QString());
}

QTEST_GUILESS_MAIN(TTestDMORVPortal)
#include "tst_dmorv_portal.moc"
