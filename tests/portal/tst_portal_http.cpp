#include "UErrorOf.h"
#include "UPortalProxy.h"
#include "USoapFault.h"
#include "UTestHttpServer.h"

#include "OrvConfig.h"

#include <QTest>

#include <functional>

using namespace PortalService;

namespace {

const QByteArray Contract = OrvConfig::ContractNamespace;
const QByteArray CheckLoginAction = Contract + "/IPortal/CheckLogin";

QByteArray CheckLoginAnswer(int result, const QByteArray& popisChyby) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
           "<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\"><s:Body>"
           "<CheckLoginResponse xmlns=\"" +
           Contract + "\"><CheckLoginResult>" + QByteArray::number(result) +
           "</CheckLoginResult><popisChyby>" + popisChyby +
           "</popisChyby></CheckLoginResponse></s:Body></s:Envelope>";
}

const QByteArray FaultAnswer =
    "<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\"><s:Body><s:Fault>"
    "<faultcode xmlns:a=\"urn:portal\">a:InternalServiceFault</faultcode>"
    "<faultstring xml:lang=\"sk-SK\">Chyba servera: objekt nebol n&#225;jden&#253;</faultstring>"
    "</s:Fault></s:Body></s:Envelope>";
const QString FaultText = QStringLiteral("Chyba servera: objekt nebol nájdený");

TTestHttpAnswer Answer(const QByteArray& body, int status = 200, const QByteArray& reason = "OK") {
    TTestHttpAnswer answer;
    answer.Status = status;
    answer.Reason = reason;
    answer.Body = body;
    return answer;
}

// A proxy bound to url as the client core binds it.
struct TBoundProxy {
    explicit TBoundProxy(const QString& url, std::unique_ptr<ITransport> transport = nullptr)
        : Proxy(std::move(transport))
        , Portal(BindPortal(Proxy, url)) {
        Proxy.LiteralParams = true;
    }
    TPortalProxy Proxy;
    IPortal& Portal;
};

CheckLogin Credentials() {
    CheckLogin request;
    request.subjekt = QStringLiteral("SUBJ01");
    request.osoba = QStringLiteral("osoba1");
    request.heslo = QStringLiteral("n4bQgYhMfWWaL+qgxVrQFaO/TxsrC4Is0V1sFbDwCgg=");
    return request;
}

// The message of the TOrvError that call raises, or a null string.
void VerifyExchangeFailure(const QString& message, const QString& url) {
    const QString tail = QStringLiteral(" - URL:") + url + QStringLiteral(" - SOAPAction:") +
                         QString::fromUtf8(CheckLoginAction);
    QVERIFY2(message.endsWith(tail), qPrintable(message));
    QVERIFY2(message.size() > tail.size(), qPrintable(message));
}

} // namespace

class TstPortalHttp : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void checkLoginOverHttp();
    void httpStatusFails_data();
    void httpStatusFails();
    void faultRead_data();
    void faultRead();
    void contentType_data();
    void contentType();
    void framingDoesNotMatter_data();
    void framingDoesNotMatter();
    void connectionRefused();
    void stalledServerTimesOut();
    void connectionKeptAliveAcrossCalls();
    void callAfterDroppedConnectionWorks();
    void oversizedAnswerRefused();
    void httpsUntrustedRefused();
    void httpsTestCaAccepted();
};

void TstPortalHttp::checkLoginOverHttp() {
    TTestHttpServer server;
    server.Enqueue(Answer(CheckLoginAnswer(0, "")));
    TBoundProxy bound(server.Url());
    const auto response = bound.Portal.CheckLogin(Credentials());
    QVERIFY(response);
    QCOMPARE(response->CheckLoginResult, 0);

    const TTestHttpRequest sent = server.LastRequest();
    QCOMPARE(sent.Target, QByteArray("/TirsaOrvWeb/PortalService.svc"));
    QCOMPARE(sent.Header("SOAPAction"), "\"" + CheckLoginAction + "\"");
    QCOMPARE(sent.Header("Content-Type"), QByteArray("text/xml; charset=\"utf-8\""));
    QCOMPARE(sent.Header("Content-Length"), QByteArray::number(sent.Body.size()));
    QVERIFY2(sent.Body.contains("<CheckLogin xmlns=\"" + Contract +
                                "\"><subjekt>SUBJ01</subjekt><osoba>osoba1</osoba><heslo>"),
             sent.Body.constData());
}

