// The libcurl backend of ITransport.

#include "UTransport.h"

#include "UOrvError.h"

#include "OrvConfig.h"

#include <QFile>
#include <QUrl>

#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <mutex>

namespace {

using TClock = std::chrono::steady_clock;

struct TEasyFree {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct TMultiFree {
    void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
struct TSlistFree {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using TEasy = std::unique_ptr<CURL, TEasyFree>;
using TMulti = std::unique_ptr<CURLM, TMultiFree>;
using TSlist = std::unique_ptr<curl_slist, TSlistFree>;

void GlobalInit() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

TSlist Append(TSlist list, const QByteArray& line) {
    curl_slist* longer = curl_slist_append(list.get(), line.constData());
    if (!longer)
        throw TOrvError(QStringLiteral("Out of memory"));
    (void)list.release(); // now owned by longer
    return TSlist(longer);
}

QByteArray ReadCaFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw TOrvError(QStringLiteral("Cannot read the certificate file '%1': %2")
                            .arg(path, file.errorString()));
    return file.readAll();
}

// The trusted authorities when an extra CA file is given: a CA blob replaces
// libcurl's default bundle, so the system's bundle goes in first.
QByteArray TrustedAuthorities(const QString& extraCaFile) {
    QByteArray pem;
    const curl_version_info_data* info = curl_version_info(CURLVERSION_NOW);
    if (info->age >= CURLVERSION_SEVENTH && info->cainfo) {
        QFile system(QString::fromLocal8Bit(info->cainfo));
        if (system.open(QIODevice::ReadOnly))
            pem = system.readAll() + '\n';
    }
    return pem + ReadCaFile(extraCaFile);
}

bool IsCertificateFailure(CURLcode code) {
    return code == CURLE_PEER_FAILED_VERIFICATION || code == CURLE_SSL_CERTPROBLEM ||
           code == CURLE_SSL_ISSUER_ERROR || code == CURLE_SSL_PINNEDPUBKEYNOTMATCH;
}

// The state of one exchange, shared with libcurl's callbacks.
struct TExchange {
    THttpResponse Response;
    qint64 Limit = 0;
    bool TooLarge = false;
    bool Connected = false;
    qint64 Received = 0; // header and body bytes of the answer
    TClock::time_point SendMark;
    TClock::time_point ReceiveMark;
    curl_off_t LastSent = -1;
    qint64 LastReceived = 0;
};

size_t OnHeader(char* data, size_t size, size_t count, void* user) {
    auto& exchange = *static_cast<TExchange*>(user);
    const size_t length = size * count;
    exchange.Received += qint64(length);
    const QByteArray line = QByteArray(data, qsizetype(length)).trimmed();
    if (line.startsWith("HTTP/")) {
        // A new status line: after a 1xx interim answer only the final one counts.
        const QList<QByteArray> parts = line.split(' ');
        exchange.Response.StatusText =
            line.mid(parts.value(0).size() + 1 + parts.value(1).size() + 1);
        exchange.Response.ContentType.clear();
    } else if (const qsizetype colon = line.indexOf(':');
               colon > 0 &&
               line.left(colon).trimmed().compare("Content-Type", Qt::CaseInsensitive) == 0) {
        exchange.Response.ContentType = line.mid(colon + 1).trimmed();
    }
    return length;
}

size_t OnBody(char* data, size_t size, size_t count, void* user) {
    auto& exchange = *static_cast<TExchange*>(user);
    const size_t length = size * count;
    exchange.Received += qint64(length);
    if (exchange.Response.Body.size() + qint64(length) > exchange.Limit) {
        exchange.TooLarge = true;
        return 0; // aborts the transfer
    }
    exchange.Response.Body.append(data, qsizetype(length));
    return length;
}

int OnConnected(void* user, char*, char*, int, int) {
    auto& exchange = *static_cast<TExchange*>(user);
    exchange.Connected = true;
    exchange.SendMark = exchange.ReceiveMark = TClock::now();
    return CURL_PREREQFUNC_OK;
}

class TCurlTransport final : public ITransport {
public:
    explicit TCurlTransport(const TTransportOptions& options);
    THttpResponse Post(const THttpRequest& request) override;

private:
    void Configure();
    [[noreturn]] void Fail(const THttpRequest& request, const QString& detail);
    // Runs the transfer to its end; a stall or a failure of the multi
    // interface goes to failure, otherwise libcurl's result is returned.
    CURLcode Run(TExchange& exchange, const THttpRequest& request, QString& failure);

