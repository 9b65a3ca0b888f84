// Requests the service refuses with a SOAP fault, and every kind of scripted
// answer, in process and through the admin endpoint.

#include "USimTestKit.h"

#include <QTest>

#include <optional>

using namespace SimTest;

namespace {

const std::string FaultPath = "/s:Envelope/s:Body/s:Fault";
const std::string LoginResult = "/s:Envelope/s:Body/c:CheckLoginResponse/c:CheckLoginResult";

std::string Action(const char* op) {
    return "\"" + Sim::ActionOf(op) + "\"";
}

std::string Wrap(const std::string& body) {
    return std::string("<s:Envelope xmlns:s=\"") + Sim::SoapEnvNs + "\">" + body + "</s:Envelope>";
}

std::string CheckLoginBody() {
    return std::string("<CheckLogin xmlns=\"") + Sim::ContractNs +
           "\"><subjekt>S</subjekt><osoba>O</osoba><heslo>H</heslo></CheckLogin>";
}

std::string Form(std::initializer_list<std::pair<const char*, std::string>> params) {
    httplib::Params p;
    for (const auto& [k, v] : params)
        p.emplace(k, v);
    return httplib::detail::params_to_query_str(p);
}

} // namespace

class TestSimFaults : public QObject {
    Q_OBJECT

private:
    std::optional<TSimFixture> Sim_;
    TSimFixture& F() { return *Sim_; }
    const std::string Login = TSimFixture::Login("S", "O", "H");

    TReply CheckLogin() { return F().Call("CheckLogin", Login); }

private Q_SLOTS:
    void init() {
        Sim::TSimServerOptions options;
        options.AllowFaults = true;
        Sim_.emplace(std::move(options));
        F().Db().AddAccount({"S", "O", Sim::HesloDigest("H")});
    }
    void cleanup() { Sim_.reset(); }

    void malformedRequestsGetAFaultWith500_data() {
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("code");
        const auto row = [](const char* name, const std::string& body, const std::string& action,
                            const char* code) {
            QTest::newRow(name) << QString::fromStdString(body) << QString::fromStdString(action)
                                << QString::fromLatin1(code);
        };
        const std::string good = Envelope("CheckLogin", TSimFixture::Login("S", "O", "H"));
        row("not XML", "this is not XML", Action("CheckLogin"), "s:Client");
        row("empty body", "", Action("CheckLogin"), "s:Client");
        row("DOCTYPE", "<!DOCTYPE x [<!ENTITY a \"b\">]>" + good.substr(good.find("<SOAP-ENV")),
            Action("CheckLogin"), "s:Client");
        row("SOAP 1.2 envelope",
            "<e:Envelope "
            "xmlns:e=\"http://www.w3.org/2003/05/soap-envelope\"><e:Body/></e:Envelope>",
            Action("CheckLogin"), "s:VersionMismatch");
        row("no Body", Wrap("<s:Header/>"), Action("CheckLogin"), "s:Client");
        row("empty Body", Wrap("<s:Body/>"), Action("CheckLogin"), "s:Client");
        row("two operations", Wrap("<s:Body>" + CheckLoginBody() + CheckLoginBody() + "</s:Body>"),
            Action("CheckLogin"), "s:Client");
        row("two Bodies", Wrap("<s:Body>" + CheckLoginBody() + "</s:Body><s:Body/>"),
            Action("CheckLogin"), "s:Client");
        row("header to understand",
            Wrap("<s:Header><x:Sec xmlns:x=\"urn:x\" s:mustUnderstand=\"1\"/></s:Header><s:Body>" +
                 CheckLoginBody() + "</s:Body>"),
            Action("CheckLogin"), "s:MustUnderstand");
        row("unknown operation", good, Action("DeletePodanie"), "a:ActionNotSupported");
        row("action of another contract", good, "\"urn:other/IPortal/CheckLogin\"",
            "a:ActionNotSupported");
        row("no SOAPAction", good, "", "a:ActionNotSupported");
        row("action and body differ", good, Action("ListPodanie"), "a:DeserializationFailed");
        row("body in another namespace", Wrap("<s:Body><CheckLogin xmlns=\"urn:x\"/></s:Body>"),
            Action("CheckLogin"), "a:DeserializationFailed");
        row("maxRows not a number",
            Envelope("ListPodanie", Field("maxRows", "tisíc") + TSimFixture::Login("S", "O", "H")),
            Action("ListPodanie"), "a:DeserializationFailed");
        row("date-time not one",
            Envelope("ListPodanie", Field("dtFromUtc", "2024-02-30T00:00:00Z") +
                                        TSimFixture::Login("S", "O", "H")),
            Action("ListPodanie"), "a:DeserializationFailed");
        row("unknown sort literal",
            Envelope("ListSuborPisomnosti",
                     Field("sortColumn", "StavPodania") + TSimFixture::Login("S", "O", "H")),
            Action("ListSuborPisomnosti"), "a:DeserializationFailed");
        row("Boolean not one", Envelope("GetSuborPisomnosti", Field("nastavPrecitany", "ano")),
            Action("GetSuborPisomnosti"), "a:DeserializationFailed");
    }
    void malformedRequestsGetAFaultWith500() {
        QFETCH(QString, body);
        QFETCH(QString, action);
        QFETCH(QString, code);
        const TReply r = F().Post(body.toStdString(), action.toStdString());
        QCOMPARE(r.Status, 500);
        QCOMPARE(r.ContentType, std::string("text/xml; charset=utf-8"));
        QCOMPARE(r.Value(FaultPath + "/faultcode"), code.toStdString());
        QCOMPARE(r.Value(FaultPath + "/faultstring/@xml:lang"), std::string("sk-SK"));
        const std::string text = r.Value(FaultPath + "/faultstring");
        QVERIFY2(text.size() > 20 && text.back() == '.', text.c_str());
    }