void TstPortalHttp::httpStatusFails_data() {
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("reason");
    QTest::newRow("404") << 404 << QByteArray("Not Found");
    QTest::newRow("300") << 300 << QByteArray("Multiple Choices");
    QTest::newRow("503") << 503 << QByteArray("Service Unavailable");
}

void TstPortalHttp::httpStatusFails() {
    QFETCH(int, status);
    QFETCH(QByteArray, reason);
    TTestHttpServer server;
    // A fault body: were it parsed, the message would be its faultstring.
    server.Enqueue(Answer(FaultAnswer, status, reason));
    TBoundProxy bound(server.Url());
    const QString message = ErrorOf([&] { bound.Portal.CheckLogin(Credentials()); });
    QCOMPARE(message, QStringLiteral("%1 (%2) - '%3'")
                          .arg(QString::fromLatin1(reason), QString::number(status), server.Url()));
}

void TstPortalHttp::faultRead_data() {
    QTest::addColumn<int>("status");
    QTest::newRow("status 500") << 500;
    QTest::newRow("status 200") << 200;
}

void TstPortalHttp::faultRead() {
    QFETCH(int, status);
    TTestHttpServer server;
    server.Enqueue(Answer(FaultAnswer, status, status == 500 ? "Internal Server Error" : "OK"));
    TBoundProxy bound(server.Url());
    try {
        bound.Portal.CheckLogin(Credentials());
        QFAIL("the fault was not raised");
    } catch (const TSoapFault& fault) {
        QCOMPARE(fault.message(), FaultText);
        QCOMPARE(fault.FaultCode, QStringLiteral("a:InternalServiceFault"));
    }
}

void TstPortalHttp::contentType_data() {
    QTest::addColumn<QByteArray>("contentType");
    QTest::addColumn<bool>("refused");
    QTest::newRow("text/html") << QByteArray("text/html") << true;
    QTest::newRow("text/plain") << QByteArray("text/plain") << true;
    QTest::newRow("letter case ignored") << QByteArray("Text/HTML") << true;
    QTest::newRow("html with charset") << QByteArray("text/html; charset=utf-8") << false;
    QTest::newRow("text/xml") << QByteArray("text/xml; charset=utf-8") << false;
    QTest::newRow("none") << QByteArray() << false;
}

void TstPortalHttp::contentType() {
    QFETCH(QByteArray, contentType);
    QFETCH(bool, refused);
    TTestHttpServer server;
    TTestHttpAnswer answer = Answer(CheckLoginAnswer(3, "x"));
    answer.ContentType = contentType;
    server.Enqueue(answer);
    TBoundProxy bound(server.Url());
    std::unique_ptr<CheckLoginResponse> response;
    const QString message = ErrorOf([&] { response = bound.Portal.CheckLogin(Credentials()); });
    if (refused) {
        QCOMPARE(message, QStringLiteral("Received content of invalid Content-Type setting: %1 - "
                                         "SOAP expects \"text/xml\"")
                              .arg(QString::fromLatin1(contentType)));
    } else {
        QCOMPARE(message, NoError);
        QVERIFY(response);
        QCOMPARE(response->CheckLoginResult, 3);
    }
}

void TstPortalHttp::framingDoesNotMatter_data() {
    QTest::addColumn<bool>("chunked");
    QTest::addColumn<bool>("byteOrderMark");
    QTest::newRow("chunked") << true << false;
    QTest::newRow("byte-order mark") << false << true;
    QTest::newRow("chunked with byte-order mark") << true << true;
}

void TstPortalHttp::framingDoesNotMatter() {
    QFETCH(bool, chunked);
    QFETCH(bool, byteOrderMark);
    TTestHttpServer server;
    TTestHttpAnswer answer =
        Answer((byteOrderMark ? "\xEF\xBB\xBF" : "") + CheckLoginAnswer(7, "Nespr\xC3\xA1vne"));
    answer.Chunked = chunked;
    answer.ChunkBytes = 16;
    server.Enqueue(answer);
    TBoundProxy bound(server.Url());
    const auto response = bound.Portal.CheckLogin(Credentials());
    QVERIFY(response);
    QCOMPARE(response->CheckLoginResult, 7);
    QCOMPARE(response->popisChyby, QStringLiteral("Nesprávne"));
}

