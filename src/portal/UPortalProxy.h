#pragma once

#include "PortalService.h"
#include "UTransport.h"

#include <QString>

#include <memory>

// The SOAP-over-HTTP proxy of one client core: endpoint, time limits and
// binding options, and the IPortal interface it hands out.
//
// Each call writes the request envelope, posts it with the operation's action
// (contract namespace + "/IPortal/" + operation), judges the HTTP status and
// content type and decodes the body. The portal's binding is document style
// with literal parameters; a call made while either option is off is refused
// with an error rather than sent in a form the portal does not understand.
class TPortalProxy {
public:
    // A null transport means the platform's default one, made at the first call.
    explicit TPortalProxy(std::unique_ptr<ITransport> transport = nullptr);
    ~TPortalProxy();
    TPortalProxy(const TPortalProxy&) = delete;
    TPortalProxy& operator=(const TPortalProxy&) = delete;

    // Validates and stores the endpoint; raises the invalid-url error and then
    // keeps the previous one.
    void SetURL(const QString& url);
    const QString& URL() const noexcept;

    THttpTimeouts Timeouts; // milliseconds; <= 0 means the transport's own limit
    bool DocumentStyle = false;
    bool LiteralParams = false;

    // The interface; valid as long as the proxy lives.
    PortalService::IPortal& Portal();

private:
    class TImpl;
    std::unique_ptr<TImpl> Impl;
};

// Points the proxy at address (empty: the operator's test endpoint) and hands
// out its interface. Sets DocumentStyle and clears LiteralParams, as the
// contract's registration does; the caller sets LiteralParams afterwards.
PortalService::IPortal& BindPortal(TPortalProxy& proxy, const QString& address);
