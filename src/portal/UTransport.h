#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

// Milliseconds; 0 leaves the transport's own limit. The client core sets
// the portal's limits, so they live in one place.
struct THttpTimeouts {
    long ConnectMs = 0;
    long SendMs = 0;
    long ReceiveMs = 0;
};

struct THttpRequest {
    QString Url;           // endpoint address
    QByteArray SoapAction; // action identifier, without quotes
    QByteArray Body;       // UTF-8 envelope
    THttpTimeouts Timeouts;
};

struct THttpResponse {
    int Status = 0;
    QByteArray StatusText;  // reason phrase of the status line
    QByteArray ContentType; // as sent, empty when absent
    QByteArray Body;
};

// One POST of a SOAP envelope. A failure of the exchange itself (name
// resolution, connection, time limit, reset, TLS) is raised as TOrvError with
// "%s - URL:%s - SOAPAction:%s"; any HTTP status is returned, not judged.
// One transport keeps its connection open between calls.
class ITransport {
public:
    virtual ~ITransport() = default;
    virtual THttpResponse Post(const THttpRequest& request) = 0;
};

// Responses larger than this are refused: far above any real answer, it only
// keeps a broken or hostile server from exhausting memory.
inline constexpr qint64 MaxResponseBytes = qint64(256) * 1024 * 1024;

struct TTransportOptions {
    // PEM file of certificate authorities trusted beside the system's trust
    // store (for a demo or test portal with its own CA); empty: none.
    QString ExtraCaFile;
    // Bodies larger than this are refused.
    qint64 ResponseLimit = MaxResponseBytes;
};

// The platform's transport (libcurl on Linux). The environment variable
// ORV_CA_BUNDLE, when set, names an extra CA file as in TTransportOptions.
std::unique_ptr<ITransport> CreateDefaultTransport();
std::unique_ptr<ITransport> CreateDefaultTransport(const TTransportOptions& options);
