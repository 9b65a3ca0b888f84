#pragma once

// One registry hive as a registry export file holds it: keys in file order,
// each with its values. ParseRegFile (URegFileParser.h) reads such a file,
// FormatRegFile (URegFileWriter.h) writes one. Standard C++ only.

#include "URegistry.h"

#include <string>
#include <string_view>
#include <vector>

// The first line the writer puts and the parser expects ("REGEDIT4" is read too).
inline constexpr std::u16string_view RegFileHeader = u"Windows Registry Editor Version 5.00";

// Key and value names compare without regard to ASCII letter case.
bool SameRegName(std::u16string_view a, std::u16string_view b);

class TRegFile {
public:
    struct TValue {
        std::u16string Name;
        TRegistryValue Value;
    };
    struct TKey {
        TRegistryPath Path;
        std::vector<TValue> Values;
    };

    // hive is the root key name every key line starts with, such as
    // "HKEY_CURRENT_USER".
    explicit TRegFile(std::u16string hive);

    const std::u16string& Hive() const noexcept { return HiveName; }
    // In file order; an ancestor always comes before its subkeys.
    const std::vector<TKey>& Keys() const noexcept { return KeyList; }

    // Paths are below the hive.
    bool KeyExists(const TRegistryPath& path) const;
    std::vector<std::u16string> SubKeys(const TRegistryPath& path) const;
    const TRegistryValue* FindValue(const TRegistryPath& path, const std::u16string& name) const;
    // Adds the key and every missing level above it; true when one was added.
    bool EnsureKey(const TRegistryPath& path);
    void SetValue(const TRegistryPath& path, const std::u16string& name,
                  const TRegistryValue& value);

private:
    TKey* FindKey(const TRegistryPath& path);
    const TKey* FindKey(const TRegistryPath& path) const;
    TKey& AddKey(const TRegistryPath& path);

    std::u16string HiveName;
    std::vector<TKey> KeyList;
};
