#pragma once

#include "USimDatabase.h"
#include "USimFaultScript.h"
#include "USimPortal.h"

#include <functional>
#include <memory>
#include <string>

namespace Sim {

struct TSimServerOptions {
    std::string DbPath;
    int Port = 0;        // 0: a free port
    std::string TlsCert; // both set: https
    std::string TlsKey;
    bool AllowFaults = false; // the /__sim/faults endpoint
    int KeepAliveSeconds = 5;
    std::size_t MaxRequestBytes = std::size_t{64} * 1024 * 1024;
    TSimPortalOptions Portal;
    std::function<void(const std::string&)> Log; // one line per request, when set
};

// The portal service on 127.0.0.1 at the production path, serving in a
// thread of its own until stopped.
class TSimServer {
public:
    explicit TSimServer(TSimServerOptions options);
    ~TSimServer();
    TSimServer(const TSimServer&) = delete;
    TSimServer& operator=(const TSimServer&) = delete;

    // Binds (raising std::runtime_error when it cannot) and starts serving.
    void Start();
    // Stops serving and waits for the thread; scripted delays are cut short.
    void Stop();

    int Port() const;
    // http(s)://127.0.0.1:PORT/TirsaOrvWeb/PortalService.svc
    std::string Url() const;

    TSimFaultScript& Faults();
    TSimDatabase& Database();

private:
    class TImpl;
    std::unique_ptr<TImpl> Impl;
};

} // namespace Sim
