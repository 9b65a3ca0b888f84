// The eight operations over HTTP, as the client sees them on the wire.

#include "USimDocuments.h"
#include "USimSeed.h"
#include "USimTestKit.h"

#include <QTest>

#include <optional>

using namespace SimTest;

namespace {

const std::string ListPath = "/s:Envelope/s:Body/c:ListPodanieResponse/c:ListPodanieResult";
const std::string DocsPath =
    "/s:Envelope/s:Body/c:ListSuborPisomnostiResponse/c:ListSuborPisomnostiResult";

Sim::TSimPodanie MakePodanie(const std::string& id, const std::string& subjekt,
                             const std::string& biznis, const char* received, const char* typ,
                             const char* stav) {
    Sim::TSimPodanie p;
    p.Id = id;
    p.Subjekt = subjekt;
    p.Osoba = "anna";
    p.Biznis = biznis;
    p.ReceivedUtc = At(received);
    p.Typ = typ;
    p.Sluzba = Sim::SluzbaHromadnyPodaj;
    p.StavOverenia = "Overené";
    p.StavPodania = stav;
    p.Document = "<EPH xmlns=\"urn:test:eph\"><EPHID>" + id + "</EPHID></EPH>";
    return p;
}

Sim::TSimPisomnost ReceiptOf(const Sim::TSimPodanie& p, bool precitany) {
    Sim::TSimPisomnost d = Sim::Potvrdenie(p, "D-" + p.Id, p.ReceivedUtc + 60000);
    d.Precitany = precitany;
    return d;
}

std::string ListFields(const std::string& extra, const std::string& login) {
    return extra + Field("maxRows", "1000") + Field("sortType", "Desc") +
           Field("sortColumn", "DatumACasPrijatia") + login;
}

std::vector<std::string> Ids(const TReply& reply, const std::string& items, const char* field) {
    return reply.Values(items + "/a:" + field);
}

} // namespace

class TestSimPortal : public QObject {
    Q_OBJECT

private:
    std::optional<TSimFixture> Sim_;
    std::optional<TSimFixture> Seeded_; // the demo data, made when first needed
    const Sim::TUtcMs SeededNow = Sim::NowUtcMs();

    TSimFixture& Seeded() {
        if (!Seeded_) {
            Seeded_.emplace();
            Sim::SeedDemo(Seeded_->Db(), SeededNow);
        }
        return *Seeded_;
    }
    std::string LoginA = TSimFixture::Login("S-A", "anna", "Heslo-á1");
    std::string LoginB = TSimFixture::Login("S-B", "boris", "tajne");

    TSimFixture& F() { return *Sim_; }

private Q_SLOTS:
    void initTestCase() {
        Sim_.emplace();
        F().Db().AddAccount({"S-A", "anna", Sim::HesloDigest("Heslo-á1")});
        F().Db().AddAccount({"S-B", "boris", Sim::HesloDigest("tajne")});
        // Anna also acts for a third subject, with the same password.
        F().Db().AddAccount({"S-C", "anna", Sim::HesloDigest("Heslo-á1")});
        const Sim::TSimPodanie rows[] = {
            MakePodanie("P1", "S-A", "BP-1", "2024-03-01T08:00:00Z", "KT_PODAJ_v01", "Spracované"),
            MakePodanie("P2", "S-A", "BP-2", "2024-03-01T09:30:00Z", "KT_PODAJ_v03", "Zamietnuté"),
            MakePodanie("P3", "S-A", "BP-1", "2024-03-01T10:00:00Z", "KT_PODAJ_v02", "Prijaté"),
            MakePodanie("P4", "S-A", "BP-3", "2024-03-01T12:00:00.250Z", "KT_PODAJ_v02", "Čaká"),
            MakePodanie("PB", "S-B", "BP-1", "2024-03-01T09:45:00Z", "KT_PODAJ_v01", "Prijaté"),
            MakePodanie("PC", "S-C", "BP-9", "2024-02-01T09:45:00Z", "KT_PODAJ_v01", "Prijaté"),
        };
        bool precitany = false;
        for (const auto& p : rows) {
            F().Db().InsertPodanie(p, ReceiptOf(p, precitany));
            precitany = !precitany;
        }
    }

