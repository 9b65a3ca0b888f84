#pragma once

#include <string>

namespace Sim {

// Answers no HTTP library lets a handler give, reached through the
// connection's socket (found by its two ports): the platform part of fault
// injection. Both return false when the socket cannot be found.

// Closes both directions at once: the client gets no answer at all.
bool DropConnection(int localPort, int remotePort);

// Writes bytes as the whole answer, then ends the connection.
bool WriteRawAndClose(int localPort, int remotePort, const std::string& bytes);

} // namespace Sim
