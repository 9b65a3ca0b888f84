#pragma once

// The registry kept in files, one per hive, in the registry export text
// format. The user hive is read and written; the machine hive only read.

#include "URegistry.h"

#include <string>

class TRegFile;

class TFileRegistry : public IRegistry {
public:
    // Paths in UTF-8; the user file's folder is created when needed.
    TFileRegistry(std::string userFile, std::string machineFile);

    std::optional<TRegistryValue> ReadUserValue(const TRegistryPath& path,
                                                const std::u16string& name) override;
    void WriteUserValue(const TRegistryPath& path, const std::u16string& name,
                        const TRegistryValue& value) override;

    bool MachineKeyExists(const TRegistryPath& path) override;
    std::vector<std::u16string> MachineSubKeys(const TRegistryPath& path) override;
    std::optional<TRegistryValue> ReadMachineValue(const TRegistryPath& path,
                                                   const std::u16string& name) override;

    const std::string& UserFile() const noexcept { return UserPath; }
    const std::string& MachineFile() const noexcept { return MachinePath; }

private:
    TRegFile LoadUser() const;
    TRegFile LoadMachine() const;
    // Writes file whole to a new file and puts it in place of the old one.
    void Replace(const TRegFile& file) const;

    std::string UserPath;
    std::string MachinePath;
};
