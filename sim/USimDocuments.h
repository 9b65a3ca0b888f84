#pragma once

#include "USimRecords.h"

#include <string>

namespace Sim {

// Type codes of the documents the simulated operator delivers.
inline constexpr const char* TypPotvrdenie = "KT_POTVRDENIE_PRIJATIA";
inline constexpr const char* TypOznamenie = "KT_OZNAMENIE_O_SPRACOVANI";
inline constexpr const char* TypVyzva = "KT_VYZVA_NA_DOPLNENIE";

// The namespace of the delivered documents, on the operator's form host.
std::string PisomnostNamespace();

// The receipt for a submission: a small XML "Potvrdenie" with its identifier
// and time of receipt.
std::string PotvrdenieXml(const TSimPodanie& podanie);

// The receipt record delivered for a submission, under the given identifier
// and creation time.
TSimPisomnost Potvrdenie(const TSimPodanie& podanie, std::string id, TUtcMs created);

// A notice about a submission with a Slovak message text.
std::string OznamenieXml(const TSimPodanie& podanie, const char* typ, const std::string& text,
                         TUtcMs created);

} // namespace Sim
