#include "URegistry.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <iterator>

namespace {

const wchar_t* Wide(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

std::string Utf8(const std::u16string& text) {
    if (text.empty())
        return {};
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, Wide(text), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(std::size_t(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, Wide(text), int(text.size()), result.data(), size, nullptr,
                            nullptr);
    return result;
}

std::string SystemReason(LONG code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, DWORD(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::u16string text;
    if (buffer) {
        text.assign(reinterpret_cast<const char16_t*>(buffer), length);
        LocalFree(buffer);
    }
    while (!text.empty() && (text.back() == u'\n' || text.back() == u'\r'))
        text.pop_back();
    return Utf8(text);
}

// An open key, closed with the object.
class TKey {
public:
    TKey() = default;
    ~TKey() { Reset(nullptr); }
    TKey(const TKey&) = delete;
    TKey& operator=(const TKey&) = delete;

    HKEY Get() const noexcept { return Handle; }
    void Reset(HKEY handle) noexcept {
        if (Handle)
            RegCloseKey(Handle);
        Handle = handle;
    }

private:
    HKEY Handle = nullptr;
};

// HKEY_CURRENT_USER, then one level after the other, each created when
// missing and opened with full access.
LONG OpenUserPath(const TRegistryPath& path, TKey& key) {
    HKEY parent = HKEY_CURRENT_USER;
    for (const std::u16string& level : path) {
        HKEY child = nullptr;
        const LONG result =
            RegCreateKeyExW(parent, Wide(level), 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_ALL_ACCESS, nullptr, &child, nullptr);
        if (result != ERROR_SUCCESS)
            return result;
        key.Reset(child);
        parent = child;
    }
    return ERROR_SUCCESS;
}

std::u16string JoinPath(const TRegistryPath& path) {
    std::u16string joined;
    for (const std::u16string& level : path) {
        if (!joined.empty())
            joined.push_back(u'\\');
        joined += level;
    }
    return joined;
}

bool OpenMachinePath(const TRegistryPath& path, TKey& key) {
    HKEY handle = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, Wide(JoinPath(path)), 0, KEY_READ, &handle) !=
        ERROR_SUCCESS)
        return false;
    key.Reset(handle);
    return true;
}

std::optional<TRegistryValue> QueryValue(HKEY key, const std::u16string& name) {
    TRegistryValue value;
    DWORD type = REG_NONE;
    DWORD size = 0;
    LONG result = RegQueryValueExW(key, Wide(name), nullptr, &type, nullptr, &size);
    // The value may grow between the two calls; ask again until it fits.
    while (result == ERROR_SUCCESS || result == ERROR_MORE_DATA) {
        value.Data.resize(size);
        result = RegQueryValueExW(key, Wide(name), nullptr, &type,
                                  value.Data.empty() ? nullptr : value.Data.data(), &size);
        if (result == ERROR_SUCCESS) {
            value.Data.resize(size);
            value.Type = type;
            return value;
        }
    }
    return std::nullopt;
}

class TWinRegistry : public IRegistry {
public:
    std::optional<TRegistryValue> ReadUserValue(const TRegistryPath& path,
                                                const std::u16string& name) override {
        TKey key;
        if (OpenUserPath(path, key) != ERROR_SUCCESS)
            return std::nullopt;
        return QueryValue(key.Get(), name);
    }

    void WriteUserValue(const TRegistryPath& path, const std::u16string& name,
                        const TRegistryValue& value) override {
        TKey key;
        LONG result = OpenUserPath(path, key);
        if (result == ERROR_SUCCESS)
            result = RegSetValueExW(key.Get(), Wide(name), 0, value.Type,
                                    value.Data.empty() ? nullptr : value.Data.data(),
                                    DWORD(value.Data.size()));
        if (result != ERROR_SUCCESS)
            throw TRegistryError(TRegistryError::TKind::WriteFailed, {}, 0, TRegistryFault::None,
                                 SystemReason(result));
    }

    bool MachineKeyExists(const TRegistryPath& path) override {
        TKey key;
        return OpenMachinePath(path, key);
    }

    std::vector<std::u16string> MachineSubKeys(const TRegistryPath& path) override {
        std::vector<std::u16string> names;
        TKey key;
        if (!OpenMachinePath(path, key))
            return names;
        wchar_t name[256]; // key names are at most 255 characters
        for (DWORD index = 0;; ++index) {
            DWORD length = DWORD(std::size(name));
            const LONG result =
                RegEnumKeyExW(key.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
            if (result != ERROR_SUCCESS)
                break;
            names.emplace_back(reinterpret_cast<const char16_t*>(name), length);
        }
        return names;
    }

    std::optional<TRegistryValue> ReadMachineValue(const TRegistryPath& path,
                                                   const std::u16string& name) override {
        TKey key;
        if (!OpenMachinePath(path, key))
            return std::nullopt;
        return QueryValue(key.Get(), name);
    }
};

} // namespace

std::unique_ptr<IRegistry> CreatePlatformRegistry() {
    return std::make_unique<TWinRegistry>();
}
