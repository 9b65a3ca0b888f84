#pragma once

#include "USimDateTime.h"

#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace Sim {

// One decoded request: the operation and its fields. A field that is absent
// or sent as xsi:nil is not in Fields.
class TSimRequest {
public:
    std::string Operation;
    std::map<std::string, std::string, std::less<>> Fields;

    std::optional<std::string> Text(std::string_view name) const;
    // The accessors below raise TSimFault for a value of the wrong form.
    std::optional<int> Int(std::string_view name) const;
    std::optional<bool> Bool(std::string_view name) const;
    std::optional<TUtcMs> DateTime(std::string_view name) const;
    // The index of the literal among the allowed ones.
    std::optional<int> Enum(std::string_view name,
                            std::initializer_list<std::string_view> literals) const;
};

// Checks the HTTP Content-Type of a request; false when it is not text/xml
// in UTF-8 (the service then answers 415, as its binding does).
bool IsSoap11ContentType(std::string_view contentType);

// The operation named by a SOAPAction header value (quotes optional), or an
// empty text when the action is not one of the contract's.
std::string OperationOfAction(std::string_view soapAction);

// Decodes a SOAP 1.1 request envelope; raises TSimFault for anything the
// service could not process: not XML, a DOCTYPE, another envelope, no body
// element, an unknown operation, or a SOAPAction that does not name it.
TSimRequest DecodeRequest(std::string_view body, std::string_view soapAction);

} // namespace Sim
