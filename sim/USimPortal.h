#pragma once

#include "USimDatabase.h"
#include "USimRequest.h"
#include "USimResponse.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace Sim {

// Checks of a submitted document beyond well-formed XML (signature, schema);
// the signing work plugs its checks in here.
class ISimSubmissionCheck {
public:
    virtual ~ISimSubmissionCheck() = default;
    // nullopt accepts the document; a text refuses it with that popisChyby.
    virtual std::optional<std::string> Check(const std::string& typPodania,
                                             const std::string& document) = 0;
};

struct TSimPortalOptions {
    int MaxRows = 1000;            // GetPortalMaxRows, and the cap of every listing
    std::function<TUtcMs()> Clock; // empty: the system clock
    std::shared_ptr<ISimSubmissionCheck> SubmissionCheck; // empty: accept
};

// Result codes of PodajPodanie other than 0.
enum TPodajResult : int {
    PodajPrijate = 0,
    PodajZleUdaje = 1,
    PodajNeznamaSluzba = 2,
    PodajNeznamyTyp = 3,
    PodajZlyBase64 = 4,
    PodajZleXml = 5,
    PodajOdmietnute = 6,
};

// The eight operations of IPortal over the database.
class TSimPortal {
public:
    TSimPortal(TSimDatabase& database, TSimPortalOptions options);

    // The answer to a decoded request; TSimFault for a request it refuses to
    // process, TSimDbError when the database fails.
    TSimEnvelope Answer(const TSimRequest& request);

private:
    TSimEnvelope PodajPodanie(const TSimRequest& r);
    TSimEnvelope CheckLogin(const TSimRequest& r);
    TSimEnvelope GetPortalMaxRows(const TSimRequest& r);
    TSimEnvelope ListPodanie(const TSimRequest& r);
    TSimEnvelope GetPodanie(const TSimRequest& r);
    TSimEnvelope ListSuborPisomnosti(const TSimRequest& r);
    TSimEnvelope GetSuborPisomnosti(const TSimRequest& r);
    TSimEnvelope ListTypObjektu(const TSimRequest& r);

    bool LoggedIn(const TSimRequest& r);
    std::vector<std::string> SubjektsOf(const TSimRequest& r);
    TListFilter Filter(const TSimRequest& r, bool documents) const;
    TUtcMs Now() const;

    TSimDatabase& Database;
    TSimPortalOptions Options;
};

} // namespace Sim
