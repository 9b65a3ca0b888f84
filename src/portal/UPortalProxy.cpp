#include "UPortalProxy.h"

#include "OrvConfig.h"
#include "UOrvError.h"
#include "USoapReader.h"
#include "USoapWriter.h"

#include <QUrl>

using namespace PortalService;

namespace {

bool IsHtmlOrPlainText(const QByteArray& contentType) {
    const QByteArray value = contentType.trimmed();
    return value.compare("text/plain", Qt::CaseInsensitive) == 0 ||
           value.compare("text/html", Qt::CaseInsensitive) == 0;
}

} // namespace

class TPortalProxy::TImpl final : public IPortal {
public:
    TImpl(TPortalProxy& owner, std::unique_ptr<ITransport> transport)
        : Owner(owner)
        , Transport(std::move(transport)) {}

#define ORV_PROXY_METHOD(operation, result)                                                        \
    std::unique_ptr<operation##Response> operation(const PortalService::operation& request)        \
        override {                                                                                 \
        return Call<operation##Response>(request);                                                 \
    }
    ORV_PORTAL_OPERATIONS(ORV_PROXY_METHOD)
#undef ORV_PROXY_METHOD

    TPortalProxy& Owner;
    std::unique_ptr<ITransport> Transport;
    QString Url;

private:
    template <class TResponse, class TRequest>
    std::unique_ptr<TResponse> Call(const TRequest& request) {
        if (!Owner.DocumentStyle || !Owner.LiteralParams) {
            throw TOrvError(QStringLiteral("The portal proxy sends only document-style requests "
                                           "with literal parameters; both options must be on"));
        }
        if (Url.isEmpty()) {
            throw TOrvError(QStringLiteral("No portal address is set"));
        }

        THttpRequest http;
        http.Url = Url;
        http.SoapAction =
            QByteArray(OrvConfig::ContractNamespace) + "/IPortal/" + OperationName<TRequest>();
        http.Body = WriteSoapRequest(request);
        http.Timeouts = Owner.Timeouts;

        if (!Transport) {
            Transport = CreateDefaultTransport();
        }
        const THttpResponse response = Transport->Post(http);

        // 500 normally carries a SOAP fault, which the decoder raises.
        if (response.Status >= 300 && response.Status != 500) {
            // One multi-argument arg(): a "%2" inside the server's reason
            // phrase must stay text.
            throw TOrvError(QStringLiteral("%1 (%2) - '%3'")
                                .arg(QString::fromUtf8(response.StatusText.trimmed()),
                                     QString::number(response.Status), Url));
        }
        if (IsHtmlOrPlainText(response.ContentType)) {
            throw TOrvError(QStringLiteral("Received content of invalid Content-Type setting: %1 "
                                           "- SOAP expects \"text/xml\"")
                                .arg(QString::fromUtf8(response.ContentType)));
        }
        return ReadSoapResponse<TResponse>(response.Body);
    }
};

TPortalProxy::TPortalProxy(std::unique_ptr<ITransport> transport)
    : Impl(std::make_unique<TImpl>(*this, std::move(transport))) {}

TPortalProxy::~TPortalProxy() = default;

void TPortalProxy::SetURL(const QString& url) {
    const QUrl parsed(url, QUrl::StrictMode);
    const QString scheme = parsed.scheme();
    if (!parsed.isValid() || (scheme != u"http" && scheme != u"https") || parsed.host().isEmpty()) {
        throw TOrvError(
            QStringLiteral("Invalid url '%1' - only supports 'http' and 'https' schemes").arg(url));
    }
    Impl->Url = url;
}

const QString& TPortalProxy::URL() const noexcept {
    return Impl->Url;
}

IPortal& TPortalProxy::Portal() {
    return *Impl;
}

IPortal& BindPortal(TPortalProxy& proxy, const QString& address) {
    proxy.SetURL(address.isEmpty() ? QString::fromLatin1(OrvConfig::TestEndpoint) : address);
    proxy.DocumentStyle = true;
    proxy.LiteralParams = false;
    return proxy.Portal();
}
