#include "URegFile.h"

#include <algorithm>
#include <cstddef>

namespace {

char16_t FoldAscii(char16_t c) {
    return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

bool SamePath(const TRegistryPath& a, const TRegistryPath& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), SameRegName);
}

// True when path lies at or below ancestor.
bool Within(const TRegistryPath& path, const TRegistryPath& ancestor) {
    return path.size() >= ancestor.size() &&
           std::equal(ancestor.begin(), ancestor.end(), path.begin(), SameRegName);
}

} // namespace

bool SameRegName(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char16_t x, char16_t y) { return FoldAscii(x) == FoldAscii(y); });
}

TRegFile::TRegFile(std::u16string hive)
    : HiveName(std::move(hive)) {}

TRegFile::TKey* TRegFile::FindKey(const TRegistryPath& path) {
    const auto it = std::find_if(KeyList.begin(), KeyList.end(),
                                 [&](const TKey& key) { return SamePath(key.Path, path); });
    return it == KeyList.end() ? nullptr : &*it;
}

const TRegFile::TKey* TRegFile::FindKey(const TRegistryPath& path) const {
    return const_cast<TRegFile*>(this)->FindKey(path);
}

TRegFile::TKey& TRegFile::AddKey(const TRegistryPath& path) {
    KeyList.push_back(TKey{path, {}});
    return KeyList.back();
}

bool TRegFile::KeyExists(const TRegistryPath& path) const {
    if (path.empty())
        return true;
    return std::any_of(KeyList.begin(), KeyList.end(),
                       [&](const TKey& key) { return Within(key.Path, path); });
}

std::vector<std::u16string> TRegFile::SubKeys(const TRegistryPath& path) const {
    std::vector<std::u16string> names;
    for (const TKey& key : KeyList) {
        if (key.Path.size() <= path.size() || !Within(key.Path, path))
            continue;
        const std::u16string& name = key.Path[path.size()];
        if (std::none_of(names.begin(), names.end(),
                         [&](const std::u16string& known) { return SameRegName(known, name); }))
            names.push_back(name);
    }
    return names;
}

const TRegistryValue* TRegFile::FindValue(const TRegistryPath& path,
                                          const std::u16string& name) const {
    const TKey* key = FindKey(path);
    if (!key)
        return nullptr;
    const auto it = std::find_if(key->Values.begin(), key->Values.end(), [&](const TValue& value) {
        return SameRegName(value.Name, name);
    });
    return it == key->Values.end() ? nullptr : &it->Value;
}

bool TRegFile::EnsureKey(const TRegistryPath& path) {
    bool added = false;
    for (std::size_t depth = 1; depth <= path.size(); ++depth) {
        const TRegistryPath level(path.begin(), path.begin() + std::ptrdiff_t(depth));
        if (!FindKey(level)) {
            AddKey(level);
            added = true;
        }
    }
    return added;
}

void TRegFile::SetValue(const TRegistryPath& path, const std::u16string& name,
                        const TRegistryValue& value) {
    EnsureKey(path);
    TKey* key = FindKey(path);
    if (!key)
        key = &AddKey(path); // values of the hive's root key
    for (TValue& existing : key->Values) {
        if (SameRegName(existing.Name, name)) {
            existing.Value = value;
            return;
        }
    }
    key->Values.push_back(TValue{name, value});
}
