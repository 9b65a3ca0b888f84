#include "UErrorOf.h"
#include "UPortalTestData.h"

#include "OrvConfig.h"
#include "UPortalProxy.h"
#include "USoapFault.h"
#include "USoapWriter.h"

#include <QTest>

#include <deque>

using namespace PortalService;

namespace {

// What the fake transport saw and what it answers; owned by the test.
struct TTransportScript {
    std::vector<THttpRequest> Requests;
    std::deque<THttpResponse> Answers;
    QString NetworkError; // raised instead of answering when set
};

class TFakeTransport final : public ITransport {
public:
    explicit TFakeTransport(TTransportScript& script)
        : Script(script) {}

    THttpResponse Post(const THttpRequest& request) override {
        Script.Requests.push_back(request);
        if (!Script.NetworkError.isEmpty()) {
            throw TOrvError(Script.NetworkError);
        }
        if (Script.Answers.empty()) {
            throw TOrvError(QStringLiteral("no scripted answer"));
        }
        THttpResponse answer = std::move(Script.Answers.front());
        Script.Answers.pop_front();
        return answer;
    }

private:
    TTransportScript& Script;
};

THttpResponse Answer(int status, const QByteArray& reason, const QByteArray& body,
                     const QByteArray& contentType = "text/xml; charset=utf-8") {
    return THttpResponse{status, reason, contentType, body};
}

const char OkLogin[] = "<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\"><s:Body>"
                       "<CheckLoginResponse><CheckLoginResult>0</CheckLoginResult>"
                       "</CheckLoginResponse></s:Body></s:Envelope>";

PortalService::CheckLogin Login() {
    PortalService::CheckLogin request;
    request.subjekt = QStringLiteral("S");
    request.osoba = QStringLiteral("O");
    request.heslo = QStringLiteral("H");
    return request;
}

} // namespace

class TestPortalProxy : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();

    void callPostsEnvelopeWithAction();
    void actionOfEveryOperation();
    void bindPortalSetsOptionsAndAddress();
    void emptyAddressMeansTestEndpoint();
    void invalidAddresses_data();
    void invalidAddresses();
    void validAddresses_data();
    void validAddresses();
    void statusFailures_data();
    void statusFailures();
    void faultIsRaisedWith500And200_data();
    void faultIsRaisedWith500And200();
    void status500WithoutFaultIsDecoded();
    void contentTypes_data();
    void contentTypes();
    void noMessageGivesNull();
    void networkErrorPassesUnchanged();
    void proxyStaysUsableAfterFailure();
    void literalParamsOffIsRefused();
    void defaultTransportIsMadeOnFirstCall();

private:
    std::unique_ptr<TTransportScript> Script;
    std::unique_ptr<TPortalProxy> Proxy;
    IPortal* Portal = nullptr;
};

void TestPortalProxy::init() {
    Script = std::make_unique<TTransportScript>();
    Proxy = std::make_unique<TPortalProxy>(std::make_unique<TFakeTransport>(*Script));
    Portal = &BindPortal(*Proxy, QStringLiteral("https://portal.test/Service.svc?x=1"));
    Proxy->LiteralParams = true;
}

void TestPortalProxy::callPostsEnvelopeWithAction() {
    // Each limit apart, so a mix-up or a dropped one shows.
    Proxy->Timeouts = {1111, 2222, 3333};
    Script->Answers.push_back(Answer(200, "OK", OkLogin));
    const auto response = Portal->CheckLogin(Login());
    QVERIFY(response);
    QCOMPARE(response->CheckLoginResult, 0);

    QCOMPARE(Script->Requests.size(), size_t(1));
    const THttpRequest& sent = Script->Requests[0];
    QCOMPARE(sent.Url, QStringLiteral("https://portal.test/Service.svc?x=1"));
    QCOMPARE(sent.SoapAction, QByteArray(OrvConfig::ContractNamespace) + "/IPortal/CheckLogin");
    QCOMPARE(sent.Body, WriteSoapRequest(Login()));
    QCOMPARE(sent.Timeouts.ConnectMs, 1111L);
    QCOMPARE(sent.Timeouts.SendMs, 2222L);
    QCOMPARE(sent.Timeouts.ReceiveMs, 3333L);
}