    void cleanupTestCase() {
        Sim_.reset();
        Seeded_.reset();
    }

    void checkLoginAnswersZeroOrOneWithReason_data() {
        QTest::addColumn<QString>("subjekt");
        QTest::addColumn<QString>("osoba");
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("result");
        QTest::newRow("accepted") << "S-A"
                                  << "anna"
                                  << "Heslo-á1" << 0;
        QTest::newRow("password case") << "S-A"
                                       << "anna"
                                       << "heslo-á1" << 1;
        QTest::newRow("password not from UTF-8") << "S-A"
                                                 << "anna"
                                                 << "Heslo-a1" << 1;
        QTest::newRow("other subject's person") << "S-B"
                                                << "anna"
                                                << "Heslo-á1" << 1;
        QTest::newRow("unknown person") << "S-A"
                                        << "nobody"
                                        << "Heslo-á1" << 1;
        QTest::newRow("all empty") << ""
                                   << ""
                                   << "" << 1;
    }
    void checkLoginAnswersZeroOrOneWithReason() {
        QFETCH(QString, subjekt);
        QFETCH(QString, osoba);
        QFETCH(QString, password);
        QFETCH(int, result);
        const TReply r =
            F().Call("CheckLogin", TSimFixture::Login(subjekt.toStdString(), osoba.toStdString(),
                                                      password.toStdString()));
        QCOMPARE(r.Status, 200);
        QCOMPARE(r.ContentType, std::string("text/xml; charset=utf-8"));
        const std::string base = "/s:Envelope/s:Body/c:CheckLoginResponse";
        QCOMPARE(r.Value(base + "/c:CheckLoginResult"), std::to_string(result));
        if (result == 0) {
            QCOMPARE(r.Value(base + "/c:popisChyby/@i:nil"), std::string("true"));
        } else {
            QVERIFY(r.Value(base + "/c:popisChyby").find("Nesprávne prihlasovacie údaje") == 0);
            QCOMPARE(r.Count(base + "/c:popisChyby/@i:nil"), 0);
        }
    }

    void answersAreShapedAsTheFrameworkWritesThem() {
        const TReply r = F().Call("ListPodanie",
                                  ListFields(Field("identifikatorBiznisPripadu", "BP-2"), LoginA));
        QCOMPARE(r.Status, 200);
        const std::string head = std::string("<s:Envelope xmlns:s=\"") + Sim::SoapEnvNs +
                                 "\"><s:Body><ListPodanieResponse xmlns=\"" + Sim::ContractNs +
                                 "\"><ListPodanieResult xmlns:a=\"" + Sim::DataNs +
                                 "\" xmlns:i=\"" + Sim::XsiNs +
                                 "\"><a:Podanie><a:dataField i:nil=\"true\"/>";
        QCOMPARE(r.Body.substr(0, head.size()), head);
        QVERIFY(r.Body.find("<a:descriptionField i:nil=\"true\"/>") != std::string::npos);

        const char* order[] = {"dataField",
                               "datumACasPrijatiaField",
                               "descriptionField",
                               "identifikatorBiznisPripaduField",
                               "identifikatorPodaniaField",
                               "identifikatorSubjektuField",
                               "kodSluzbyField",
                               "kodTypuPodaniaField",
                               "obalkaField",
                               "podavajucaOsobaField",
                               "stavOvereniaField",
                               "stavPodaniaField"};
        const std::string item = ListPath + "/a:Podanie[1]";
        QCOMPARE(r.Count(item + "/*"), 12);
        for (int k = 0; k < 12; ++k)
            QCOMPARE(r.Value("local-name(" + item + "/*[" + std::to_string(k + 1) + "])"),
                     std::string(order[k]));
        QCOMPARE(r.Value(item + "/a:identifikatorPodaniaField"), std::string("P2"));
        QCOMPARE(r.Value(item + "/a:stavPodaniaField"), std::string("Zamietnuté"));
        QCOMPARE(r.Value(item + "/a:kodSluzbyField"), std::string("KT_HromadnyPodaj"));
        QCOMPARE(r.Value(item + "/a:podavajucaOsobaField/a:identifikatorOsobyField"),
                 std::string("anna"));
        const auto received = Sim::ParseXsDateTime(r.Value(item + "/a:datumACasPrijatiaField"));
        QVERIFY(received);
        QCOMPARE(*received, At("2024-03-01T09:30:00Z"));
        // Time with its offset, as xs:dateTime.
        const std::string text = r.Value(item + "/a:datumACasPrijatiaField");
        QVERIFY(text.back() == 'Z' || text[text.size() - 6] == '+' || text[text.size() - 6] == '-');
    }

