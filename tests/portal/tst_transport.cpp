#include "UErrorOf.h"
#include "UOrvError.h"
#include "USystemText.h"
#include "UTestHttpServer.h"
#include "UTestSocket.h"
#include "UTransport.h"

#include "OrvConfig.h"

#include <QRegularExpression>
#include <QTest>

#include <functional>

Q_DECLARE_METATYPE(TTestHttpAnswer)
Q_DECLARE_METATYPE(TTestHttpServer::TMode)

namespace {

const QByteArray Action = QByteArray(OrvConfig::ContractNamespace) + "/IPortal/CheckLogin";

THttpRequest Request(const QString& url, const QByteArray& body = "<Envelope/>") {
    THttpRequest request;
    request.Url = url;
    request.SoapAction = Action;
    request.Body = body;
    return request;
}

// The message of the TOrvError that call raises, or a null string.
// The exact form of an exchange failure, with a non-empty detail of one line.
void VerifyExchangeFailure(const QString& message, const QString& url) {
    const QString tail = QStringLiteral(" - URL:") + url + QStringLiteral(" - SOAPAction:") +
                         QString::fromUtf8(Action);
    QVERIFY2(message.endsWith(tail), qPrintable(message));
    const QString detail = message.chopped(tail.size());
    QVERIFY2(!detail.trimmed().isEmpty(), qPrintable(message));
    QVERIFY2(!detail.contains(u'\n') && !detail.contains(u'\r'), qPrintable(message));
}

// A socket that listens on 127.0.0.1 but never accepts: the kernel completes
// connections and buffers what arrives, and nothing ever answers.
class TSilentListener {
public:
    TSilentListener()
        : Fd(TestSocket::OpenTcp()) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        TestSocket::TLength length = sizeof(address);
        if (Fd == TestSocket::Invalid ||
            ::bind(Fd, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            ::listen(Fd, 4) != 0 ||
            ::getsockname(Fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            qFatal("cannot listen on 127.0.0.1");
        Port = ntohs(address.sin_port);
    }
    ~TSilentListener() { TestSocket::Close(Fd); }
    TSilentListener(const TSilentListener&) = delete;
    TSilentListener& operator=(const TSilentListener&) = delete;

    QString Url() const {
        return QStringLiteral("http://127.0.0.1:%1/TirsaOrvWeb/PortalService.svc").arg(Port);
    }

private:
    TestSocket::THandle Fd;
    quint16 Port = 0;
};

} // namespace

class TstTransport : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void requestAsSent_data();
    void requestAsSent();
    void responseReturnedUnjudged_data();
    void responseReturnedUnjudged();
    void interimAnswerSkipped();
    void connectionRefused();
    void stalledExchangeFails_data();
    void stalledExchangeFails();
    void silentPeerTimesOut_data();
    void silentPeerTimesOut();
    void slowButSteadyAnswerAccepted();
    void connectionKeptAlive();
    void nextCallAfterFailureWorks_data();
    void nextCallAfterFailureWorks();
    void oversizedBodyRefused_data();
    void oversizedBodyRefused();
    void httpsUntrustedRefused_data();
    void httpsUntrustedRefused();
    void httpsTestCaAccepted();
    void caBundleFromEnvironment();
    void missingCaFileReported();
    void proxyFromEnvironment();
    void headerInjectionRefused();
    void idleTestServerStopsItself();
};

void TstTransport::requestAsSent_data() {
    QTest::addColumn<QString>("query");
    QTest::addColumn<QByteArray>("body");
    QTest::newRow("plain") << QString() << QByteArray("<Envelope/>");
    QTest::newRow("utf-8 and query")
        << QStringLiteral("?a=1&b=2") << QStringLiteral("<x>Písomnosť €</x>").toUtf8();
    // Past libcurl's threshold for announcing "Expect: 100-continue".
    QTest::newRow("large") << QString() << QByteArray(3 * 1024 * 1024, 'x');
    QTest::newRow("empty") << QString() << QByteArray();
}

void TstTransport::requestAsSent() {
    QFETCH(QString, query);
    QFETCH(QByteArray, body);
    TTestHttpServer server;
    const auto transport = CreateDefaultTransport();
    const THttpResponse response = transport->Post(Request(server.Url() + query, body));
    QCOMPARE(response.Status, 200);

    QCOMPARE(server.RequestCount(), 1);
    const TTestHttpRequest sent = server.LastRequest();
    QCOMPARE(sent.Method, QByteArray("POST"));
    QCOMPARE(sent.Version, QByteArray("HTTP/1.1"));
    QCOMPARE(sent.Target, "/TirsaOrvWeb/PortalService.svc" + query.toUtf8());
    // Nothing beyond these: no Accept, no Expect, no upgrade offer.
#ifdef Q_OS_WIN
    // WinHTTP writes its own headers before the caller's and asks for the
    // connection to be kept, which HTTP/1.1 implies anyway.
    const QList<QByteArray> names{"User-Agent", "Host",       "Content-Length",
                                  "Connection", "SOAPAction", "Content-Type"};
#else
    const QList<QByteArray> names{"Host", "User-Agent", "SOAPAction", "Content-Type",
                                  "Content-Length"};
#endif
    QCOMPARE(sent.HeaderNames(), names);
#ifdef Q_OS_WIN
    const QByteArray expected = "SOAPAction: \"" + Action +
                                "\"\r\n"
                                "Content-Type: text/xml; charset=\"utf-8\"\r\n";
    QCOMPARE(sent.Header("Content-Length"), QByteArray::number(body.size()));
#else
    const QByteArray expected = "SOAPAction: \"" + Action +
                                "\"\r\n"
                                "Content-Type: text/xml; charset=\"utf-8\"\r\n"
                                "Content-Length: " +
                                QByteArray::number(body.size()) + "\r\n";
#endif
    QVERIFY2(sent.Head.endsWith(expected), sent.Head.constData());
    QCOMPARE(sent.Header("User-Agent"), QByteArray("ORV Duriza/") + OrvConfig::Version);
    QCOMPARE(sent.Body, body);
}

void TstTransport::responseReturnedUnjudged_data() {
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("reason");
    QTest::addColumn<QByteArray>("contentType");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("chunked");
    QTest::newRow("404") << 404 << QByteArray("Not Found") << QByteArray("text/html")
                         << QByteArray("<html>gone</html>") << false;
    QTest::newRow("500 fault") << 500 << QByteArray("Internal Server Error")
                               << QByteArray("text/xml; charset=utf-8")
                               << QByteArray("<s:Envelope/>") << false;
    QTest::newRow("302 not followed")
        << 302 << QByteArray("Found") << QByteArray() << QByteArray() << false;
    QTest::newRow("reason of two words kept as sent")
        << 503 << QByteArray("Service  Unavailable Now") << QByteArray("text/plain")
        << QByteArray("busy") << false;
    QTest::newRow("no reason phrase")
        << 200 << QByteArray() << QByteArray("text/xml") << QByteArray("<a/>") << false;
    QTest::newRow("chunked") << 200 << QByteArray("OK") << QByteArray("text/xml")
                             << QByteArray(1000, 'c') << true;
    QTest::newRow("byte-order mark kept") << 200 << QByteArray("OK") << QByteArray("text/xml")
                                          << QByteArray("\xEF\xBB\xBF<a/>") << false;
}

void TstTransport::responseReturnedUnjudged() {
    QFETCH(int, status);
    QFETCH(QByteArray, reason);
    QFETCH(QByteArray, contentType);
    QFETCH(QByteArray, body);
    QFETCH(bool, chunked);
    TTestHttpServer server;
    TTestHttpAnswer answer;
    answer.Status = status;
    answer.Reason = reason;
    answer.ContentType = contentType;
    answer.Body = body;
    answer.Chunked = chunked;
    answer.Headers = {{"Location", "http://127.0.0.1:1/elsewhere"}};
    server.Enqueue(answer);

    const THttpResponse response = CreateDefaultTransport()->Post(Request(server.Url()));
    QCOMPARE(response.Status, status);
    QCOMPARE(response.StatusText, reason.trimmed());
    QCOMPARE(response.ContentType, contentType);
    QCOMPARE(response.Body, body);
    QCOMPARE(server.RequestCount(), 1);
}

void TstTransport::interimAnswerSkipped() {
    if (UnderWine())
        QSKIP("Wine's WinHTTP fails on an interim answer that carries headers");
    TTestHttpServer server;
    TTestHttpAnswer answer;
    answer.Raw = "HTTP/1.1 100 Continue\r\nContent-Type: text/plain\r\n\r\n"
                 "HTTP/1.1 200 Fine\r\nContent-Type: text/xml\r\nContent-Length: 4\r\n\r\n<a/>";
    server.Enqueue(answer);
    const THttpResponse response = CreateDefaultTransport()->Post(Request(server.Url()));
    QCOMPARE(response.Status, 200);
    QCOMPARE(response.StatusText, QByteArray("Fine"));
    QCOMPARE(response.ContentType, QByteArray("text/xml"));
    QCOMPARE(response.Body, QByteArray("<a/>"));
}

void TstTransport::connectionRefused() {
    const QString url = QStringLiteral("http://127.0.0.1:%1/TirsaOrvWeb/PortalService.svc")
                            .arg(TTestHttpServer::UnusedPort());
    const QString message = ErrorOf([&] { CreateDefaultTransport()->Post(Request(url)); });
    VerifyExchangeFailure(message, url);
}

void TstTransport::stalledExchangeFails_data() {
    QTest::addColumn<int>("delayMs");
    QTest::addColumn<int>("stallAfterBytes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no answer") << 20000 << -1 << QStringLiteral("without receiving data");
    QTest::newRow("after the head") << 0 << 0 << QStringLiteral("without receiving data");
    QTest::newRow("mid body") << 0 << 10 << QStringLiteral("without receiving data");
}

void TstTransport::stalledExchangeFails() {
    QFETCH(int, delayMs);
    QFETCH(int, stallAfterBytes);
    QFETCH(QString, expected);
    TTestHttpServer server;
    TTestHttpAnswer answer;
    answer.Body = QByteArray(100, 'b');
    answer.DelayMs = delayMs;
    answer.StallAfterBytes = stallAfterBytes;
    answer.StallMs = 20000;
    server.Enqueue(answer);

    THttpRequest request = Request(server.Url());
    request.Timeouts.ReceiveMs = 300;
    const QString message = ErrorOf([&] { CreateDefaultTransport()->Post(request); });
    VerifyExchangeFailure(message, server.Url());
    QVERIFY2(message.contains(expected), qPrintable(message));
}

void TstTransport::silentPeerTimesOut_data() {
    QTest::addColumn<int>("bodyBytes");
    QTest::addColumn<long>("sendMs");
    QTest::addColumn<long>("receiveMs");
    QTest::addColumn<QString>("expected");
    // Far more than the socket buffers on both sides take in.
    QTest::newRow("while sending") << 48 * 1024 * 1024 << 300L << 0L
                                   << QStringLiteral("300 milliseconds without sending data");
    QTest::newRow("while waiting")
        << 100 << 0L << 300L << QStringLiteral("300 milliseconds without receiving data");
}

void TstTransport::silentPeerTimesOut() {
    QFETCH(int, bodyBytes);
    QFETCH(long, sendMs);
    QFETCH(long, receiveMs);
    QFETCH(QString, expected);
    const TSilentListener peer;
    THttpRequest request = Request(peer.Url(), QByteArray(bodyBytes, 'p'));
    request.Timeouts.SendMs = sendMs;
    request.Timeouts.ReceiveMs = receiveMs;
    const QString message = ErrorOf([&] { CreateDefaultTransport()->Post(request); });
    VerifyExchangeFailure(message, peer.Url());
    QVERIFY2(message.startsWith(QStringLiteral("Operation timed out after ") + expected),
             qPrintable(message));
}

void TstTransport::slowButSteadyAnswerAccepted() {
    // Two pauses, each well under the limit, together longer than it.
    TTestHttpServer server;
    TTestHttpAnswer answer;
    answer.Body = QByteArray(100, 'b');
    answer.DelayMs = 700;
    answer.StallAfterBytes = 50;
    answer.StallMs = 700;
    server.Enqueue(answer);
    THttpRequest request = Request(server.Url());
    request.Timeouts.ReceiveMs = 1200;
    QCOMPARE(CreateDefaultTransport()->Post(request).Body, answer.Body);
}

void TstTransport::connectionKeptAlive() {
    TTestHttpServer server;
    server.SetResponder([](const TTestHttpRequest& request) {
        TTestHttpAnswer echo;
        echo.Body = request.Body;
        echo.ContentType = request.Body.size() > 4 ? "text/xml" : "";
        return echo;
    });
    // Nothing of one answer may leak into the next on the reused handle.
    const auto transport = CreateDefaultTransport();
    const THttpResponse first = transport->Post(Request(server.Url(), "<first/>"));
    const THttpResponse second = transport->Post(Request(server.Url(), "<2/>"));
    QCOMPARE(first.Body, QByteArray("<first/>"));
    QCOMPARE(first.ContentType, QByteArray("text/xml"));
    QCOMPARE(second.Body, QByteArray("<2/>"));
    QCOMPARE(second.ContentType, QByteArray());
    const QList<TTestHttpRequest> requests = server.Requests();
    QCOMPARE(requests.size(), 2);
    QCOMPARE(requests.at(0).Connection, 1);
    QCOMPARE(requests.at(1).Connection, 1);
    QCOMPARE(server.ConnectionCount(), 1);

    // Another transport has a connection of its own; Wine's WinHTTP shares
    // one pool between all sessions of a process.
    CreateDefaultTransport()->Post(Request(server.Url()));
    if (!UnderWine())
        QCOMPARE(server.LastRequest().Connection, 2);
}

void TstTransport::nextCallAfterFailureWorks_data() {
    QTest::addColumn<TTestHttpAnswer>("first");
    QTest::addColumn<bool>("firstFails");
    TTestHttpAnswer dropped;
    dropped.DropConnection = true;
    TTestHttpAnswer closed;
    closed.Close = true;
    TTestHttpAnswer stalled;
    stalled.StallAfterBytes = 0;
    stalled.StallMs = 20000;
    stalled.Body = "never";
    TTestHttpAnswer truncated;
    truncated.Raw = "HTTP/1.1 200 OK\r\nContent-Length: 50\r\n\r\nshort";
    truncated.Close = true;
    QTest::newRow("dropped without answer") << dropped << true;
    QTest::newRow("closed after answer") << closed << false;
    QTest::newRow("stalled") << stalled << true;
    QTest::newRow("truncated body") << truncated << true;
}

void TstTransport::nextCallAfterFailureWorks() {
    QFETCH(TTestHttpAnswer, first);
    QFETCH(bool, firstFails);
    TTestHttpServer server;
    server.Enqueue(first);
    TTestHttpAnswer second;
    second.Body = "<second/>";
    server.Enqueue(second);

    const auto transport = CreateDefaultTransport();
    THttpRequest request = Request(server.Url());
    request.Timeouts.ReceiveMs = 300;
    const QString message = ErrorOf([&] { transport->Post(request); });
    if (firstFails)
        VerifyExchangeFailure(message, server.Url());
    else
        QCOMPARE(message, NoError);

    QCOMPARE(transport->Post(Request(server.Url())).Body, QByteArray("<second/>"));
    QCOMPARE(server.RequestCount(), 2);
    QCOMPARE(server.LastRequest().Connection, 2);
}

void TstTransport::oversizedBodyRefused_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("chunked");
    QTest::addColumn<bool>("refused");
    QTest::newRow("at the bound") << 1000 << false << false;
    QTest::newRow("at the bound, chunked") << 1000 << true << false;
    QTest::newRow("announced length past the bound") << 1001 << false << true;
    QTest::newRow("chunked past the bound") << 5000 << true << true;
}

