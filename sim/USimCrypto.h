#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>

namespace Sim {

// Base64 of the SHA-256 digest of the text's bytes: what a client sends as
// heslo for that password, and what an account stores.
std::string HesloDigest(std::string_view password);

// Strict Base64: the standard alphabet with padding; CR and LF anywhere are
// allowed (line-wrapped encoders), nothing else. nullopt when not Base64.
std::optional<std::string> DecodeBase64(std::string_view text);

// Base64 as signatures carry it: letters of the standard alphabet are
// decoded, anything else (white space, line breaks) is skipped, and the first
// '=' ends the text.
std::string LenientBase64(std::string_view text);

// Equal texts, compared in time independent of where they differ.
bool EqualDigests(std::string_view a, std::string_view b);

// A lower-case GUID text from the system's random source.
std::string RandomGuid();
// The same form from a seeded engine, for reproducible demo data.
std::string GuidFrom(std::mt19937_64& engine);

} // namespace Sim
