#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The per-user settings store: string values under
// HKEY_CURRENT_USER\SOFTWARE\Kelmar Tirsa, a.s.\ORV Duriza\<section>.
// Each call works on the store afresh; nothing is cached or kept open.

inline constexpr char16_t SettingsSectionOrv[] = u"ORV";
inline constexpr char16_t SettingsSectionEph[] = u"EPH";

// The stored value, or defaultValue when there is none. Creates the key path.
// A value of another type than a string raises "Invalid data type for '%s'".
QString ReadSetting(const QString& section, const QString& name, const QString& defaultValue);

// Stores value as a string value; raises "Failed to set data for '%s'".
void WriteSetting(const QString& section, const QString& name, const QString& value);

// A string value of another program's key under HKEY_CURRENT_USER (keyPath
// relative to the hive, levels separated by "\"); nullopt when it is missing.
// Other types raise "Invalid data type for '%s'".
std::optional<QString> ReadUserKeyValue(const QString& keyPath, const QString& name);

// Read-only access to HKEY_LOCAL_MACHINE, for the signer's installation.
// keyPath is relative to the hive, levels separated by "\".
bool MachineKeyExists(const QString& keyPath);
// The names of the key's subkeys in stored order; empty when it is missing.
QStringList MachineSubKeys(const QString& keyPath);
// A string value of the key; nullopt when the key or the value is missing.
// Other types raise "Invalid data type for '%s'".
std::optional<QString> ReadMachineValue(const QString& keyPath, const QString& name);