void TstTransport::oversizedBodyRefused() {
    QFETCH(int, size);
    QFETCH(bool, chunked);
    QFETCH(bool, refused);
    TTestHttpServer server;
    TTestHttpAnswer answer;
    answer.Body = QByteArray(size, 'z');
    answer.Chunked = chunked;
    answer.ChunkBytes = 300;
    server.Enqueue(answer);

    TTransportOptions options;
    options.ResponseLimit = 1000;
    const auto transport = CreateDefaultTransport(options);
    QByteArray body;
    const QString message = ErrorOf([&] { body = transport->Post(Request(server.Url())).Body; });
    if (refused) {
        VerifyExchangeFailure(message, server.Url());
        QVERIFY2(message.startsWith(QStringLiteral("Response larger than 1000 bytes refused")),
                 qPrintable(message));
    } else {
        QCOMPARE(message, NoError);
        QCOMPARE(body, answer.Body);
    }
    // The transport stays usable.
    QCOMPARE(transport->Post(Request(server.Url())).Status, 200);
}

void TstTransport::httpsUntrustedRefused_data() {
    QTest::addColumn<TTestHttpServer::TMode>("mode");
    QTest::addColumn<bool>("trustTestCa");
    QTest::newRow("unknown authority") << TTestHttpServer::TMode::Https << false;
    QTest::newRow("name does not match") << TTestHttpServer::TMode::HttpsWrongName << true;
}