    void documentFieldsKeepTheirOwnNames() {
        const TReply r = F().Call("ListSuborPisomnosti",
                                  ListFields(Field("identifikatorBiznisPripadu", "BP-2"), LoginA));
        const char* order[] = {"dataField",
                               "datumACasVytvoreniaField",
                               "descriptionField",
                               "identifikatorBiznisPripaduField",
                               "identifikatorPodania",
                               "identifikatorSubjektuField",
                               "identifikatorSuborPisomnostiField",
                               "kodTypuSluzbyField",
                               "kodTypuSuboruPisomnostiField",
                               "obalkaField",
                               "precitanyField"};
        const std::string item = DocsPath + "/a:SuborPisomnosti[1]";
        QCOMPARE(r.Count(item + "/*"), 11);
        for (int k = 0; k < 11; ++k)
            QCOMPARE(r.Value("local-name(" + item + "/*[" + std::to_string(k + 1) + "])"),
                     std::string(order[k]));
        QCOMPARE(r.Value(item + "/a:identifikatorPodania"), std::string("P2"));
        QCOMPARE(r.Value(item + "/a:identifikatorSuborPisomnostiField"), std::string("D-P2"));
        QCOMPARE(r.Value(item + "/a:kodTypuSuboruPisomnostiField"),
                 std::string(Sim::TypPotvrdenie));
    }

    void maxRowsAndObjectTypesAnswer() {
        const std::string login =
            Field("osoba", "anna") + Field("heslo", Sim::HesloDigest("Heslo-á1"));
        TReply r = F().Call("GetPortalMaxRows", login);
        QCOMPARE(r.Value("/s:Envelope/s:Body/c:GetPortalMaxRowsResponse/c:GetPortalMaxRowsResult"),
                 std::string("1000"));
        r = F().Call("ListTypObjektu", login);
        const std::string items =
            "/s:Envelope/s:Body/c:ListTypObjektuResponse/c:ListTypObjektuResult/y:TypObjektu";
        QVERIFY(r.Count(items) >= 3);
        QCOMPARE(r.Value(items + "[1]/y:kodField"), std::string("KT_PODAJ_v01"));
    }

    void badCredentialsAreRefusedThroughPopisChyby_data() {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("fields");
        const std::string wrong = TSimFixture::Login("S-A", "anna", "wrong");
        const std::string wrongPerson = Field("osoba", "anna") + Field("heslo", "wrong");
        const auto row = [](const char* name, const char* op, const std::string& fields) {
            QTest::newRow(name) << QString::fromLatin1(op) << QString::fromStdString(fields);
        };
        row("ListPodanie", "ListPodanie", ListFields("", wrong));
        row("ListSuborPisomnosti", "ListSuborPisomnosti", ListFields("", wrong));
        row("GetPodanie", "GetPodanie", Field("IdentifikatorPodania", "P1") + wrongPerson);
        row("GetSuborPisomnosti", "GetSuborPisomnosti",
            Field("IdentifikatorSuborPisomnosti", "D-P1") + wrongPerson +
                Field("nastavPrecitany", "true"));
        row("GetPortalMaxRows", "GetPortalMaxRows", wrongPerson);
        row("ListTypObjektu", "ListTypObjektu", wrongPerson);
        row("another subject's listing", "ListPodanie",
            ListFields("", TSimFixture::Login("S-B", "anna", "Heslo-á1")));
    }
    void badCredentialsAreRefusedThroughPopisChyby() {
        QFETCH(QString, operation);
        QFETCH(QString, fields);
        const std::string op = operation.toStdString();
        const TReply r = F().Call(op, fields.toStdString());
        QCOMPARE(r.Status, 200);
        const std::string base = "/s:Envelope/s:Body/c:" + op + "Response";
        QVERIFY(r.Value(base + "/c:popisChyby").find("Nesprávne prihlasovacie údaje") == 0);
        QCOMPARE(r.Count(base + "/c:" + op + "Result/*"), 0);
    }

