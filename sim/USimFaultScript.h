#pragma once

#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace Sim {

// One scripted answer that replaces or alters the service's own. Fields
// combine: a delay comes first, then a drop, else the answer is built.
struct TSimScriptedAnswer {
    std::optional<int> Status; // HTTP status; the answer itself when no body is scripted
    std::string Reason;        // reason phrase instead of the standard one (plain HTTP)
    std::optional<std::string> ContentType; // replaces the Content-Type
    std::optional<std::string> Body;        // raw body instead of the service's answer
    std::optional<std::string>
        FaultString; // a SOAP fault with this faultstring (500 unless Status)
    std::optional<std::string> MustUnderstand; // a header entry of this name, mustUnderstand="1"
    int DelayMs = 0;                           // wait before answering
    bool Drop = false;                         // close the connection without answering
    int Count = 1;                             // how many of the next requests it answers

    // True when the service's own answer is still computed and sent (possibly altered).
    bool KeepsServiceAnswer() const { return !Body && !FaultString && (!Status || *Status == 200); }
};

// Scripted answers per operation ("*" for any), taken in order.
class TSimFaultScript {
public:
    static constexpr const char* AnyOperation = "*";

    void Push(const std::string& operation, const TSimScriptedAnswer& answer);
    // The next answer for the operation, its own queue before "*".
    std::optional<TSimScriptedAnswer> Take(const std::string& operation);
    void Clear();
    int Pending() const;

private:
    mutable std::mutex Mutex;
    std::map<std::string, std::deque<TSimScriptedAnswer>> Queues;
};

} // namespace Sim

namespace Sim {

// Reads a scripted answer from name=value parameters (the admin endpoint's
// form): operation, status, reason, contentType, body, faultstring,
// mustUnderstand, delayMs, drop, count. Returns the operation ("*" when
// absent); raises std::invalid_argument naming a bad parameter.
std::string ParseScriptedAnswer(const std::multimap<std::string, std::string>& params,
                                TSimScriptedAnswer& answer);

} // namespace Sim
