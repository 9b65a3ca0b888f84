#include "UTestHttpServer.h"

#include "UTestSocket.h"
#if ORV_TEST_TLS
#include "UTestTlsMaterial.h"
#endif

#include <QByteArrayView>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <deque>
#include <list>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

using TClock = std::chrono::steady_clock;

constexpr int PollStepMs = 50;
constexpr qsizetype MaxHeadBytes = 1024 * 1024;

using TestSocket::THandle;

#if ORV_TEST_TLS
struct TSslFree {
    void operator()(SSL* ssl) const { SSL_free(ssl); }
};
#endif

qint64 NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(TClock::now().time_since_epoch())
        .count();
}

void PrepareProcess() {
    static std::once_flag once;
    std::call_once(once, [] {
        TestSocket::Startup();
#ifdef SIGPIPE
        // A client that gives up mid-answer must not kill the test with SIGPIPE
        // (TLS writes go through write(), which has no MSG_NOSIGNAL).
        std::signal(SIGPIPE, SIG_IGN);
#endif
        for (const char* name : {"no_proxy", "NO_PROXY"}) {
            QByteArray value = qgetenv(name);
            if (!value.isEmpty())
                value += ',';
            qputenv(name, value + "127.0.0.1,localhost");
        }
    });
}

sockaddr_in Loopback(quint16 port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// A socket descriptor owned by its object.
class TSocket {
public:
    explicit TSocket(THandle fd = TestSocket::Invalid)
        : Fd(fd) {}
    ~TSocket() { Close(); }
    TSocket(const TSocket&) = delete;
    TSocket& operator=(const TSocket&) = delete;
    THandle Get() const { return Fd; }
    bool IsValid() const { return Fd != TestSocket::Invalid; }
    void Close() {
        if (IsValid())
            TestSocket::Close(Fd);
        Fd = TestSocket::Invalid;
    }

private:
    THandle Fd;
};

quint16 BoundPort(THandle fd) {
    sockaddr_in address{};
    TestSocket::TLength length = sizeof(address);
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("test server: getsockname failed");
    return ntohs(address.sin_port);
}

QByteArray Trimmed(QByteArrayView text) {
    return text.trimmed().toByteArray();
}

} // namespace

QByteArray TTestHttpRequest::Header(const QByteArray& name) const {
    for (const auto& [key, value] : Headers)
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    return {};
}

