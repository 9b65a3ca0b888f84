#pragma once

#include <stdexcept>
#include <string>

namespace Sim {

// A request the service cannot process: answered as a SOAP fault.
class TSimFault : public std::runtime_error {
public:
    // code is a local name in the dispatcher namespace, or "s:Client" style
    // names in the envelope namespace when envelopeCode is set.
    TSimFault(std::string faultString, std::string code = "InternalServiceFault",
              bool envelopeCode = false)
        : std::runtime_error(faultString)
        , FaultString(std::move(faultString))
        , Code(std::move(code))
        , EnvelopeCode(envelopeCode) {}

    std::string FaultString; // a sentence for the user
    std::string Code;
    bool EnvelopeCode;
};

} // namespace Sim
