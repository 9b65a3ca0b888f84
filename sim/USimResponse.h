#pragma once

#include "USimFault.h"
#include "USimRecords.h"
#include "USimXml.h"

#include <optional>
#include <string>
#include <vector>

namespace Sim {

// The answer envelope of one operation, written as the service's framework
// writes it: s: envelope, the response element in the contract namespace as
// default, data-contract elements under the a: prefix, i:nil for no value.
class TSimEnvelope {
public:
    explicit TSimEnvelope(const std::string& operation);

    // <XResult xmlns:a=ns xmlns:i=...>, ns the data-contract one or the system one.
    xmlNode* Result(const char* ns);
    void NilResult();
    void IntResult(int value);
    // Must follow the result.
    void PopisChyby(const std::optional<std::string>& text);

    // An a: child with text, or i:nil="true" when there is no value.
    xmlNode* Element(xmlNode* parent, const char* name);
    void Text(xmlNode* parent, const char* name, const std::optional<std::string>& value);
    void Nil(xmlNode* parent, const char* name);

    // The fields of a Podanie / SuborPisomnosti into node: an array item or
    // the result element itself.
    void PodanieFields(xmlNode* node, const TSimPodanie& podanie, bool withContent);
    void PisomnostFields(xmlNode* node, const TSimPisomnost& pisomnost, bool withContent);

    // A header entry that the receiver must understand, for fault injection.
    void MustUnderstandHeader(const std::string& name, const std::string& ns);

    std::string Serialize() const;

private:
    void DataField(xmlNode* parent, const std::string& document);

    TXmlDocPtr Doc;
    xmlNode* Envelope = nullptr;
    xmlNode* Body = nullptr;
    xmlNode* Response = nullptr;
    xmlNs* Env = nullptr;
    xmlNs* A = nullptr;
    xmlNs* I = nullptr;
    std::string Operation;
};

std::string FaultEnvelope(const TSimFault& fault);

} // namespace Sim
