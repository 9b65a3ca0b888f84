#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The settings store: the one way into the registry for the whole program,
// the settings themselves and the other keys it reads. Every call works on
// the store afresh; nothing is cached or kept open. The store's trouble
// comes out as TOrvError with the user's message. The registry behind it
// is the platform's (URegistry.h).

// The settings: string values under
// HKEY_CURRENT_USER\SOFTWARE\Kelmar Tirsa, a.s.\ORV Duriza\<section>.
inline constexpr char16_t SettingsSectionOrv[] = u"ORV";
inline constexpr char16_t SettingsSectionEph[] = u"EPH";

// The stored value, or defaultValue when there is none. Creates the key path.
// A value of another type than a string raises "Invalid data type for '%s'".
QString ReadSetting(const QString& section, const QString& name, const QString& defaultValue);

// Stores value as a string value; raises "Failed to set data for '%s'".
void WriteSetting(const QString& section, const QString& name, const QString& value);

// Any other key under HKEY_CURRENT_USER (keyPath relative to the hive, levels
// separated by "\"), opened and created as the settings' key is.
// A string value; nullopt when it is missing. Other types raise
// "Invalid data type for '%s'".
std::optional<QString> ReadUserKeyValue(const QString& keyPath, const QString& name);
// Stores value as a string value; raises "Failed to set data for '%s'".
void WriteUserKeyValue(const QString& keyPath, const QString& name, const QString& value);

// Read-only access to HKEY_LOCAL_MACHINE, for the signer's installation.
// keyPath is relative to the hive, levels separated by "\".
bool MachineKeyExists(const QString& keyPath);
// The names of the key's subkeys in stored order; empty when it is missing.
QStringList MachineSubKeys(const QString& keyPath);
// A string value of the key; nullopt when the key or the value is missing.
// Other types raise "Invalid data type for '%s'".
std::optional<QString> ReadMachineValue(const QString& keyPath, const QString& name);
