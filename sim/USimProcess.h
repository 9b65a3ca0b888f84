#pragma once

#include <optional>
#include <string>

namespace Sim {

// The process services the command line needs, one backend per platform.

// Blocks SIGINT and SIGTERM for every thread started afterwards, so that
// only WaitForStop sees them. Call before the server starts its threads.
void PrepareStopSignals();

// Returns when SIGINT or SIGTERM arrives, or after seconds when given.
void WaitForStop(std::optional<double> seconds);

// One line from standard input without its line end; the echo is switched
// off while a terminal is read. nullopt at end of input.
std::optional<std::string> ReadSecretLine(const std::string& prompt);

} // namespace Sim