    TTransportOptions Options;
    QByteArray CaBlob;
    TEasy Easy;
    TMulti Multi;
    bool FreshNext = false;
    char ErrorText[CURL_ERROR_SIZE] = {};
};

TCurlTransport::TCurlTransport(const TTransportOptions& options)
    : Options(options) {
    GlobalInit();
    if (!Options.ExtraCaFile.isEmpty())
        CaBlob = TrustedAuthorities(Options.ExtraCaFile);
    Easy.reset(curl_easy_init());
    Multi.reset(curl_multi_init());
    if (!Easy || !Multi)
        throw TOrvError(QStringLiteral("Cannot initialise the HTTP transport"));
    Configure();
}

// Options that stay the same for every call of this transport.
void TCurlTransport::Configure() {
    CURL* easy = Easy.get();
    static const QByteArray agent = QByteArray("ORV Duriza/") + OrvConfig::Version;
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, ErrorText);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(easy, CURLOPT_POST, 1L);
    curl_easy_setopt(easy, CURLOPT_USERAGENT, agent.constData());
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L);
    // Proxies come from http_proxy, https_proxy and no_proxy, libcurl's default.
    curl_easy_setopt(easy, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!CaBlob.isEmpty()) {
        curl_blob blob{CaBlob.data(), size_t(CaBlob.size()), CURL_BLOB_COPY};
        curl_easy_setopt(easy, CURLOPT_CAINFO_BLOB, &blob);
    }
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, OnHeader);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, OnBody);
    curl_easy_setopt(easy, CURLOPT_PREREQFUNCTION, OnConnected);
}

void TCurlTransport::Fail(const THttpRequest& request, const QString& detail) {
    // Whatever state the connection is in, the next call starts on a new one.
    FreshNext = true;
    QString text = detail;
    while (text.endsWith(u'\n') || text.endsWith(u'\r'))
        text.chop(1);
    throw TOrvError(QStringLiteral("%1 - URL:%2 - SOAPAction:%3")
                        .arg(text, request.Url, QString::fromUtf8(request.SoapAction)));
}

THttpResponse TCurlTransport::Post(const THttpRequest& request) {
    if (request.SoapAction.contains('\r') || request.SoapAction.contains('\n') ||
        request.SoapAction.contains('"'))
        Fail(request, QStringLiteral("Invalid SOAPAction"));

    TSlist headers;
    headers = Append(std::move(headers), "SOAPAction: \"" + request.SoapAction + '"');
    headers = Append(std::move(headers), "Content-Type: text/xml; charset=\"utf-8\"");
    headers = Append(std::move(headers), "Expect:"); // removes libcurl's own
    headers = Append(std::move(headers), "Accept:");

    TExchange exchange;
    exchange.Limit = Options.ResponseLimit;
    const QByteArray url = request.Url.toUtf8();
    CURL* easy = Easy.get();
    ErrorText[0] = '\0';
    curl_easy_setopt(easy, CURLOPT_URL, url.constData());
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(easy, CURLOPT_POSTFIELDS, request.Body.constData());
    curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(request.Body.size()));
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, std::max(0L, request.Timeouts.ConnectMs));
    curl_easy_setopt(easy, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(Options.ResponseLimit));
    curl_easy_setopt(easy, CURLOPT_FRESH_CONNECT, FreshNext ? 1L : 0L);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, &exchange);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &exchange);
    curl_easy_setopt(easy, CURLOPT_PREREQDATA, &exchange);
    FreshNext = false;

    QString failure;
    const CURLcode result = Run(exchange, request, failure);
    if (!failure.isEmpty())
        Fail(request, failure);

    if (exchange.TooLarge || result == CURLE_FILESIZE_EXCEEDED)
        Fail(request,
             QStringLiteral("Response larger than %1 bytes refused").arg(Options.ResponseLimit));
    if (result != CURLE_OK) {
        QString detail = ErrorText[0] ? QString::fromUtf8(ErrorText)
                                      : QString::fromUtf8(curl_easy_strerror(result));
        if (IsCertificateFailure(result))
            detail = QStringLiteral("The certificate of %1 is not trusted: %2")
                         .arg(QUrl(request.Url).host(), detail);
        Fail(request, detail);
    }
    long status = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
    exchange.Response.Status = int(status);
    return std::move(exchange.Response);
}

