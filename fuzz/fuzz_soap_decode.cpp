// libFuzzer entry of the response decoder.

#include "FuzzSoapDecode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return FuzzSoapDecode(data, size);
}