    void listingsHonourBoundsWithTheirOffsets_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QStringList>("ids");
        QTest::addColumn<QStringList>("docs"); // documents follow their submission by a minute
        const QStringList all = Utf8List({"P4", "P3", "P2", "P1"});
        QTest::newRow("none") << ""
                              << "" << all << all;
        QTest::newRow("from in UTC")
            << "2024-03-01T09:00:00Z"
            << "" << Utf8List({"P4", "P3", "P2"}) << Utf8List({"P4", "P3", "P2"});
        QTest::newRow("from at +02:00")
            << "2024-03-01T11:00:00.000+02:00"
            << "" << Utf8List({"P4", "P3", "P2"}) << Utf8List({"P4", "P3", "P2"});
        QTest::newRow("from is inclusive")
            << "2024-03-01T10:00:00Z"
            << "" << Utf8List({"P4", "P3"}) << Utf8List({"P4", "P3"});
        QTest::newRow("to is exclusive")
            << ""
            << "2024-03-01T12:00:00+02:00" << Utf8List({"P2", "P1"}) << Utf8List({"P2", "P1"});
        QTest::newRow("to at -05:00") << ""
                                      << "2024-03-01T05:00:00.001-05:00"
                                      << Utf8List({"P3", "P2", "P1"}) << Utf8List({"P2", "P1"});
        QTest::newRow("no offset counts as UTC")
            << "2024-03-01T09:00:00"
            << "2024-03-01T11:00:00" << Utf8List({"P3", "P2"}) << Utf8List({"P3", "P2"});
        QTest::newRow("start after end") << "2024-03-02T00:00:00Z"
                                         << "2024-03-01T00:00:00Z" << Utf8List({}) << Utf8List({});
    }
    void listingsHonourBoundsWithTheirOffsets() {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QStringList, ids);
        QFETCH(QStringList, docs);
        std::string bounds;
        if (!from.isEmpty())
            bounds += Field("dtFromUtc", from.toStdString());
        if (!to.isEmpty())
            bounds += Field("dtToUtc", to.toStdString());
        const TReply r = F().Call("ListPodanie", ListFields(bounds, LoginA));
        QCOMPARE(r.Status, 200);
        std::vector<std::string> expected;
        for (const QString& id : ids)
            expected.push_back(id.toStdString());
        QCOMPARE(Ids(r, ListPath + "/a:Podanie", "identifikatorPodaniaField"), expected);

        const TReply d = F().Call("ListSuborPisomnosti", ListFields(bounds, LoginA));
        std::vector<std::string> expectedDocs;
        for (const QString& id : docs)
            expectedDocs.push_back(id.toStdString());
        QCOMPARE(Ids(d, DocsPath + "/a:SuborPisomnosti", "identifikatorPodania"), expectedDocs);
    }

    void businessCaseFilterIsExactAndPerSubject() {
        TReply r = F().Call("ListPodanie",
                            ListFields(Field("identifikatorBiznisPripadu", "BP-1"), LoginA));
        QCOMPARE(Ids(r, ListPath + "/a:Podanie", "identifikatorPodaniaField"),
                 (std::vector<std::string>{"P3", "P1"}));
        r = F().Call("ListPodanie",
                     ListFields(Field("identifikatorBiznisPripadu", "BP-1"), LoginB));
        QCOMPARE(Ids(r, ListPath + "/a:Podanie", "identifikatorPodaniaField"),
                 (std::vector<std::string>{"PB"}));
        r = F().Call("ListPodanie", ListFields(Field("identifikatorBiznisPripadu", "  "), LoginA));
        QCOMPARE(r.Count(ListPath + "/a:Podanie"), 0);
        QCOMPARE(r.Value("/s:Envelope/s:Body/c:ListPodanieResponse/c:popisChyby/@i:nil"),
                 std::string("true"));
        r = F().Call("ListSuborPisomnosti",
                     ListFields(Field("identifikatorBiznisPripadu", "BP-1"), LoginA));
        QCOMPARE(Ids(r, DocsPath + "/a:SuborPisomnosti", "identifikatorSuborPisomnostiField"),
                 (std::vector<std::string>{"D-P3", "D-P1"}));
    }

    void sortColumnsAndDirections_data() {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QStringList>("ids");
        QTest::newRow("date desc") << "DatumACasPrijatia"
                                   << "Desc" << Utf8List({"P4", "P3", "P2", "P1"});
        QTest::newRow("date asc") << "DatumACasPrijatia"
                                  << "Asc" << Utf8List({"P1", "P2", "P3", "P4"});
        QTest::newRow("business case asc") << "identifikatorBiznisPripadu"
                                           << "Asc" << Utf8List({"P1", "P3", "P2", "P4"});
        QTest::newRow("business case desc") << "identifikatorBiznisPripadu"
                                            << "Desc" << Utf8List({"P4", "P2", "P3", "P1"});
        QTest::newRow("type asc") << "KodTypuHlavnehoObjektu"
                                  << "Asc" << Utf8List({"P1", "P3", "P4", "P2"});
        QTest::newRow("state asc") << "StavPodania"
                                   << "Asc" << Utf8List({"P3", "P1", "P2", "P4"});
        QTest::newRow("defaults: first literals") << ""
                                                  << "" << Utf8List({"P1", "P3", "P2", "P4"});
    }
    void sortColumnsAndDirections() {
        QFETCH(QString, column);
        QFETCH(QString, type);
        QFETCH(QStringList, ids);
        std::string fields = Field("maxRows", "1000");
        if (!type.isEmpty())
            fields += Field("sortType", type.toStdString());
        if (!column.isEmpty())
            fields += Field("sortColumn", column.toStdString());
        const TReply r = F().Call("ListPodanie", fields + LoginA);
        std::vector<std::string> expected;
        for (const QString& id : ids)
            expected.push_back(id.toStdString());
        QCOMPARE(Ids(r, ListPath + "/a:Podanie", "identifikatorPodaniaField"), expected);
    }

    void documentsSortByReadFlag() {
        const TReply r =
            F().Call("ListSuborPisomnosti",
                     Field("sortType", "Asc") + Field("sortColumn", "Precitany") + LoginA);
        const auto flags = Ids(r, DocsPath + "/a:SuborPisomnosti", "precitanyField");
        QCOMPARE(flags.size(), std::size_t{4});
        QVERIFY(std::is_sorted(flags.begin(), flags.end(), [](const auto& x, const auto& y) {
            return x == "false" && y == "true";
        }));
    }

    void fetchReturnsTheStoredDocument() {
        const std::string login =
            Field("osoba", "anna") + Field("heslo", Sim::HesloDigest("Heslo-á1"));
        TReply r = F().Call("GetPodanie", Field("IdentifikatorPodania", "P2") + login);
        const std::string base = "/s:Envelope/s:Body/c:GetPodanieResponse/c:GetPodanieResult";
        QCOMPARE(r.Value(base + "/a:identifikatorPodaniaField"), std::string("P2"));
        QCOMPARE(r.Value(base + "/a:identifikatorBiznisPripaduField"), std::string("BP-2"));
        QCOMPARE(r.Count(base + "/a:dataField/node()"), 1);
        QCOMPARE(r.Value("namespace-uri(" + base + "/a:dataField/*)"), std::string("urn:test:eph"));
        QCOMPARE(r.Value(base + "/a:dataField/*/*"), std::string("P2"));
        QCOMPARE(r.Value(base + "/a:obalkaField/a:pocetDokumentovField"), std::string("1"));

        // Anna acts for S-C too: its submission is hers to fetch.
        r = F().Call("GetPodanie", Field("IdentifikatorPodania", "PC") + login);
        QCOMPARE(r.Value(base + "/a:identifikatorSubjektuField"), std::string("S-C"));
    }

    void fetchOfUnknownOrForeignItemIsRefused_data() {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("idField");
        QTest::addColumn<QString>("id");
        QTest::newRow("unknown submission") << "GetPodanie"
                                            << "IdentifikatorPodania"
                                            << "nope";
        QTest::newRow("another subject's submission") << "GetPodanie"
                                                      << "IdentifikatorPodania"
                                                      << "PB";
        QTest::newRow("unknown document") << "GetSuborPisomnosti"
                                          << "IdentifikatorSuborPisomnosti"
                                          << "nope";
        QTest::newRow("another subject's document") << "GetSuborPisomnosti"
                                                    << "IdentifikatorSuborPisomnosti"
                                                    << "D-PB";
    }
    void fetchOfUnknownOrForeignItemIsRefused() {
        QFETCH(QString, operation);
        QFETCH(QString, idField);
        QFETCH(QString, id);
        const std::string op = operation.toStdString();
        const TReply r =
            F().Call(op, Field(idField.toStdString(), id.toStdString()) + Field("osoba", "anna") +
                             Field("heslo", Sim::HesloDigest("Heslo-á1")));
        const std::string base = "/s:Envelope/s:Body/c:" + op + "Response";
        QCOMPARE(r.Value(base + "/c:" + op + "Result/@i:nil"), std::string("true"));
        const std::string popis = r.Value(base + "/c:popisChyby");
        QVERIFY(popis.find(id.toStdString()) != std::string::npos);
        QVERIFY(popis.find("neexistuje") != std::string::npos);
    }

    void fetchWithNastavPrecitanyMarksTheDocumentRead() {
        const std::string login =
            Field("osoba", "boris") + Field("heslo", Sim::HesloDigest("tajne"));
        const auto unread = [&] {
            const TReply r =
                F().Call("ListSuborPisomnosti", ListFields(Field("precitany", "false"), LoginB));
            return r.Count(DocsPath + "/a:SuborPisomnosti");
        };
        QCOMPARE(unread(), 1);
        const std::string base =
            "/s:Envelope/s:Body/c:GetSuborPisomnostiResponse/c:GetSuborPisomnostiResult";
        TReply r = F().Call("GetSuborPisomnosti", Field("IdentifikatorSuborPisomnosti", "D-PB") +
                                                      login + Field("nastavPrecitany", "false"));
        QCOMPARE(r.Value(base + "/a:precitanyField"), std::string("false"));
        QCOMPARE(unread(), 1);
        r = F().Call("GetSuborPisomnosti", Field("IdentifikatorSuborPisomnosti", "D-PB") + login +
                                               Field("nastavPrecitany", "true"));
        QCOMPARE(r.Value(base + "/a:precitanyField"), std::string("true"));
        QCOMPARE(r.Value("local-name(" + base + "/a:dataField/*)"), std::string("Potvrdenie"));
        QCOMPARE(r.Value("namespace-uri(" + base + "/a:dataField/*)"), Sim::PisomnostNamespace());
        QCOMPARE(unread(), 0);
        r = F().Call("ListSuborPisomnosti", ListFields(Field("precitany", "true"), LoginB));
        QCOMPARE(r.Count(DocsPath + "/a:SuborPisomnosti"), 1);
    }

    void embeddedRootWithoutNamespaceStaysWithout() {
        Sim::TSimPodanie p =
            MakePodanie("PX", "S-B", "BP-X", "2023-01-01T00:00:00Z", "KT_PODAJ_v01", "Prijaté");
        p.Document = "<?xml version=\"1.0\"?><!-- c --><hárok a=\"1\"><riadok>Ďakujem</riadok>"
                     "<p:x xmlns:p=\"urn:p\"><y/></p:x></hárok>";
        F().Db().InsertPodanie(p, ReceiptOf(p, false));
        const TReply r =
            F().Call("GetPodanie", Field("IdentifikatorPodania", "PX") + Field("osoba", "boris") +
                                       Field("heslo", Sim::HesloDigest("tajne")));
        const std::string data =
            "/s:Envelope/s:Body/c:GetPodanieResponse/c:GetPodanieResult/a:dataField";
        QCOMPARE(r.Count(data + "/node()"), 1);
        QCOMPARE(r.Value("namespace-uri(" + data + "/*)"), std::string());
        QCOMPARE(r.Value(data + "/hárok/riadok"), std::string("Ďakujem"));
        QCOMPARE(r.Value("namespace-uri(" + data + "/hárok/*[local-name()='x']/*)"), std::string());
        QCOMPARE(r.Value(data + "/hárok/@a"), std::string("1"));
    }

    void seededDataIsCappedAtMaxRowsNewestFirst_data() {
        QTest::addColumn<QString>("maxRows");
        QTest::addColumn<int>("podania");
        QTest::newRow("client's 1000") << "1000" << 1000;
        QTest::newRow("more than the portal allows") << "5000" << 1000;
        QTest::newRow("fewer") << "7" << 7;
        QTest::newRow("absent") << "" << 1000;
    }
    void seededDataIsCappedAtMaxRowsNewestFirst() {
        QFETCH(QString, maxRows);
        QFETCH(int, podania);
        TSimFixture* seeded = &Seeded();
        std::string fields =
            maxRows.isEmpty() ? std::string() : Field("maxRows", maxRows.toStdString());
        fields += Field("sortType", "Desc") + Field("sortColumn", "DatumACasPrijatia") +
                  TSimFixture::Login(Sim::DemoSubjekt, Sim::DemoOsoba, Sim::DemoHeslo);
        for (const char* op : {"ListPodanie", "ListSuborPisomnosti"}) {
            const bool docs = std::string(op) == "ListSuborPisomnosti";
            const TReply r = seeded->Call(op, fields);
            const std::string items =
                docs ? DocsPath + "/a:SuborPisomnosti" : ListPath + "/a:Podanie";
            QCOMPARE(r.Count(items), podania);
            const auto dates =
                Ids(r, items, docs ? "datumACasVytvoreniaField" : "datumACasPrijatiaField");
            std::vector<Sim::TUtcMs> instants;
            for (const auto& d : dates) {
                const auto t = Sim::ParseXsDateTime(d);
                QVERIFY2(t, d.c_str());
                instants.push_back(*t);
            }
            QVERIFY(std::is_sorted(instants.rbegin(), instants.rend()));
        }
    }

    void seedIsDeterministic() {
        TSimFixture again;
        Sim::SeedDemo(again.Db(), SeededNow);
        const auto counts = Sim::SeedDemo(again.Db(), SeededNow); // replaces, does not add
        QVERIFY(counts.Podania > 1000);
        QVERIFY(counts.Pisomnosti > 1000);
        QCOMPARE(again.Db().CountPodanie(Sim::DemoSubjekt), counts.Podania);
        QCOMPARE(again.Db().CountPisomnosti(Sim::DemoSubjekt), counts.Pisomnosti);
        const std::string fields =
            ListFields("", TSimFixture::Login(Sim::DemoSubjekt, Sim::DemoOsoba, Sim::DemoHeslo));
        const TReply ra = Seeded().Call("ListSuborPisomnosti", fields);
        const TReply rb = again.Call("ListSuborPisomnosti", fields);
        QCOMPARE(ra.Body, rb.Body);
        QVERIFY(ra.Body.find("Potvrdenie") == std::string::npos); // listings carry no content
        const auto oldest = Sim::ParseXsDateTime(
            ra.Value(DocsPath + "/a:SuborPisomnosti[last()]/a:datumACasVytvoreniaField"));
        QVERIFY(oldest && *oldest >= SeededNow - 91LL * 86400000);
    }
};

QTEST_GUILESS_MAIN(TestSimPortal)
#include "tst_simportal.moc"