bool TTestHttpRequest::HasHeader(const QByteArray& name) const {
    for (const auto& header : Headers)
        if (header.first.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QList<QByteArray> TTestHttpRequest::HeaderNames() const {
    QList<QByteArray> names;
    for (const auto& header : Headers)
        names.append(header.first);
    return names;
}

namespace {

// What the connection helpers share with the server: the stop flag, the
// activity clock for the idle limit, and interruptible waits.
class TControl {
public:
    explicit TControl(int idleLimitMs)
        : IdleLimitMs(idleLimitMs) {}

    mutable std::mutex Mutex;
    std::condition_variable Wake;
    bool Stopping = false; // guarded by Mutex

    void Touch() { LastActivity = NowMs(); }
    bool Idle() const { return IdleLimitMs > 0 && NowMs() - LastActivity.load() > IdleLimitMs; }
    bool IsStopping() const {
        std::lock_guard lock(Mutex);
        return Stopping;
    }
    // Sleeps for ms; false when the server stops meanwhile.
    bool SleepFor(int ms) {
        std::unique_lock lock(Mutex);
        Wake.wait_for(lock, std::chrono::milliseconds(qMax(0, ms)), [this] { return Stopping; });
        return !Stopping;
    }

private:
    const int IdleLimitMs;
    std::atomic<qint64> LastActivity{NowMs()};
};

} // namespace

class TTestHttpServer::TImpl {
public:
    TImpl(TMode mode, int idleLimitMs);
    ~TImpl();

    const TMode Mode;
    TControl Control;
    TSocket Listener;
    quint16 Port = 0;
#if ORV_TEST_TLS
    TestTls::TSslCtx Ctx;
#endif

    // Guarded by Control.Mutex.
    std::deque<TTestHttpAnswer> Queue;
    TTestHttpAnswer Default;
    TTestHttpServer::TResponder Responder;
    QList<TTestHttpRequest> Recorded;
    int Connections = 0;
    std::set<THandle> OpenFds;
    std::list<std::thread> Workers;
    std::vector<std::thread::id> Finished; // workers done, to be joined

    std::thread Acceptor;

    void Stop();
    // Joins the workers that have ended, so a long run does not pile them up.
    // Called under Control.Mutex.
    void ReapFinished();
    void AcceptLoop();
    void Serve(THandle fd, int number, quint16 clientPort);
};

namespace {

// One accepted connection, plain or TLS.
class TConnection {
public:
    TConnection(TControl& server, THandle fd)
        : Server(server)
        , Fd(fd) {}

#if ORV_TEST_TLS
    bool StartTls(SSL_CTX* ctx) {
        Ssl.reset(SSL_new(ctx));
        return Ssl && SSL_set_fd(Ssl.get(), Fd) == 1 && SSL_accept(Ssl.get()) == 1;
    }
#endif

    // Appends what arrives next; false on close, error, stop or idle limit.
    bool ReadSome(QByteArray& into) {
        while (!Pending()) {
            if (Server.IsStopping() || Server.Idle())
                return false;
            const int ready = TestSocket::WaitReadable(Fd, PollStepMs);
            if (ready < 0)
                return false;
            if (ready > 0)
                break;
        }
        char chunk[16384];
#if ORV_TEST_TLS
        const qsizetype got = Ssl ? SSL_read(Ssl.get(), chunk, int(sizeof(chunk)))
                                  : TestSocket::Receive(Fd, chunk, int(sizeof(chunk)));
#else
        const qsizetype got = TestSocket::Receive(Fd, chunk, int(sizeof(chunk)));
#endif
        if (got <= 0)
            return false;
        into.append(chunk, got);
        Server.Touch();
        return true;
    }

    bool Write(QByteArrayView bytes) {
        while (!bytes.isEmpty()) {
#if ORV_TEST_TLS
            const qsizetype sent = Ssl ? SSL_write(Ssl.get(), bytes.data(), int(bytes.size()))
                                       : TestSocket::Send(Fd, bytes.data(), int(bytes.size()));
#else
            const qsizetype sent = TestSocket::Send(Fd, bytes.data(), int(bytes.size()));
#endif
            if (sent <= 0)
                return false;
            bytes = bytes.sliced(sent);
            Server.Touch();
        }
        return true;
    }

private:
    // TLS may hold decrypted bytes that the socket no longer shows.
    bool Pending() const {
#if ORV_TEST_TLS
        return Ssl && SSL_pending(Ssl.get()) > 0;
#else
        return false;
#endif
    }

    TControl& Server;
    THandle Fd;
#if ORV_TEST_TLS
    std::unique_ptr<SSL, TSslFree> Ssl;
#endif
};

bool ParseHead(const QByteArray& head, TTestHttpRequest& request) {
    const QList<QByteArray> lines = head.split('\n');
    const QList<QByteArray> requestLine = Trimmed(lines.value(0)).split(' ');
    if (requestLine.size() != 3)
        return false;
    request.Method = requestLine.at(0);
    request.Target = requestLine.at(1);
    request.Version = requestLine.at(2);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = Trimmed(lines.at(i));
        if (line.isEmpty())
            continue;
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0)
            return false;
        request.Headers.append({line.left(colon), Trimmed(QByteArrayView(line).sliced(colon + 1))});
    }
    return true;
}

bool WantsClose(const TTestHttpRequest& request) {
    const QByteArray connection = request.Header("Connection").toLower();
    if (request.Version == "HTTP/1.0")
        return !connection.contains("keep-alive");
    return connection.contains("close");
}

// Writes body bytes, pausing once after answer.StallAfterBytes of them.
class TBodyWriter {
public:
    TBodyWriter(TConnection& connection, TControl& server, const TTestHttpAnswer& answer)
        : Connection(connection)
        , Server(server)
        , Answer(answer) {}

    bool Write(QByteArrayView bytes) {
        if (!Stalled && Answer.StallAfterBytes >= 0 &&
            Sent + bytes.size() >= Answer.StallAfterBytes) {
            const qsizetype before = Answer.StallAfterBytes - Sent;
            if (!Connection.Write(bytes.first(before)))
                return false;
            Sent += before;
            bytes = bytes.sliced(before);
            Stalled = true;
            if (!Server.SleepFor(Answer.StallMs))
                return false;
        }
        Sent += bytes.size();
        return Connection.Write(bytes);
    }

private:
    TConnection& Connection;
    TControl& Server;
    const TTestHttpAnswer& Answer;
    qsizetype Sent = 0;
    bool Stalled = false;
};

// Sends the answer; false when the connection is to be closed afterwards.
bool SendAnswer(TConnection& connection, TControl& server, const TTestHttpAnswer& answer,
                const TTestHttpRequest& request) {
    if (answer.DropConnection || !server.SleepFor(answer.DelayMs))
        return false;
    const bool keep = !answer.Close && !WantsClose(request);
    if (!answer.Raw.isEmpty())
        return connection.Write(answer.Raw) && keep;

    QByteArray head =
        "HTTP/1.1 " + QByteArray::number(answer.Status) + ' ' + answer.Reason + "\r\n";
    if (!answer.ContentType.isEmpty())
        head += "Content-Type: " + answer.ContentType + "\r\n";
    for (const auto& [name, value] : answer.Headers)
        head += name + ": " + value + "\r\n";
    if (answer.Chunked)
        head += "Transfer-Encoding: chunked\r\n";
    else
        head += "Content-Length: " + QByteArray::number(answer.Body.size()) + "\r\n";
    if (!keep)
        head += "Connection: close\r\n";
    head += "\r\n";
    if (!connection.Write(head))
        return false;

    TBodyWriter body(connection, server, answer);
    if (!answer.Chunked)
        return body.Write(answer.Body) && keep;
    const qsizetype step = qMax(1, answer.ChunkBytes);
    for (qsizetype at = 0; at < answer.Body.size(); at += step) {
        const QByteArrayView chunk =
            QByteArrayView(answer.Body).sliced(at).first(qMin(step, answer.Body.size() - at));
        if (!connection.Write(QByteArray::number(chunk.size(), 16) + "\r\n") ||
            !body.Write(chunk) || !connection.Write("\r\n"))
            return false;
    }
    return connection.Write("0\r\n\r\n") && keep;
}

} // namespace

