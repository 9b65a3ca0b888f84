#pragma once

// One registry hive held as the text of a registry export file
// ("Windows Registry Editor Version 5.00"): keys in brackets, values as
// "name"="text", dword:, hex: and hex(N): lines. Standard C++ only.

#include "URegistry.h"

#include <string>
#include <string_view>
#include <vector>

class TRegFile {
public:
    // hive is the root key name every section starts with, such as
    // "HKEY_CURRENT_USER".
    explicit TRegFile(std::u16string hive);

    // Reads UTF-8 (with or without byte-order mark) or UTF-16LE with its mark.
    // An empty text is an empty hive. Raises TRegistryError (Malformed) with
    // filePath and the line at fault.
    static TRegFile Parse(std::u16string hive, std::string_view bytes, const std::string& filePath);
    // UTF-8 without byte-order mark, CR LF line ends.
    std::string Format() const;

    // Paths are below the hive; names compare without regard to ASCII case.
    bool KeyExists(const TRegistryPath& path) const;
    std::vector<std::u16string> SubKeys(const TRegistryPath& path) const;
    const TRegistryValue* FindValue(const TRegistryPath& path, const std::u16string& name) const;
    // Adds the key and every missing level above it; true when one was added.
    bool EnsureKey(const TRegistryPath& path);
    void SetValue(const TRegistryPath& path, const std::u16string& name,
                  const TRegistryValue& value);

private:
    struct TValue {
        std::u16string Name;
        TRegistryValue Value;
    };
    struct TKey {
        TRegistryPath Path;
        std::vector<TValue> Values;
    };

    TKey* FindKey(const TRegistryPath& path);
    const TKey* FindKey(const TRegistryPath& path) const;
    TKey& AddKey(const TRegistryPath& path);

    std::u16string Hive;
    std::vector<TKey> Keys; // in file order; an ancestor always comes first
};
