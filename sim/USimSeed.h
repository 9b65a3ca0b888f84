#pragma once

#include "USimDatabase.h"

namespace Sim {

// The documented demo account.
inline constexpr const char* DemoSubjekt = "10012345";
inline constexpr const char* DemoOsoba = "demo";
inline constexpr const char* DemoHeslo = "Demo-Heslo-2024";

struct TSimSeedCounts {
    int Podania = 0;
    int Pisomnosti = 0;
};

// Replaces the demo subject's data with about 1200 submissions spread over
// the 90 days before now, their business cases, states and delivered
// documents. The same now gives the same data; one transaction.
TSimSeedCounts SeedDemo(TSimDatabase& database, TUtcMs now);

} // namespace Sim