void TestPortalProxy::actionOfEveryOperation() {
    const char empty[] = "<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\">"
                         "<s:Body/></s:Envelope>";
    for (int i = 0; i < 8; ++i) {
        Script->Answers.push_back(Answer(200, "OK", empty));
    }
    QVERIFY(!Portal->PodajPodanie({}));
    QVERIFY(!Portal->CheckLogin({}));
    QVERIFY(!Portal->GetPortalMaxRows({}));
    QVERIFY(!Portal->ListPodanie({}));
    QVERIFY(!Portal->GetPodanie({}));
    QVERIFY(!Portal->ListSuborPisomnosti({}));
    QVERIFY(!Portal->GetSuborPisomnosti({}));
    QVERIFY(!Portal->ListTypObjektu({}));
    const char* operations[] = {"PodajPodanie",       "CheckLogin",    "GetPortalMaxRows",
                                "ListPodanie",        "GetPodanie",    "ListSuborPisomnosti",
                                "GetSuborPisomnosti", "ListTypObjektu"};
    QCOMPARE(Script->Requests.size(), size_t(8));
    for (size_t i = 0; i < 8; ++i) {
        QCOMPARE(Script->Requests[i].SoapAction,
                 QByteArray(OrvConfig::ContractNamespace) + "/IPortal/" + operations[i]);
        QVERIFY(Script->Requests[i].Body.contains(QByteArray("<") + operations[i] + " xmlns="));
    }
}

void TestPortalProxy::bindPortalSetsOptionsAndAddress() {
    TPortalProxy proxy(std::make_unique<TFakeTransport>(*Script));
    proxy.LiteralParams = true;
    IPortal& portal = BindPortal(proxy, QStringLiteral("http://host.test:8080/p"));
    QCOMPARE(&portal, &proxy.Portal());
    QVERIFY(proxy.DocumentStyle);
    QVERIFY(!proxy.LiteralParams);
    QCOMPARE(proxy.URL(), QStringLiteral("http://host.test:8080/p"));
}

void TestPortalProxy::emptyAddressMeansTestEndpoint() {
    TPortalProxy proxy(std::make_unique<TFakeTransport>(*Script));
    BindPortal(proxy, QString());
    QCOMPARE(proxy.URL(), QString::fromLatin1(OrvConfig::TestEndpoint));
}

void TestPortalProxy::invalidAddresses_data() {
    QTest::addColumn<QString>("address");
    QTest::newRow("ftp") << "ftp://portal.test/Service.svc";
    QTest::newRow("file") << "file:///etc/passwd";
    QTest::newRow("no scheme") << "portal.test/Service.svc";
    QTest::newRow("not a url") << "just some words";
    QTest::newRow("no host") << "http:///Service.svc";
    QTest::newRow("bad port") << "http://portal.test:99999/";
}

void TestPortalProxy::invalidAddresses() {
    QFETCH(QString, address);
    const QString before = Proxy->URL();
    QCOMPARE(
        ErrorOf([&] { BindPortal(*Proxy, address); }),
        QStringLiteral("Invalid url '%1' - only supports 'http' and 'https' schemes").arg(address));
    QCOMPARE(Proxy->URL(), before);
}

void TestPortalProxy::validAddresses_data() {
    QTest::addColumn<QString>("address");
    QTest::newRow("https default port") << "https://portal.test/TirsaOrvWeb/PortalService.svc";
    QTest::newRow("http with port and query") << "http://127.0.0.1:8080/p?a=b";
    QTest::newRow("upper-case scheme") << "HTTPS://Portal.Test/x";
}

void TestPortalProxy::validAddresses() {
    QFETCH(QString, address);
    BindPortal(*Proxy, address);
    QCOMPARE(Proxy->URL(), address);
}

void TestPortalProxy::statusFailures_data() {
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("reason");
    QTest::addColumn<QString>("message");
    const QString url = QStringLiteral("https://portal.test/Service.svc?x=1");
    QTest::newRow("404") << 404 << QByteArray("Not Found")
                         << QStringLiteral("Not Found (404) - '%1'").arg(url);
    QTest::newRow("302") << 302 << QByteArray("Found")
                         << QStringLiteral("Found (302) - '%1'").arg(url);
    QTest::newRow("503") << 503 << QByteArray("Service Unavailable")
                         << QStringLiteral("Service Unavailable (503) - '%1'").arg(url);
    QTest::newRow("300") << 300 << QByteArray("Multiple Choices")
                         << QStringLiteral("Multiple Choices (300) - '%1'").arg(url);
}

void TestPortalProxy::statusFailures() {
    QFETCH(int, status);
    QFETCH(QByteArray, reason);
    QFETCH(QString, message);
    // The body is never parsed: a fault in it must not win over the status.
    Script->Answers.push_back(
        Answer(status, reason, PortalFixture(QStringLiteral("fault-status200.xml"))));
    QCOMPARE(ErrorOf([&] { Portal->CheckLogin(Login()); }), message);
}

