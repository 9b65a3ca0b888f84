#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace Sim {

// Instants are milliseconds since 1970-01-01T00:00:00Z.
using TUtcMs = std::int64_t;

// Reads an xs:dateTime ("2024-05-31T10:00:00.123+02:00"); without a zone
// designator the value counts as UTC. nullopt when the text is not one.
std::optional<TUtcMs> ParseXsDateTime(std::string_view text);

// Writes the instant as xs:dateTime with the given offset east of UTC, in
// minutes; "Z" for 0. Milliseconds are written only when not zero.
std::string FormatXsDateTime(TUtcMs instant, int offsetMinutes);

// The offset of the simulator's local zone at that instant (daylight saving
// as in force on that date), as a service running in that zone writes it.
int LocalOffsetMinutes(TUtcMs instant);

// FormatXsDateTime with LocalOffsetMinutes.
std::string FormatLocalXsDateTime(TUtcMs instant);

TUtcMs NowUtcMs();

} // namespace Sim
