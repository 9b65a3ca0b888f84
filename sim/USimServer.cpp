#include "USimServer.h"

#include "USimContract.h"
#include "USimHttpText.h"
#include "USimRequest.h"
#include "USimResponse.h"
#include "USimSocket.h"
#include "USimXml.h"

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace Sim {

namespace {

constexpr const char* XmlContentType = "text/xml; charset=utf-8";
constexpr const char* FaultsPath = "/__sim/faults";

struct TAnswer {
    int Status = 200;
    std::string ContentType; // none when empty
    std::string Body;
};

bool IsLoopback(const std::string& address) {
    return address.rfind("127.", 0) == 0 || address == "::1" || address == "::ffff:127.0.0.1";
}

} // namespace

class TSimServer::TImpl {
public:
    explicit TImpl(TSimServerOptions options)
        : Options(std::move(options))
        , Db(Options.DbPath)
        , Portal(Db, Options.Portal) {
        InitXml();
        Tls = !Options.TlsCert.empty() || !Options.TlsKey.empty();
        if (Tls) {
            if (Options.TlsCert.empty() || Options.TlsKey.empty())
                throw std::runtime_error("TLS needs both a certificate and a key.");
            Http = std::make_unique<httplib::SSLServer>(Options.TlsCert.c_str(),
                                                        Options.TlsKey.c_str());
        } else {
            Http = std::make_unique<httplib::Server>();
        }
        if (!Http->is_valid())
            throw std::runtime_error("The TLS certificate or key cannot be used.");
        Http->set_keep_alive_timeout(Options.KeepAliveSeconds);
        Http->set_payload_max_length(Options.MaxRequestBytes);
        Http->Post(ServicePath(), [this](const httplib::Request& req, httplib::Response& res) {
            Service(req, res);
        });
        Http->Get(ServicePath(), [](const httplib::Request&, httplib::Response& res) {
            res.set_content(HtmlPage("PortalService",
                                     "Služba PortalService prijíma požiadavky SOAP 1.1 metódou "
                                     "POST."),
                            "text/html; charset=utf-8");
        });
        if (Options.AllowFaults)
            RouteFaults();
        Http->set_error_handler(httplib::Server::HandlerWithResponse([](const httplib::Request&,
                                                                        httplib::Response& res) {
            // Pages for the server's own errors; scripted and SOAP answers keep their body.
            if (res.has_header("Content-Type"))
                return httplib::Server::HandlerResponse::Unhandled;
            res.set_content(HtmlPage(std::to_string(res.status) + " " + ReasonPhrase(res.status),
                                     ReasonPhrase(res.status)),
                            "text/html; charset=utf-8");
            return httplib::Server::HandlerResponse::Handled;
        }));
    }

    ~TImpl() { Stop(); }

    static std::string ServicePath() { return OrvConfig::ServicePath; }

    void Start() {
        if (Thread.joinable())
            return;
        if (Options.Port == 0) {
            BoundPort = Http->bind_to_any_port("127.0.0.1");
        } else if (Http->bind_to_port("127.0.0.1", Options.Port)) {
            BoundPort = Options.Port;
        }
        if (BoundPort <= 0)
            throw std::runtime_error("Cannot listen on 127.0.0.1 port " +
                                     std::to_string(Options.Port) + ".");
        Thread = std::thread([this] {
            Http->listen_after_bind();
            ListenEnded = true;
        });
        // A stop before the loop runs would be lost, and the loop would never end.
        while (!Http->is_running() && !ListenEnded)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (!Http->is_running()) {
            Thread.join();
            throw std::runtime_error("Cannot serve on 127.0.0.1 port " + std::to_string(BoundPort) +
                                     ".");
        }
    }

    void Stop() {
        {
            std::lock_guard lock(StopMutex);
            Stopping = true;
        }
        StopSignal.notify_all();
        if (Thread.joinable()) {
            Http->stop();
            Thread.join();
        }
    }

    std::string Url() const {
        return std::string(Tls ? "https" : "http") + "://127.0.0.1:" + std::to_string(BoundPort) +
               ServicePath();
    }

    TSimServerOptions Options;
    TSimDatabase Db;
    TSimPortal Portal;
    TSimFaultScript Faults;
    bool Tls = false;
    int BoundPort = 0;

private:
    // Waits, unless the server is being stopped.
    void Delay(int ms) {
        std::unique_lock lock(StopMutex);
        StopSignal.wait_for(lock, std::chrono::milliseconds(ms), [this] { return Stopping; });
    }

    TAnswer ServiceAnswer(const httplib::Request& req, const std::optional<std::string>& header) {
        if (!IsSoap11ContentType(req.get_header_value("Content-Type")))
            return {415, {}, {}};
        try {
            const TSimRequest request = DecodeRequest(req.body, req.get_header_value("SOAPAction"));
            TSimEnvelope envelope = Portal.Answer(request);
            if (header)
                envelope.MustUnderstandHeader(*header, AddressingNoneNs);
            return {200, XmlContentType, envelope.Serialize()};
        } catch (const TSimFault& fault) {
            return {500, XmlContentType, FaultEnvelope(fault)};
        } catch (const TSimDbError& error) {
            return {500, XmlContentType,
                    FaultEnvelope(TSimFault(std::string("Portál nemohol požiadavku spracovať: "
                                                        "chyba databázy (") +
                                            error.what() + ")."))};
        }
    }

    static TAnswer ScriptedAnswer(const TSimScriptedAnswer& s) {
        TAnswer a;
        if (s.FaultString) {
            a = {500, XmlContentType, FaultEnvelope(TSimFault(*s.FaultString))};
        } else if (s.Body) {
            a = {200, XmlContentType, *s.Body};
        } else {
            const int status = s.Status.value_or(500);
            const std::string reason = s.Reason.empty() ? ReasonPhrase(status) : s.Reason;
            a = {status, "text/html; charset=utf-8",
                 HtmlPage(std::to_string(status) + " " + reason, reason)};
        }
        if (s.Status)
            a.Status = *s.Status;
        return a;
    }

    void Service(const httplib::Request& req, httplib::Response& res) {
        const std::string operation = OperationOfAction(req.get_header_value("SOAPAction"));
        const auto scripted = Faults.Take(operation);
        if (scripted && scripted->DelayMs > 0)
            Delay(scripted->DelayMs);
        if (scripted && scripted->Drop) {
            DropConnection(req.local_port, req.remote_port);
            Log(operation, "dropped");
            res.status = 500;
            return;
        }

        TAnswer answer = scripted && !scripted->KeepsServiceAnswer()
                             ? ScriptedAnswer(*scripted)
                             : ServiceAnswer(req, scripted ? scripted->MustUnderstand
                                                           : std::optional<std::string>());
        if (scripted && scripted->ContentType)
            answer.ContentType = *scripted->ContentType;
        Log(operation.empty() ? std::string("?") : operation, std::to_string(answer.Status));

        if (scripted && !scripted->Reason.empty() && !Tls) {
            std::string raw =
                "HTTP/1.1 " + std::to_string(answer.Status) + " " + scripted->Reason + "\r\n";
            if (!answer.ContentType.empty())
                raw += "Content-Type: " + answer.ContentType + "\r\n";
            raw += "Content-Length: " + std::to_string(answer.Body.size()) +
                   "\r\nConnection: close\r\n\r\n" + answer.Body;
            if (WriteRawAndClose(req.local_port, req.remote_port, raw))
                return;
        }
        res.status = answer.Status;
        if (!answer.ContentType.empty())
            res.set_content(answer.Body, answer.ContentType.c_str());
        else
            res.body = answer.Body;
    }

    void Log(const std::string& operation, const std::string& outcome) const {
        if (Options.Log)
            Options.Log(operation + " " + outcome);
    }

    static httplib::Params ParamsOf(const httplib::Request& req) {
        httplib::Params params = req.params;
        if (req.get_header_value("Content-Type").rfind("application/x-www-form-urlencoded", 0) == 0)
            httplib::detail::parse_query_text(req.body, params);
        return params;
    }

    void RouteFaults() {
        Http->Post(FaultsPath, [this](const httplib::Request& req, httplib::Response& res) {
            if (!IsLoopback(req.remote_addr)) {
                res.status = 403;
                return;
            }
            const httplib::Params params = ParamsOf(req);
            std::string operation = TSimFaultScript::AnyOperation;
            TSimScriptedAnswer answer;
            try {
                operation = ParseScriptedAnswer(params, answer);
            } catch (const std::invalid_argument& error) {
                res.status = 400;
                res.set_content(std::string(error.what()) + "\n", "text/plain; charset=utf-8");
                return;
            }
            Faults.Push(operation, answer);
            res.set_content("pending " + std::to_string(Faults.Pending()) + "\n",
                            "text/plain; charset=utf-8");
        });
        Http->Delete(FaultsPath, [this](const httplib::Request& req, httplib::Response& res) {
            if (!IsLoopback(req.remote_addr)) {
                res.status = 403;
                return;
            }
            Faults.Clear();
            res.set_content("pending 0\n", "text/plain; charset=utf-8");
        });
        Http->Get(FaultsPath, [this](const httplib::Request& req, httplib::Response& res) {
            if (!IsLoopback(req.remote_addr)) {
                res.status = 403;
                return;
            }
            res.set_content("pending " + std::to_string(Faults.Pending()) + "\n",
                            "text/plain; charset=utf-8");
        });
    }

    std::unique_ptr<httplib::Server> Http;
    std::thread Thread;
    std::mutex StopMutex;
    std::condition_variable StopSignal;
    bool Stopping = false;
    std::atomic<bool> ListenEnded{false};
};

TSimServer::TSimServer(TSimServerOptions options)
    : Impl(std::make_unique<TImpl>(std::move(options))) {}

TSimServer::~TSimServer() = default;

void TSimServer::Start() {
    Impl->Start();
}
void TSimServer::Stop() {
    Impl->Stop();
}
int TSimServer::Port() const {
    return Impl->BoundPort;
}
std::string TSimServer::Url() const {
    return Impl->Url();
}
TSimFaultScript& TSimServer::Faults() {
    return Impl->Faults;
}
TSimDatabase& TSimServer::Database() {
    return Impl->Db;
}

} // namespace Sim
