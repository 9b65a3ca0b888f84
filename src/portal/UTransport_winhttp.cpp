// The WinHTTP backend of ITransport: the computer's Internet settings decide
// the proxy (automatic configuration scripts included), the Windows
// certificate store decides whom to trust.

#include "UTransport.h"

#include "UOrvError.h"

#include "OrvConfig.h"

#include <QUrl>

#include <windows.h>
#include <winhttp.h>

#include <memory>
#include <optional>
#include <vector>

namespace {

struct THandleClose {
    void operator()(HINTERNET handle) const { WinHttpCloseHandle(handle); }
};
using THandle = std::unique_ptr<void, THandleClose>;

struct TGlobalFree {
    void operator()(wchar_t* text) const { GlobalFree(text); }
};
using TGlobalText = std::unique_ptr<wchar_t, TGlobalFree>;

const wchar_t* W(const QString& text) {
    return reinterpret_cast<const wchar_t*>(text.utf16());
}

QString FromW(const wchar_t* text) {
    return text ? QString::fromWCharArray(text) : QString();
}

// The texts of the common WinHTTP errors, for a system whose winhttp.dll
// carries no message table (Wine's).
QString FallbackText(DWORD code) {
    switch (code) {
    case ERROR_WINHTTP_TIMEOUT:
        return QStringLiteral("The operation timed out");
    case ERROR_WINHTTP_NAME_NOT_RESOLVED:
        return QStringLiteral("The server name or address could not be resolved");
    case ERROR_WINHTTP_CANNOT_CONNECT:
        return QStringLiteral("A connection with the server could not be established");
    case ERROR_WINHTTP_CONNECTION_ERROR:
        return QStringLiteral("The connection with the server was reset");
    case ERROR_WINHTTP_INVALID_SERVER_RESPONSE:
        return QStringLiteral("The server returned an invalid or unrecognized response");
    case ERROR_WINHTTP_SECURE_FAILURE:
        return QStringLiteral("A security error occurred");
    case ERROR_WINHTTP_INVALID_URL:
        return QStringLiteral("The URL is invalid");
    default:
        return QStringLiteral("Error %1").arg(code);
    }
}

// The system's text for a WinHTTP or Win32 error, without trailing breaks.
QString SystemText(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS |
                        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_FROM_HMODULE;
    const DWORD length = FormatMessageW(flags, GetModuleHandleW(L"winhttp.dll"), code, 0,
                                        reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    QString text = length ? QString::fromWCharArray(buffer, int(length)) : FallbackText(code);
    LocalFree(buffer);
    while (text.endsWith(u'\n') || text.endsWith(u'\r') || text.endsWith(u' '))
        text.chop(1);
    return text;
}

bool IsCertificateFailure(DWORD code) {
    return code == ERROR_WINHTTP_SECURE_FAILURE || code == ERROR_WINHTTP_SECURE_INVALID_CA ||
           code == ERROR_WINHTTP_SECURE_CERT_CN_INVALID ||
           code == ERROR_WINHTTP_SECURE_CERT_DATE_INVALID ||
           code == ERROR_WINHTTP_SECURE_INVALID_CERT || code == ERROR_WINHTTP_SECURE_CERT_REVOKED;
}

// A failure of the exchange, carrying the system's error code.
// The phase of an exchange, for the text of a time limit that ran out.
enum class TPhase { Other, Sending, Receiving };

struct TWinHttpFailure {
    DWORD Code;
    TPhase Phase = TPhase::Other;
};

void Check(BOOL ok, TPhase phase = TPhase::Other) {
    if (!ok)
        throw TWinHttpFailure{GetLastError(), phase};
}

bool IsTimeout(DWORD code) {
    return code == ERROR_WINHTTP_TIMEOUT || code == WSAETIMEDOUT;
}

// The proxy the computer's Internet settings choose for one URL; nothing for
// a direct connection.
struct TProxyChoice {
    QString Proxy;
    QString Bypass;
};

class TWinHttpTransport final : public ITransport {
public:
    explicit TWinHttpTransport(const TTransportOptions& options);
    THttpResponse Post(const THttpRequest& request) override;

private:
    [[noreturn]] void Fail(const THttpRequest& request, const QString& detail);
    THttpResponse Exchange(const THttpRequest& request, const QUrl& url);
    HINTERNET Connection(const QUrl& url);
    std::optional<TProxyChoice> ProxyFor(const QString& url);
    THandle OpenSession(const std::optional<TProxyChoice>& proxy);
    void ReadBody(HINTERNET request, THttpResponse& response);

    TTransportOptions Options;
    THandle Probe;   // finds the proxy; never sends
    THandle Session; // of Connect, through the proxy chosen for it
    THandle Connect;
    QString ConnectedTo; // scheme://host:port of Connect
};

TWinHttpTransport::TWinHttpTransport(const TTransportOptions& options)
    : Options(options) {
    if (!Options.ExtraCaFile.isEmpty())
        throw TOrvError(QStringLiteral("Cannot read the certificate file '%1': extra "
                                       "certificate files are not used on Windows; add the "
                                       "authority to the certificate store")
                            .arg(Options.ExtraCaFile));
    Probe = OpenSession(std::nullopt);
}

// A session that goes through `proxy`, or directly. The proxy is given here
// because every WinHTTP (Wine's too) honours it on the session it opens.
THandle TWinHttpTransport::OpenSession(const std::optional<TProxyChoice>& proxy) {
    const QString agent = QStringLiteral("ORV Duriza/") + QString::fromLatin1(OrvConfig::Version);
    THandle session(
        proxy ? WinHttpOpen(W(agent), WINHTTP_ACCESS_TYPE_NAMED_PROXY, W(proxy->Proxy),
                            proxy->Bypass.isEmpty() ? WINHTTP_NO_PROXY_BYPASS : W(proxy->Bypass), 0)
              : WinHttpOpen(W(agent), WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                            WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session)
        throw TOrvError(QStringLiteral("Cannot initialise the HTTP transport: %1")
                            .arg(SystemText(GetLastError())));
    DWORD protocols = WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2;
#ifdef WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_3
    protocols |= WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_3;
#endif
    if (!WinHttpSetOption(session.get(), WINHTTP_OPTION_SECURE_PROTOCOLS, &protocols,
                          sizeof protocols)) {
        // Older systems refuse the TLS 1.3 bit; 1.2 alone is still sound.
        protocols = WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2;
        WinHttpSetOption(session.get(), WINHTTP_OPTION_SECURE_PROTOCOLS, &protocols,
                         sizeof protocols);
    }
    return session;
}

void TWinHttpTransport::Fail(const THttpRequest& request, const QString& detail) {
    // Whatever state the connection is in, the next call starts on a new one.
    Connect.reset();
    Session.reset();
    ConnectedTo.clear();
    throw TOrvError(QStringLiteral("%1 - URL:%2 - SOAPAction:%3")
                        .arg(detail, request.Url, QString::fromUtf8(request.SoapAction)));
}

HINTERNET TWinHttpTransport::Connection(const QUrl& url) {
    const bool secure = url.scheme().compare(u"https", Qt::CaseInsensitive) == 0;
    const int port = url.port(secure ? INTERNET_DEFAULT_HTTPS_PORT : INTERNET_DEFAULT_HTTP_PORT);
    const QString key =
        QStringLiteral("%1://%2:%3").arg(url.scheme().toLower(), url.host()).arg(port);
    if (!Connect || key != ConnectedTo) {
        Connect.reset();
        // The proxy is chosen when a connection is opened, afresh from the
        // user's Internet settings.
        Session.reset();
        Session = OpenSession(ProxyFor(url.toString()));
        const QString host = url.host();
        HINTERNET connect = WinHttpConnect(Session.get(), W(host), INTERNET_PORT(port), 0);
        Check(connect != nullptr);
        Connect.reset(connect);
        ConnectedTo = key;
    }
    return Connect.get();
}

// Manual settings first, then the configuration script or automatic
// detection, as the Internet settings say.
std::optional<TProxyChoice> TWinHttpTransport::ProxyFor(const QString& url) {
    WINHTTP_CURRENT_USER_IE_PROXY_CONFIG config{};
    if (!WinHttpGetIEProxyConfigForCurrentUser(&config))
        return std::nullopt;
    const TGlobalText autoUrl(config.lpszAutoConfigUrl);
    const TGlobalText proxy(config.lpszProxy);
    const TGlobalText bypass(config.lpszProxyBypass);

    if (config.fAutoDetect || autoUrl) {
        WINHTTP_AUTOPROXY_OPTIONS automatic{};
        automatic.fAutoLogonIfChallenged = TRUE;
        if (autoUrl) {
            automatic.dwFlags = WINHTTP_AUTOPROXY_CONFIG_URL;
            automatic.lpszAutoConfigUrl = autoUrl.get();
        } else {
            automatic.dwFlags = WINHTTP_AUTOPROXY_AUTO_DETECT;
            automatic.dwAutoDetectFlags =
                WINHTTP_AUTO_DETECT_TYPE_DHCP | WINHTTP_AUTO_DETECT_TYPE_DNS_A;
        }
        WINHTTP_PROXY_INFO info{};
        if (WinHttpGetProxyForUrl(Probe.get(), W(url), &automatic, &info)) {
            const TGlobalText chosen(info.lpszProxy);
            const TGlobalText chosenBypass(info.lpszProxyBypass);
            if (info.dwAccessType == WINHTTP_ACCESS_TYPE_NAMED_PROXY && chosen)
                return TProxyChoice{FromW(chosen.get()), FromW(chosenBypass.get())};
            return std::nullopt;
        }
        // No script found or it failed: the manual settings still apply.
    }
    if (proxy && *proxy.get())
        return TProxyChoice{FromW(proxy.get()), FromW(bypass.get())};
    return std::nullopt;
}

void TWinHttpTransport::ReadBody(HINTERNET request, THttpResponse& response) {
    std::vector<char> chunk(64 * 1024);
    while (true) {
        DWORD read = 0;
        Check(WinHttpReadData(request, chunk.data(), DWORD(chunk.size()), &read),
              TPhase::Receiving);
        if (read == 0)
            return;
        if (response.Body.size() + qint64(read) > Options.ResponseLimit)
            throw TOrvError(
                QStringLiteral("Response larger than %1 bytes refused").arg(Options.ResponseLimit));
        response.Body.append(chunk.data(), qsizetype(read));
    }
}

QString QueryHeader(HINTERNET request, DWORD what) {
    DWORD bytes = 0;
    WinHttpQueryHeaders(request, what, WINHTTP_HEADER_NAME_BY_INDEX, nullptr, &bytes,
                        WINHTTP_NO_HEADER_INDEX);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || bytes == 0)
        return {};
    std::vector<wchar_t> text(bytes / sizeof(wchar_t) + 1);
    if (!WinHttpQueryHeaders(request, what, WINHTTP_HEADER_NAME_BY_INDEX, text.data(), &bytes,
                             WINHTTP_NO_HEADER_INDEX))
        return {};
    return QString::fromWCharArray(text.data(), int(bytes / sizeof(wchar_t)));
}

THttpResponse TWinHttpTransport::Exchange(const THttpRequest& request, const QUrl& url) {
    const bool secure = url.scheme().compare(u"https", Qt::CaseInsensitive) == 0;
    QString path = url.path(QUrl::FullyEncoded);
    if (path.isEmpty())
        path = QStringLiteral("/");
    if (url.hasQuery())
        path += u'?' + url.query(QUrl::FullyEncoded);

    HINTERNET connect = Connection(url);
    // WinHTTP keeps no response cache, so nothing needs bypassing.
    const DWORD flags = secure ? WINHTTP_FLAG_SECURE : 0;
    THandle handle(WinHttpOpenRequest(connect, L"POST", W(path), L"HTTP/1.1", WINHTTP_NO_REFERER,
                                      WINHTTP_DEFAULT_ACCEPT_TYPES, flags));
    Check(handle != nullptr);
    HINTERNET req = handle.get();

    // The time limits bound each phase; name resolution counts as connecting.
    // A limit of 0 or less leaves WinHTTP's own.
    const auto limit = [](long ms, int system) { return ms > 0 ? int(ms) : system; };
    Check(WinHttpSetTimeouts(
        req, limit(request.Timeouts.ConnectMs, 0), limit(request.Timeouts.ConnectMs, 60000),
        limit(request.Timeouts.SendMs, 30000), limit(request.Timeouts.ReceiveMs, 30000)));
    // The wait for the answer's head has a limit of its own in WinHTTP.
    if (request.Timeouts.ReceiveMs > 0) {
        DWORD headMs = DWORD(request.Timeouts.ReceiveMs);
        Check(
            WinHttpSetOption(req, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &headMs, sizeof headMs));
    }
    DWORD redirects = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
    Check(WinHttpSetOption(req, WINHTTP_OPTION_REDIRECT_POLICY, &redirects, sizeof redirects));

    const QString headers = QStringLiteral("SOAPAction: \"%1\"\r\n"
                                           "Content-Type: text/xml; charset=\"utf-8\"\r\n")
                                .arg(QString::fromUtf8(request.SoapAction));
    Check(WinHttpSendRequest(req, W(headers), DWORD(headers.size()),
                             const_cast<char*>(request.Body.constData()),
                             DWORD(request.Body.size()), DWORD(request.Body.size()), 0),
          TPhase::Sending);
    Check(WinHttpReceiveResponse(req, nullptr), TPhase::Receiving);

    THttpResponse response;
    DWORD status = 0;
    DWORD size = sizeof status;
    Check(WinHttpQueryHeaders(req, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                              WINHTTP_HEADER_NAME_BY_INDEX, &status, &size,
                              WINHTTP_NO_HEADER_INDEX));
    response.Status = int(status);
    response.StatusText = QueryHeader(req, WINHTTP_QUERY_STATUS_TEXT).toLatin1();
    response.ContentType = QueryHeader(req, WINHTTP_QUERY_CONTENT_TYPE).toLatin1();
    ReadBody(req, response);
    // A body that ends before its announced length was cut off, not complete.
    bool announced = false;
    const qint64 length = QueryHeader(req, WINHTTP_QUERY_CONTENT_LENGTH).toLongLong(&announced);
    if (announced && response.Body.size() < length)
        throw TWinHttpFailure{ERROR_WINHTTP_CONNECTION_ERROR, TPhase::Receiving};
    return response;
}

THttpResponse TWinHttpTransport::Post(const THttpRequest& request) {
    if (request.SoapAction.contains('\r') || request.SoapAction.contains('\n') ||
        request.SoapAction.contains('"'))
        Fail(request, QStringLiteral("Invalid SOAPAction"));
    const QUrl url(request.Url, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != u"http" && scheme != u"https"))
        Fail(request, SystemText(ERROR_WINHTTP_INVALID_URL));

    try {
        return Exchange(request, url);
    } catch (const TWinHttpFailure& failure) {
        QString detail = SystemText(failure.Code);
        // The same words as on every platform: which limit ran out, and how long.
        if (IsTimeout(failure.Code) && failure.Phase == TPhase::Sending)
            detail =
                QStringLiteral("Operation timed out after %1 milliseconds without sending data")
                    .arg(request.Timeouts.SendMs);
        else if (IsTimeout(failure.Code) && failure.Phase == TPhase::Receiving)
            detail =
                QStringLiteral("Operation timed out after %1 milliseconds without receiving data")
                    .arg(request.Timeouts.ReceiveMs);
        if (IsCertificateFailure(failure.Code))
            detail =
                QStringLiteral("The certificate of %1 is not trusted: %2").arg(url.host(), detail);
        Fail(request, detail);
    } catch (const TOrvError& error) {
        Fail(request, error.message());
    }
}

} // namespace

std::unique_ptr<ITransport> CreateDefaultTransport(const TTransportOptions& options) {
    return std::make_unique<TWinHttpTransport>(options);
}

// ORV_CA_BUNDLE is honoured as on Linux, so a misconfigured demo says so
// instead of silently trusting nothing extra.
std::unique_ptr<ITransport> CreateDefaultTransport() {
    TTransportOptions options;
    options.ExtraCaFile = qEnvironmentVariable("ORV_CA_BUNDLE");
    return CreateDefaultTransport(options);
}