CURLcode TCurlTransport::Run(TExchange& exchange, const THttpRequest& request, QString& failure) {
    // Leaving the multi handle ends the transfer; a connection left mid-way is
    // closed by libcurl, a finished one stays in the cache for the next call.
    struct TAttached {
        CURLM* Multi;
        CURL* Easy;
        ~TAttached() { curl_multi_remove_handle(Multi, Easy); }
    };
    if (curl_multi_add_handle(Multi.get(), Easy.get()) != CURLM_OK) {
        failure = QStringLiteral("Cannot start the HTTP transfer");
        return CURLE_FAILED_INIT;
    }
    const TAttached attached{Multi.get(), Easy.get()};

    using std::chrono::milliseconds;
    const curl_off_t bodySize = request.Body.size();
    int running = 1;
    while (true) {
        const CURLMcode code = curl_multi_perform(Multi.get(), &running);
        if (code != CURLM_OK) {
            failure = QString::fromUtf8(curl_multi_strerror(code));
            return CURLE_FAILED_INIT;
        }
        if (!running) {
            // Read before the handle leaves: leaving drops its messages.
            int left = 0;
            while (const CURLMsg* message = curl_multi_info_read(Multi.get(), &left))
                if (message->msg == CURLMSG_DONE && message->easy_handle == Easy.get())
                    return message->data.result;
            return CURLE_OK;
        }

        // Time limits of ours bound a stalled transfer, not a long one: they
        // count from the last progress of the phase in hand.
        long waitMs = 1000;
        if (exchange.Connected) {
            const auto now = TClock::now();
            curl_off_t sent = 0;
            curl_easy_getinfo(Easy.get(), CURLINFO_SIZE_UPLOAD_T, &sent);
            const bool sending = exchange.Received == 0 && sent < bodySize;
            long limitMs;
            TClock::time_point mark;
            if (sending) {
                if (sent != exchange.LastSent) {
                    exchange.LastSent = sent;
                    exchange.SendMark = now;
                }
                exchange.ReceiveMark = now;
                limitMs = request.Timeouts.SendMs;
                mark = exchange.SendMark;
            } else {
                if (exchange.Received != exchange.LastReceived) {
                    exchange.LastReceived = exchange.Received;
                    exchange.ReceiveMark = now;
                }
                limitMs = request.Timeouts.ReceiveMs;
                mark = exchange.ReceiveMark;
            }
            if (limitMs > 0) {
                const long idleMs =
                    long(std::chrono::duration_cast<milliseconds>(now - mark).count());
                if (idleMs >= limitMs) {
                    failure = (sending ? QStringLiteral("Operation timed out after %1 "
                                                        "milliseconds without sending data")
                                       : QStringLiteral("Operation timed out after %1 "
                                                        "milliseconds without receiving data"))
                                  .arg(limitMs);
                    return CURLE_OPERATION_TIMEDOUT;
                }
                waitMs = std::clamp(limitMs - idleMs, 1L, waitMs);
            }
        }
        curl_multi_poll(Multi.get(), nullptr, 0, int(waitMs), nullptr);
    }
}

} // namespace

std::unique_ptr<ITransport> CreateDefaultTransport(const TTransportOptions& options) {
    return std::make_unique<TCurlTransport>(options);
}

// ORV_CA_BUNDLE names a PEM file of extra trusted authorities, for demo and
// test portals with a CA of their own; the system's trust store still applies.
std::unique_ptr<ITransport> CreateDefaultTransport() {
    TTransportOptions options;
    options.ExtraCaFile = qEnvironmentVariable("ORV_CA_BUNDLE");
    return CreateDefaultTransport(options);
}