void TstTransport::httpsUntrustedRefused() {
    if (!TTestHttpServer::HasTls())
        QSKIP("The test server's TLS modes need OpenSSL, which this build has not");
    QFETCH(TTestHttpServer::TMode, mode);
    QFETCH(bool, trustTestCa);
    TTestHttpServer server(mode);
    TTransportOptions options;
    if (trustTestCa)
        options.ExtraCaFile = TTestHttpServer::CaFile();
    const QString message =
        ErrorOf([&] { CreateDefaultTransport(options)->Post(Request(server.Url())); });
    VerifyExchangeFailure(message, server.Url());
    QVERIFY2(message.startsWith(QStringLiteral("The certificate of 127.0.0.1 is not trusted: ")),
             qPrintable(message));
    QCOMPARE(server.RequestCount(), 0);
}

void TstTransport::httpsTestCaAccepted() {
    if (!TTestHttpServer::HasTls())
        QSKIP("The test server's TLS modes need OpenSSL, which this build has not");
    TTestHttpServer server(TTestHttpServer::TMode::Https);
    TTestHttpAnswer answer;
    answer.Body = "<secure/>";
    server.SetDefaultAnswer(answer);
    TTransportOptions options;
    options.ExtraCaFile = TTestHttpServer::CaFile();
    const auto transport = CreateDefaultTransport(options);
    QCOMPARE(transport->Post(Request(server.Url(), "<one/>")).Body, QByteArray("<secure/>"));
    QCOMPARE(transport->Post(Request(server.Url(), "<two/>")).Body, QByteArray("<secure/>"));
    const QList<TTestHttpRequest> requests = server.Requests();
    QCOMPARE(requests.size(), 2);
    QCOMPARE(requests.at(1).Body, QByteArray("<two/>"));
    QCOMPARE(requests.at(1).Connection, 1);
}

