#pragma once

// The portal's check of a submitted document: a XAdES signature made with a
// certificate of a trusted authority under an accepted policy, and an EPH,
// taken from the signature's own signed object, that its version's schema
// accepts.

#include "USimPortal.h"

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace Sim {

struct TSimPolicy {
    std::string Identifier;
    std::string Digest; // Base64 of the policy document's digest
};

struct TSimSignatureCheckOptions {
    std::string TrustedPem;           // the trusted authorities' certificates
    std::vector<TSimPolicy> Policies; // empty: any policy
    std::string SchemaDir;            // Podaj_v01.xsd, Podaj_v02.xsd, Podaj_v03.xsd
};

// "IDENTIFIER=BASE64"; throws std::invalid_argument otherwise.
TSimPolicy ParsePolicy(const std::string& text);
// One policy a line; blank lines and lines starting with # are skipped.
std::vector<TSimPolicy> ReadPolicies(const std::string& path);

class TSimSignatureCheck final : public ISimSubmissionCheck {
public:
    // Loads and compiles the schemas; throws std::runtime_error when one is
    // missing or broken, so a misconfigured portal never starts.
    explicit TSimSignatureCheck(TSimSignatureCheckOptions options);
    ~TSimSignatureCheck() override;
    TSimSignatureCheck(const TSimSignatureCheck&) = delete;
    TSimSignatureCheck& operator=(const TSimSignatureCheck&) = delete;

    std::optional<std::string> Check(const std::string& typPodania,
                                     const std::string& document) override;

private:
    struct TSchema;
    std::optional<std::string> CheckLocked(const std::string& typPodania,
                                           const std::string& document);

    TSimSignatureCheckOptions Options;
    std::map<std::string, std::unique_ptr<TSchema>> Schemas; // by typPodania
    std::mutex Mutex; // xmlsec's error state and libxml2's validation are not shared safely
};

} // namespace Sim