    void requestsNotInUtf8XmlGet415_data() {
        QTest::addColumn<QString>("contentType");
        QTest::addColumn<int>("status");
        QTest::newRow("client's own") << "text/xml; charset=\"utf-8\"" << 200;
        QTest::newRow("unquoted charset") << "text/xml; charset=UTF-8" << 200;
        QTest::newRow("no charset") << "text/xml" << 200;
        QTest::newRow("SOAP 1.2 type") << "application/soap+xml; charset=utf-8" << 415;
        QTest::newRow("other charset") << "text/xml; charset=iso-8859-2" << 415;
        QTest::newRow("none") << "" << 415;
    }
    void requestsNotInUtf8XmlGet415() {
        QFETCH(QString, contentType);
        QFETCH(int, status);
        const TReply r = F().Post(Envelope("CheckLogin", Login), Action("CheckLogin"),
                                  contentType.toStdString());
        QCOMPARE(r.Status, status);
    }

    void otherPathsAndMethods() {
        TReply r =
            F().Raw("POST", "/TirsaOrvWeb/Other.svc", Envelope("CheckLogin", Login), "text/xml");
        QCOMPARE(r.Status, 404);
        r = F().Raw("GET", OrvConfig::ServicePath);
        QCOMPARE(r.Status, 200);
        QVERIFY(r.ContentType.rfind("text/html", 0) == 0);
    }

