#include "USimFaultScript.h"

namespace Sim {

void TSimFaultScript::Push(const std::string& operation, const TSimScriptedAnswer& answer) {
    if (answer.Count <= 0)
        return;
    std::lock_guard lock(Mutex);
    Queues[operation.empty() ? AnyOperation : operation].push_back(answer);
}

std::optional<TSimScriptedAnswer> TSimFaultScript::Take(const std::string& operation) {
    std::lock_guard lock(Mutex);
    for (const std::string& key : {operation, std::string(AnyOperation)}) {
        const auto it = Queues.find(key);
        if (it == Queues.end() || it->second.empty())
            continue;
        TSimScriptedAnswer& front = it->second.front();
        TSimScriptedAnswer taken = front;
        taken.Count = 1;
        if (--front.Count <= 0)
            it->second.pop_front();
        return taken;
    }
    return std::nullopt;
}

void TSimFaultScript::Clear() {
    std::lock_guard lock(Mutex);
    Queues.clear();
}

int TSimFaultScript::Pending() const {
    std::lock_guard lock(Mutex);
    int count = 0;
    for (const auto& [op, queue] : Queues)
        for (const auto& answer : queue)
            count += answer.Count;
    return count;
}

} // namespace Sim

#include "USimContract.h"

#include <charconv>
#include <stdexcept>

namespace Sim {

namespace {

int ToInt(const std::string& name, const std::string& value, int min, int max) {
    int out = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), out);
    if (ec != std::errc() || end != value.data() + value.size() || out < min || out > max)
        throw std::invalid_argument("bad value of " + name + ": " + value);
    return out;
}

bool ToBool(const std::string& name, const std::string& value) {
    if (value == "1" || value == "true" || value == "yes" || value.empty())
        return true;
    if (value == "0" || value == "false" || value == "no")
        return false;
    throw std::invalid_argument("bad value of " + name + ": " + value);
}

// Letters, digits, '_', '-' and '.', not starting with a digit, '-' or '.':
// enough for a header entry's local name.
bool IsXmlName(const std::string& name) {
    if (name.empty())
        return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
        const bool other = (c >= '0' && c <= '9') || c == '-' || c == '.';
        if (!letter && (i == 0 || !other))
            return false;
    }
    return true;
}

} // namespace

std::string ParseScriptedAnswer(const std::multimap<std::string, std::string>& params,
                                TSimScriptedAnswer& answer) {
    std::string operation = TSimFaultScript::AnyOperation;
    for (const auto& [name, value] : params) {
        if (name == "operation") {
            if (value != TSimFaultScript::AnyOperation && !IsOperation(value))
                throw std::invalid_argument("unknown operation: " + value);
            operation = value;
        } else if (name == "status") {
            answer.Status = ToInt(name, value, 100, 599);
        } else if (name == "reason") {
            if (value.find_first_of("\r\n") != std::string::npos)
                throw std::invalid_argument("reason must be one line");
            answer.Reason = value;
        } else if (name == "contentType") {
            if (value.find_first_of("\r\n") != std::string::npos)
                throw std::invalid_argument("contentType must be one line");
            answer.ContentType = value;
        } else if (name == "body") {
            answer.Body = value;
        } else if (name == "faultstring") {
            answer.FaultString = value;
        } else if (name == "mustUnderstand") {
            const std::string header = value.empty() ? std::string("Action") : value;
            if (!IsXmlName(header))
                throw std::invalid_argument("mustUnderstand must be an XML name: " + header);
            answer.MustUnderstand = header;
        } else if (name == "delayMs") {
            answer.DelayMs = ToInt(name, value, 0, 3600000);
        } else if (name == "drop") {
            answer.Drop = ToBool(name, value);
        } else if (name == "count") {
            answer.Count = ToInt(name, value, 1, 1000000);
        } else {
            throw std::invalid_argument("unknown parameter: " + name);
        }
    }
    return operation;
}

} // namespace Sim