void TstPortalHttp::connectionRefused() {
    const QString url = QStringLiteral("http://127.0.0.1:%1/TirsaOrvWeb/PortalService.svc")
                            .arg(TTestHttpServer::UnusedPort());
    TBoundProxy bound(url);
    const QString message = ErrorOf([&] { bound.Portal.CheckLogin(Credentials()); });
    VerifyExchangeFailure(message, url);
}

void TstPortalHttp::stalledServerTimesOut() {
    TTestHttpServer server;
    TTestHttpAnswer answer = Answer(CheckLoginAnswer(0, ""));
    answer.StallAfterBytes = 20;
    answer.StallMs = 20000;
    server.Enqueue(answer);
    TBoundProxy bound(server.Url());
    bound.Proxy.Timeouts.ReceiveMs = 300;
    const QString message = ErrorOf([&] { bound.Portal.CheckLogin(Credentials()); });
    VerifyExchangeFailure(message, server.Url());
    QVERIFY2(message.startsWith(QStringLiteral("Operation timed out after 300 milliseconds")),
             qPrintable(message));
}

void TstPortalHttp::connectionKeptAliveAcrossCalls() {
    TTestHttpServer server;
    server.SetDefaultAnswer(Answer(CheckLoginAnswer(0, "")));
    TBoundProxy bound(server.Url());
    bound.Portal.CheckLogin(Credentials());
    bound.Portal.CheckLogin(Credentials());
    QCOMPARE(server.RequestCount(), 2);
    QCOMPARE(server.ConnectionCount(), 1);
}

void TstPortalHttp::callAfterDroppedConnectionWorks() {
    TTestHttpServer server;
    TTestHttpAnswer dropped;
    dropped.DropConnection = true;
    server.Enqueue(dropped);
    server.SetDefaultAnswer(Answer(CheckLoginAnswer(0, "")));
    TBoundProxy bound(server.Url());
    VerifyExchangeFailure(ErrorOf([&] { bound.Portal.CheckLogin(Credentials()); }), server.Url());
    QCOMPARE(bound.Portal.CheckLogin(Credentials())->CheckLoginResult, 0);
    QCOMPARE(server.LastRequest().Connection, 2);
}

void TstPortalHttp::oversizedAnswerRefused() {
    TTestHttpServer server;
    server.Enqueue(Answer(CheckLoginAnswer(0, QByteArray(2000, 'x'))));
    TTransportOptions options;
    options.ResponseLimit = 1000;
    TBoundProxy bound(server.Url(), CreateDefaultTransport(options));
    const QString message = ErrorOf([&] { bound.Portal.CheckLogin(Credentials()); });
    VerifyExchangeFailure(message, server.Url());
    QVERIFY2(message.startsWith(QStringLiteral("Response larger than 1000 bytes refused")),
             qPrintable(message));
}

void TstPortalHttp::httpsUntrustedRefused() {
    if (!TTestHttpServer::HasTls())
        QSKIP("The test server's TLS modes need OpenSSL, which this build has not");
    TTestHttpServer server(TTestHttpServer::TMode::Https);
    server.SetDefaultAnswer(Answer(CheckLoginAnswer(0, "")));
    TBoundProxy bound(server.Url());
    const QString message = ErrorOf([&] { bound.Portal.CheckLogin(Credentials()); });
    VerifyExchangeFailure(message, server.Url());
    QVERIFY2(message.startsWith(QStringLiteral("The certificate of 127.0.0.1 is not trusted: ")),
             qPrintable(message));
    QCOMPARE(server.RequestCount(), 0);
}

void TstPortalHttp::httpsTestCaAccepted() {
    if (!TTestHttpServer::HasTls())
        QSKIP("The test server's TLS modes need OpenSSL, which this build has not");
    TTestHttpServer server(TTestHttpServer::TMode::Https);
    server.SetDefaultAnswer(Answer(CheckLoginAnswer(0, "")));
    TTransportOptions options;
    options.ExtraCaFile = TTestHttpServer::CaFile();
    TBoundProxy bound(server.Url(), CreateDefaultTransport(options));
    QCOMPARE(bound.Portal.CheckLogin(Credentials())->CheckLoginResult, 0);
    QCOMPARE(server.LastRequest().Header("SOAPAction"), "\"" + CheckLoginAction + "\"");
}

QTEST_GUILESS_MAIN(TstPortalHttp)
#include "tst_portal_http.moc"