TTestHttpServer::TImpl::TImpl(TMode mode, int idleLimitMs)
    : Mode(mode)
    , Control(idleLimitMs)
    , Listener(TestSocket::OpenTcp()) {
    PrepareProcess();
#if ORV_TEST_TLS
    if (Mode != TMode::Http)
        Ctx = TestTls::NewServerContext(Mode == TMode::HttpsWrongName);
#else
    if (Mode != TMode::Http)
        throw std::runtime_error("test server: built without TLS");
#endif
    const sockaddr_in address = Loopback(0);
    if (!Listener.IsValid() ||
        ::bind(Listener.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
        ::listen(Listener.Get(), 16) != 0)
        throw std::runtime_error("test server: cannot listen on 127.0.0.1");
    Port = BoundPort(Listener.Get());
    Acceptor = std::thread(&TImpl::AcceptLoop, this);
}

TTestHttpServer::TImpl::~TImpl() {
    Stop();
    Acceptor.join();
    // The acceptor has ended, so no worker is added any more.
    for (std::thread& worker : Workers)
        worker.join();
}

void TTestHttpServer::TImpl::Stop() {
    {
        std::lock_guard lock(Control.Mutex);
        Control.Stopping = true;
        // Wakes workers blocked in a read or a TLS handshake.
        for (const THandle fd : OpenFds)
            ::shutdown(fd, TestSocket::ShutBoth);
    }
    Control.Wake.notify_all();
}

void TTestHttpServer::TImpl::ReapFinished() {
    for (const std::thread::id id : Finished) {
        const auto worker = std::find_if(Workers.begin(), Workers.end(),
                                         [id](const std::thread& t) { return t.get_id() == id; });
        // It has left Serve and only returns now: joining is immediate.
        worker->join();
        Workers.erase(worker);
    }
    Finished.clear();
}

void TTestHttpServer::TImpl::AcceptLoop() {
    // Once stopped, connections are refused instead of waiting in the backlog.
    struct TCloseOnExit {
        TSocket& Socket;
        ~TCloseOnExit() { Socket.Close(); }
    } closeOnExit{Listener};
    while (!Control.IsStopping()) {
        if (Control.Idle()) {
            Stop();
            return;
        }
        if (TestSocket::WaitReadable(Listener.Get(), PollStepMs) <= 0)
            continue;
        sockaddr_in peer{};
        const THandle fd = TestSocket::Accept(Listener.Get(), peer);
        if (fd == TestSocket::Invalid)
            continue;
        Control.Touch();
        std::lock_guard lock(Control.Mutex);
        if (Control.Stopping) {
            TestSocket::Close(fd);
            return;
        }
        OpenFds.insert(fd);
        ReapFinished();
        Workers.emplace_back(&TImpl::Serve, this, fd, ++Connections, ntohs(peer.sin_port));
    }
}

void TTestHttpServer::TImpl::Serve(THandle fd, int number, quint16 clientPort) {
    {
        TConnection connection(Control, fd);
#if ORV_TEST_TLS
        bool open = !Ctx || connection.StartTls(Ctx.get());
#else
        bool open = true;
#endif
        QByteArray buffer;
        while (open) {
            qsizetype headEnd;
            while ((headEnd = buffer.indexOf("\r\n\r\n")) < 0 && buffer.size() < MaxHeadBytes)
                if (!connection.ReadSome(buffer))
                    break;
            if (headEnd < 0)
                break;

            TTestHttpRequest request;
            request.Head = buffer.left(headEnd + 2);
            request.Connection = number;
            request.ClientPort = clientPort;
            if (!ParseHead(request.Head, request))
                break;
            buffer.remove(0, headEnd + 4);
            if (request.Header("Expect").compare("100-continue", Qt::CaseInsensitive) == 0 &&
                !connection.Write("HTTP/1.1 100 Continue\r\n\r\n"))
                break;
            const qsizetype length = request.Header("Content-Length").toLongLong();
            while (buffer.size() < length)
                if (!connection.ReadSome(buffer))
                    break;
            if (buffer.size() < length)
                break;
            request.Body = buffer.left(length);
            buffer.remove(0, length);

            TTestHttpAnswer answer;
            TTestHttpServer::TResponder responder;
            {
                std::lock_guard lock(Control.Mutex);
                Recorded.append(request);
                if (!Queue.empty()) {
                    answer = Queue.front();
                    Queue.pop_front();
                } else if (Responder) {
                    responder = Responder;
                } else {
                    answer = Default;
                }
            }
            if (responder)
                answer = responder(request);
            open = SendAnswer(connection, Control, answer, request);
        }
    }
    std::lock_guard lock(Control.Mutex);
    Finished.push_back(std::this_thread::get_id());
    OpenFds.erase(fd);
    TestSocket::Close(fd);
}

TTestHttpServer::TTestHttpServer(TMode mode, int idleLimitMs)
    : Impl(std::make_unique<TImpl>(mode, idleLimitMs)) {}

TTestHttpServer::~TTestHttpServer() = default;

quint16 TTestHttpServer::Port() const {
    return Impl->Port;
}

QString TTestHttpServer::BaseUrl() const {
    const QString scheme =
        Impl->Mode == TMode::Http ? QStringLiteral("http") : QStringLiteral("https");
    return scheme + QStringLiteral("://127.0.0.1:") + QString::number(Impl->Port);
}

QString TTestHttpServer::Url() const {
    return BaseUrl() + QStringLiteral("/TirsaOrvWeb/PortalService.svc");
}

QString TTestHttpServer::CaFile() {
#if ORV_TEST_TLS
    return TestTls::CaFile();
#else
    throw std::runtime_error("test server: built without TLS");
#endif
}

bool TTestHttpServer::HasTls() {
    return ORV_TEST_TLS;
}

void TTestHttpServer::Enqueue(const TTestHttpAnswer& answer) {
    std::lock_guard lock(Impl->Control.Mutex);
    Impl->Queue.push_back(answer);
}

void TTestHttpServer::SetDefaultAnswer(const TTestHttpAnswer& answer) {
    std::lock_guard lock(Impl->Control.Mutex);
    Impl->Default = answer;
}

void TTestHttpServer::SetResponder(TResponder responder) {
    std::lock_guard lock(Impl->Control.Mutex);
    Impl->Responder = std::move(responder);
}

QList<TTestHttpRequest> TTestHttpServer::Requests() const {
    std::lock_guard lock(Impl->Control.Mutex);
    return Impl->Recorded;
}

int TTestHttpServer::RequestCount() const {
    std::lock_guard lock(Impl->Control.Mutex);
    return int(Impl->Recorded.size());
}

TTestHttpRequest TTestHttpServer::LastRequest() const {
    std::lock_guard lock(Impl->Control.Mutex);
    return Impl->Recorded.isEmpty() ? TTestHttpRequest{} : Impl->Recorded.last();
}

bool TTestHttpServer::IsRunning() const {
    return !Impl->Control.IsStopping();
}

int TTestHttpServer::ConnectionCount() const {
    std::lock_guard lock(Impl->Control.Mutex);
    return Impl->Connections;
}

void TTestHttpServer::ClearRequests() {
    std::lock_guard lock(Impl->Control.Mutex);
    Impl->Recorded.clear();
}

quint16 TTestHttpServer::UnusedPort() {
    const TSocket probe(TestSocket::OpenTcp());
    const sockaddr_in address = Loopback(0);
    if (!probe.IsValid() ||
        ::bind(probe.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0)
        throw std::runtime_error("test server: cannot bind a probe socket");
    // Bound but never listening, and closed on return: connections are refused.
    return BoundPort(probe.Get());
}
