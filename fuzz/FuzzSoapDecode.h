#pragma once

#include <cstddef>
#include <cstdint>

// Feeds bytes to the response decoder as every response type. Returns 0;
// anything other than a clean result or a TOrvError is a crash.
int FuzzSoapDecode(const std::uint8_t* data, std::size_t size);