void TestPortalProxy::faultIsRaisedWith500And200_data() {
    QTest::addColumn<int>("status");
    QTest::newRow("500") << 500;
    QTest::newRow("200") << 200;
}

void TestPortalProxy::faultIsRaisedWith500And200() {
    QFETCH(int, status);
    Script->Answers.push_back(Answer(status, status == 500 ? "Internal Server Error" : "OK",
                                     PortalFixture(QStringLiteral("fault-status200.xml"))));
    try {
        Portal->CheckLogin(Login());
        QFAIL("no fault");
    } catch (const TSoapFault& fault) {
        QCOMPARE(fault.message(), QString::fromUtf8("Chyba servera: objekt nebol nájdený"));
        QCOMPARE(fault.FaultCode, QStringLiteral("a:InternalServiceFault"));
    }
}

void TestPortalProxy::status500WithoutFaultIsDecoded() {
    Script->Answers.push_back(Answer(500, "Internal Server Error", OkLogin));
    const auto response = Portal->CheckLogin(Login());
    QVERIFY(response);
}

void TestPortalProxy::contentTypes_data() {
    QTest::addColumn<QByteArray>("contentType");
    QTest::addColumn<QString>("message");
    const QString refused = QStringLiteral(
        "Received content of invalid Content-Type setting: %1 - SOAP expects \"text/xml\"");
    QTest::newRow("text/html") << QByteArray("text/html") << refused.arg(u"text/html");
    QTest::newRow("TEXT/PLAIN") << QByteArray("TEXT/PLAIN") << refused.arg(u"TEXT/PLAIN");
    QTest::newRow("text/html with parameters") << QByteArray("text/html; charset=utf-8") << "";
    QTest::newRow("text/xml") << QByteArray("text/xml") << "";
    QTest::newRow("none") << QByteArray() << "";
    QTest::newRow("application/soap+xml") << QByteArray("application/soap+xml") << "";
}

void TestPortalProxy::contentTypes() {
    QFETCH(QByteArray, contentType);
    QFETCH(QString, message);
    Script->Answers.push_back(Answer(200, "OK", OkLogin, contentType));
    QCOMPARE(ErrorOf([&] { Portal->CheckLogin(Login()); }), message.isEmpty() ? NoError : message);
}

void TestPortalProxy::noMessageGivesNull() {
    Script->Answers.push_back(
        Answer(200, "OK", PortalFixture(QStringLiteral("body-two-elements.xml"))));
    QVERIFY(Portal->CheckLogin(Login()) == nullptr);
}

void TestPortalProxy::networkErrorPassesUnchanged() {
    Script->NetworkError = QStringLiteral("Couldn't connect to server - URL:x - SOAPAction:y");
    QCOMPARE(ErrorOf([&] { Portal->CheckLogin(Login()); }), Script->NetworkError);
}

void TestPortalProxy::proxyStaysUsableAfterFailure() {
    Script->Answers.push_back(Answer(200, "OK", "<broken"));
    Script->Answers.push_back(Answer(200, "OK", OkLogin));
    QVERIFY_THROWS_EXCEPTION(TOrvError, Portal->CheckLogin(Login()));
    QVERIFY(Portal->CheckLogin(Login()));
}

void TestPortalProxy::literalParamsOffIsRefused() {
    Proxy->LiteralParams = false;
    QCOMPARE(ErrorOf([&] { Portal->CheckLogin(Login()); }),
             QStringLiteral("The portal proxy sends only document-style requests with literal "
                            "parameters; both options must be on"));
    Proxy->LiteralParams = true;
    Proxy->DocumentStyle = false;
    QVERIFY_THROWS_EXCEPTION(TOrvError, Portal->CheckLogin(Login()));
    QVERIFY(Script->Requests.empty());
}

void TestPortalProxy::defaultTransportIsMadeOnFirstCall() {
    // Port 1 on loopback refuses at once; the failure is the platform transport's.
    TPortalProxy proxy;
    BindPortal(proxy, QStringLiteral("http://127.0.0.1:1/Service.svc"));
    proxy.LiteralParams = true;
    const QString message = ErrorOf([&] { proxy.Portal().CheckLogin(Login()); });
    QVERIFY2(
        message.endsWith(QStringLiteral(" - URL:http://127.0.0.1:1/Service.svc - SOAPAction:") +
                         QString::fromLatin1(OrvConfig::ContractNamespace) +
                         QStringLiteral("/IPortal/CheckLogin")),
        qPrintable(message));
}

QTEST_GUILESS_MAIN(TestPortalProxy)
#include "tst_portalproxy.moc"
