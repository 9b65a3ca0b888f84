#include "URegistry.h"

namespace {

IRegistry* OverrideRegistry = nullptr;

IRegistry& PlatformRegistry() {
    static const std::unique_ptr<IRegistry> registry = CreatePlatformRegistry();
    return *registry;
}

} // namespace

std::vector<std::uint8_t> RegistryStringData(const std::u16string& text) {
    std::vector<std::uint8_t> data;
    data.reserve(2 * (text.size() + 1));
    for (const char16_t c : text) {
        data.push_back(static_cast<std::uint8_t>(c & 0xFF));
        data.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    data.push_back(0);
    data.push_back(0);
    return data;
}

std::u16string RegistryDataString(const std::vector<std::uint8_t>& data) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
        const auto c = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        if (c == 0)
            break;
        text.push_back(c);
    }
    return text;
}

IRegistry& Registry() {
    return OverrideRegistry ? *OverrideRegistry : PlatformRegistry();
}

TRegistryOverride::TRegistryOverride(IRegistry& registry) noexcept
    : Previous(OverrideRegistry) {
    OverrideRegistry = &registry;
}

TRegistryOverride::~TRegistryOverride() {
    OverrideRegistry = Previous;
}