    void scriptedStatusReplacesTheAnswer_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QString>("expectedReason");
        QTest::newRow("404 standard") << 404 << ""
                                      << "Not Found";
        QTest::newRow("503 own reason") << 503 << "Portál je v údržbe"
                                        << "Portál je v údržbe";
        QTest::newRow("500 without SOAP") << 500 << ""
                                          << "Internal Server Error";
    }
    void scriptedStatusReplacesTheAnswer() {
        QFETCH(int, status);
        QFETCH(QString, reason);
        QFETCH(QString, expectedReason);
        Sim::TSimScriptedAnswer a;
        a.Status = status;
        a.Reason = reason.toStdString();
        F().Server().Faults().Push("CheckLogin", a);
        const TReply r = CheckLogin();
        QCOMPARE(r.Status, status);
        QVERIFY(r.ContentType.rfind("text/html", 0) == 0);
        QVERIFY(r.Body.find(expectedReason.toStdString()) != std::string::npos);
        QCOMPARE(CheckLogin().Value(LoginResult), std::string("0")); // used up
    }

    void reasonPhraseReachesTheStatusLine() {
        Sim::TSimScriptedAnswer a;
        a.Status = 404;
        a.Reason = "Nenájdené";
        F().Server().Faults().Push("CheckLogin", a);
        httplib::Client client("127.0.0.1", F().Server().Port());
        const auto result = client.Post(OrvConfig::ServicePath,
                                        httplib::Headers{{"SOAPAction", Action("CheckLogin")}},
                                        Envelope("CheckLogin", Login), "text/xml");
        QVERIFY(result);
        QCOMPARE(result->status, 404);
        QCOMPARE(result->reason, std::string("Nenájdené"));
    }

    void scriptedContentTypeKeepsTheServiceAnswer() {
        Sim::TSimScriptedAnswer a;
        a.ContentType = "text/html";
        F().Server().Faults().Push("CheckLogin", a);
        const TReply r = CheckLogin();
        QCOMPARE(r.Status, 200);
        QCOMPARE(r.ContentType, std::string("text/html"));
        QCOMPARE(r.Value(LoginResult), std::string("0"));
    }

    void scriptedRawBodyAndSoapFault() {
        Sim::TSimScriptedAnswer raw;
        raw.Body = "<not-soap/>";
        F().Server().Faults().Push("CheckLogin", raw);
        TReply r = CheckLogin();
        QCOMPARE(r.Status, 200);
        QCOMPARE(r.Body, std::string("<not-soap/>"));
        QCOMPARE(r.ContentType, std::string("text/xml; charset=utf-8"));

        Sim::TSimScriptedAnswer fault;
        fault.FaultString = "Portál je dočasne nedostupný.";
        F().Server().Faults().Push("CheckLogin", fault);
        r = CheckLogin();
        QCOMPARE(r.Status, 500);
        QCOMPARE(r.Value(FaultPath + "/faultstring"), std::string("Portál je dočasne nedostupný."));

        fault.Status = 200;
        F().Server().Faults().Push("CheckLogin", fault);
        r = CheckLogin();
        QCOMPARE(r.Status, 200);
        QCOMPARE(r.Value(FaultPath + "/faultstring"), std::string("Portál je dočasne nedostupný."));
    }

    void scriptedMustUnderstandHeader() {
        Sim::TSimScriptedAnswer a;
        a.MustUnderstand = "Action";
        F().Server().Faults().Push("CheckLogin", a);
        const TReply r = CheckLogin();
        QCOMPARE(r.Status, 200);
        QCOMPARE(r.Value("local-name(/s:Envelope/s:Header/*)"), std::string("Action"));
        QCOMPARE(r.Value("/s:Envelope/s:Header/*/@s:mustUnderstand"), std::string("1"));
        QCOMPARE(r.Value(LoginResult), std::string("0"));
    }

    void scriptedDelayOutlastsAShortClientLimit() {
        Sim::TSimScriptedAnswer a;
        a.DelayMs = 3000;
        F().Server().Faults().Push("CheckLogin", a);
        const TReply late =
            F().Post(Envelope("CheckLogin", Login), Action("CheckLogin"), "text/xml", 100);
        QCOMPARE(late.Error, httplib::Error::Read);
        QCOMPARE(CheckLogin().Value(LoginResult), std::string("0"));
        // Stopping cuts the delayed answer short instead of waiting for it (cleanup).
    }

    void scriptedDropClosesWithoutAnswer() {
        Sim::TSimScriptedAnswer a;
        a.Drop = true;
        F().Server().Faults().Push("CheckLogin", a);
        const TReply r = CheckLogin();
        QVERIFY(r.Error != httplib::Error::Success);
        QCOMPARE(r.Status, 0);
        QCOMPARE(CheckLogin().Value(LoginResult), std::string("0"));
    }

    void scriptsApplyPerOperationInOrder() {
        Sim::TSimScriptedAnswer twice;
        twice.Status = 502;
        twice.Count = 2;
        Sim::TSimScriptedAnswer any;
        any.Status = 503;
        F().Server().Faults().Push("ListPodanie", twice);
        F().Server().Faults().Push(Sim::TSimFaultScript::AnyOperation, any);
        QCOMPARE(F().Server().Faults().Pending(), 3);
        QCOMPARE(F().Call("ListPodanie", Login).Status, 502);
        QCOMPARE(F().Call("ListPodanie", Login).Status, 502);
        QCOMPARE(CheckLogin().Status, 503);
        QCOMPARE(CheckLogin().Status, 200);
        QCOMPARE(F().Server().Faults().Pending(), 0);
    }

    void adminEndpointScriptsTheNextAnswers() {
        TReply r = F().Raw("POST", "/__sim/faults",
                           Form({{"operation", "CheckLogin"}, {"faultstring", "Chyba portálu."}}));
        QCOMPARE(r.Status, 200);
        r = CheckLogin();
        QCOMPARE(r.Value(FaultPath + "/faultstring"), std::string("Chyba portálu."));

        r = F().Raw("POST", "/__sim/faults?operation=CheckLogin&status=404&count=3", "");
        QCOMPARE(r.Status, 200);
        QCOMPARE(r.Body, std::string("pending 3\n"));
        QCOMPARE(CheckLogin().Status, 404);
        QCOMPARE(F().Raw("GET", "/__sim/faults").Body, std::string("pending 2\n"));
        QCOMPARE(F().Raw("DELETE", "/__sim/faults").Status, 200);
        QCOMPARE(CheckLogin().Status, 200);

        for (const std::string& bad :
             {Form({{"operation", "Nope"}}), Form({{"status", "abc"}}), Form({{"colour", "red"}}),
              Form({{"reason", "a\r\nX: y"}}), Form({{"mustUnderstand", "a b"}})}) {
            r = F().Raw("POST", "/__sim/faults", bad);
            QCOMPARE(r.Status, 400);
        }
        QCOMPARE(F().Server().Faults().Pending(), 0);
    }

    void adminEndpointIsClosedUnlessAllowed() {
        TSimFixture plain;
        QCOMPARE(plain.Raw("POST", "/__sim/faults", Form({{"status", "404"}})).Status, 404);
        QCOMPARE(plain.Server().Faults().Pending(), 0);
    }
};

QTEST_GUILESS_MAIN(TestSimFaults)
#include "tst_simfaults.moc"
