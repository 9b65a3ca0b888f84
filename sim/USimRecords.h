#pragma once

#include "USimDateTime.h"

#include <optional>
#include <string>

namespace Sim {

struct TSimAccount {
    std::string Subjekt;
    std::string Osoba;
    std::string HesloDigest; // Base64(SHA-256(UTF-8 password)), as clients send it
};

// A submission as stored.
struct TSimPodanie {
    std::string Id;
    std::string Subjekt;
    std::string Osoba;
    std::string Biznis;
    TUtcMs ReceivedUtc = 0;
    std::string Typ;
    std::string Sluzba;
    std::string StavOverenia;
    std::string StavPodania;
    std::string Document; // the submitted XML, empty in listings
};

// A document delivered to a subject.
struct TSimPisomnost {
    std::string Id;
    std::string Subjekt;
    std::string PodanieId;
    std::string Biznis;
    TUtcMs CreatedUtc = 0;
    std::string Typ;
    std::string Sluzba;
    std::string Content; // XML, empty in listings
    bool Precitany = false;
};

// Sort columns as the contract's enumerations name them.
enum class TSortColumn { Biznis, Datum, Typ, Stav, Precitany };

struct TListFilter {
    std::string Subjekt;
    std::optional<TUtcMs> FromUtc; // inclusive
    std::optional<TUtcMs> ToUtc;   // exclusive
    std::optional<std::string> Biznis;
    std::optional<bool> Precitany; // documents only
    int MaxRows = 1000;
    bool Descending = false;
    TSortColumn Column = TSortColumn::Biznis;
};

} // namespace Sim
