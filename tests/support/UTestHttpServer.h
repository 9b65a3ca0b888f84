#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <functional>
#include <memory>

// A scripted HTTP/1.1 server on 127.0.0.1 for tests.
//
// It listens on a free port from construction until destruction (or until it
// has seen nothing for idleLimitMs, so a hung test never leaves it running;
// <= 0 means no idle limit),
// serves each connection on its own thread, records every request as received
// and answers from a queue of scripted answers, else with the default answer.
// Connections are kept alive unless the request or the answer says otherwise.
// Request bodies are read by their Content-Length.
//
// Side effects on the test process: SIGPIPE is ignored (Winsock is started
// on Windows), and 127.0.0.1 and localhost are added to no_proxy so that
// loopback traffic never goes through a proxy from the environment.
//
//     TTestHttpServer server;
//     server.Enqueue({.Status = 404, .Reason = "Not Found"});
//     ... post to server.Url() ...
//     QCOMPARE(server.Requests().at(0).Header("SOAPAction"), ...);

// One answer. The defaults give "200 OK" with a text/xml body of
// Content-Length framing, on a connection that stays open.
struct TTestHttpAnswer {
    int Status = 200;
    QByteArray Reason = "OK";
    QByteArray ContentType = "text/xml; charset=utf-8"; // empty: no Content-Type header
    QByteArray Body;
    QList<QPair<QByteArray, QByteArray>> Headers; // extra headers, after Content-Type
    bool Chunked = false; // Transfer-Encoding: chunked, ChunkBytes per chunk
    int ChunkBytes = 7;
    int DelayMs = 0;             // wait before the status line
    int StallAfterBytes = -1;    // >= 0: stop after this many body bytes ...
    int StallMs = 0;             // ... for this long, then send the rest
    bool DropConnection = false; // close the connection without any answer
    bool Close = false;          // send "Connection: close" and close after the answer
    QByteArray Raw;              // when set, sent verbatim instead of all the above
};

// One request as it arrived.
struct TTestHttpRequest {
    QByteArray Method;
    QByteArray Target;                            // path and query as in the request line
    QByteArray Version;                           // "HTTP/1.1"
    QList<QPair<QByteArray, QByteArray>> Headers; // in the order received, as sent
    QByteArray Head; // request line and header lines, raw, up to the blank line
    QByteArray Body;
    int Connection = 0;     // 1 for the first connection accepted, 2 for the next ...
    quint16 ClientPort = 0; // the client's port of that connection

    // Value of the first header of that name (letter case ignored), else empty.
    QByteArray Header(const QByteArray& name) const;
    bool HasHeader(const QByteArray& name) const;
    QList<QByteArray> HeaderNames() const;
};

class TTestHttpServer {
public:
    enum class TMode {
        Http,
        Https,          // certificate for 127.0.0.1 and localhost, issued by the test CA
        HttpsWrongName, // issued by the test CA, but for another host name only
    };

    explicit TTestHttpServer(TMode mode = TMode::Http, int idleLimitMs = 120000);
    ~TTestHttpServer();
    TTestHttpServer(const TTestHttpServer&) = delete;
    TTestHttpServer& operator=(const TTestHttpServer&) = delete;

    quint16 Port() const;
    // "http://127.0.0.1:PORT/TirsaOrvWeb/PortalService.svc" ("https://" in TLS modes).
    QString Url() const;
    // "http://127.0.0.1:PORT" without a path.
    QString BaseUrl() const;
    // PEM file of the test CA that issued the server certificate (TLS modes);
    // made at run time in a temporary folder that lives as long as the process.
    static QString CaFile();
    // Whether the TLS modes are built in (they need OpenSSL, which the Windows
    // build does not have); without, they throw std::runtime_error.
    static bool HasTls();

    // Answers are used in order, one per request; when none is queued the
    // responder decides, and without one the default answer is given.
    void Enqueue(const TTestHttpAnswer& answer);
    void SetDefaultAnswer(const TTestHttpAnswer& answer);
    // Called on a connection's thread, never under the server's lock.
    using TResponder = std::function<TTestHttpAnswer(const TTestHttpRequest&)>;
    void SetResponder(TResponder responder);

    QList<TTestHttpRequest> Requests() const;
    int RequestCount() const;
    TTestHttpRequest LastRequest() const; // the last one recorded (empty if none)
    int ConnectionCount() const;          // connections accepted so far
    bool IsRunning() const;               // false once stopped by the idle limit
    void ClearRequests();

    // A loopback port on which nothing listens at the moment of the call.
    static quint16 UnusedPort();

private:
    class TImpl;
    std::unique_ptr<TImpl> Impl;
};