void TstTransport::caBundleFromEnvironment() {
    if (!TTestHttpServer::HasTls())
        QSKIP("The test server's TLS modes need OpenSSL, which this build has not");
    TTestHttpServer server(TTestHttpServer::TMode::Https);
    qputenv("ORV_CA_BUNDLE", TTestHttpServer::CaFile().toLocal8Bit());
    const auto transport = CreateDefaultTransport();
    qunsetenv("ORV_CA_BUNDLE");
    QCOMPARE(transport->Post(Request(server.Url())).Status, 200);
}

void TstTransport::missingCaFileReported() {
    TTransportOptions options;
    options.ExtraCaFile = QStringLiteral("/nonexistent/orv-ca.pem");
    const QString message = ErrorOf([&] { CreateDefaultTransport(options); });
    QVERIFY2(message.startsWith(
                 QStringLiteral("Cannot read the certificate file '/nonexistent/orv-ca.pem'")),
             qPrintable(message));
}

void TstTransport::proxyFromEnvironment() {
#ifdef Q_OS_WIN
    QSKIP("WinHTTP takes the proxy from the user's Internet settings, not from the environment");
#endif
    // The test server stands in for the proxy: the request reaches it in
    // absolute form, and the portal's host is never resolved here.
    TTestHttpServer proxy;
    const QString url = QStringLiteral("http://orv-portal.example/TirsaOrvWeb/PortalService.svc");
    qputenv("http_proxy", proxy.BaseUrl().toLatin1());
    const QString message = ErrorOf([&] { CreateDefaultTransport()->Post(Request(url)); });
    qunsetenv("http_proxy");
    QCOMPARE(message, NoError);
    QCOMPARE(proxy.RequestCount(), 1);
    QCOMPARE(proxy.LastRequest().Target, url.toLatin1());
    QCOMPARE(proxy.LastRequest().Header("SOAPAction"), "\"" + Action + "\"");
}

void TstTransport::headerInjectionRefused() {
    TTestHttpServer server;
    THttpRequest request = Request(server.Url());
    request.SoapAction = Action + "\r\nX-Injected: 1";
    const QString message = ErrorOf([&] { CreateDefaultTransport()->Post(request); });
    QVERIFY2(message.startsWith(QStringLiteral("Invalid SOAPAction - URL:")), qPrintable(message));
    QCOMPARE(server.RequestCount(), 0);
}

void TstTransport::idleTestServerStopsItself() {
    TTestHttpServer server(TTestHttpServer::TMode::Http, 200);
    const auto transport = CreateDefaultTransport();
    QCOMPARE(transport->Post(Request(server.Url())).Status, 200);
    QTRY_VERIFY_WITH_TIMEOUT(!server.IsRunning(), 10000);
    // Kept-alive connections are closed and new ones refused.
    VerifyExchangeFailure(ErrorOf([&] { transport->Post(Request(server.Url())); }), server.Url());
}

QTEST_GUILESS_MAIN(TstTransport)
#include "tst_transport.moc"
