#pragma once

// The backend behind the settings store (UWinRegistry.h): the registry's
// values and the one interface that each platform's registry implements,
// Registry_win.cpp on the Win32 registry and Registry_file.cpp on registry
// export files (URegistryFile.h). Standard C++ types only, so every backend
// builds on its own, without Qt.

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// Value types, numbered as the Windows registry numbers them.
enum TRegistryType : std::uint32_t {
    RegNone = 0,
    RegSz = 1,
    RegExpandSz = 2,
    RegBinary = 3,
    RegDword = 4,
    RegDwordBigEndian = 5,
    RegLink = 6,
    RegMultiSz = 7,
    RegResourceList = 8,
    RegFullResourceDescriptor = 9,
    RegResourceRequirementsList = 10,
    RegQword = 11,
};

// A value as stored: its type and its raw bytes (strings are UTF-16LE with
// their terminating NUL).
struct TRegistryValue {
    std::uint32_t Type = RegNone;
    std::vector<std::uint8_t> Data;

    friend bool operator==(const TRegistryValue&, const TRegistryValue&) = default;
};

// UTF-16LE bytes of text with its terminating NUL, as a string value holds it.
std::vector<std::uint8_t> RegistryStringData(const std::u16string& text);
// The text of string data, up to its first NUL (an odd last byte is dropped).
std::u16string RegistryDataString(const std::vector<std::uint8_t>& data);

// Key names below the hive, one per level.
using TRegistryPath = std::vector<std::u16string>;

// What is wrong with a line of a settings file.
enum class TRegistryFault {
    None,
    BadEncoding,     // neither UTF-8 nor UTF-16 with a byte-order mark
    MissingHeader,   // the first line is not the format's header
    BadKeyLine,      // a "[...]" line that names no key
    ForeignHive,     // a key of another hive than the file's
    Deletion,        // "[-...]" or "=-": import instructions, not stored data
    ValueOutsideKey, // a value before the first key
    BadValueLine,    // a line that is neither a key nor a value
    BadValueData,    // a value whose data cannot be read
};

// A store that could not be used. Path names the file; Line and Fault say
// where and why it could not be parsed (Line 0 when no line is at fault).
// what() holds the system's reason, if any.
class TRegistryError : public std::runtime_error {
public:
    enum class TKind {
        Unreadable,  // the store exists but cannot be read
        Malformed,   // the store's text cannot be parsed
        WriteFailed, // a value could not be stored
    };

    TRegistryError(TKind kind, std::string path, int line, TRegistryFault fault,
                   const std::string& detail)
        : std::runtime_error(detail)
        , Kind(kind)
        , Path(std::move(path))
        , Line(line)
        , Fault(fault) {}

    TKind Kind;
    std::string Path; // UTF-8
    int Line;
    TRegistryFault Fault;
};

class IRegistry {
public:
    virtual ~IRegistry() = default;

    // HKEY_CURRENT_USER, opened level by level with full access, each missing
    // key created. The value, or nullopt when it does not exist (also when
    // the key path cannot be opened or created).
    virtual std::optional<TRegistryValue> ReadUserValue(const TRegistryPath& path,
                                                        const std::u16string& name) = 0;
    // Stores the value, creating keys as needed; raises WriteFailed.
    virtual void WriteUserValue(const TRegistryPath& path, const std::u16string& name,
                                const TRegistryValue& value) = 0;

    // HKEY_LOCAL_MACHINE, read only.
    virtual bool MachineKeyExists(const TRegistryPath& path) = 0;
    virtual std::vector<std::u16string> MachineSubKeys(const TRegistryPath& path) = 0;
    virtual std::optional<TRegistryValue> ReadMachineValue(const TRegistryPath& path,
                                                           const std::u16string& name) = 0;
};

// The platform's registry (the Win32 registry on Windows, files elsewhere).
std::unique_ptr<IRegistry> CreatePlatformRegistry();

// The registry in use: the platform's, made at first use, unless overridden.
IRegistry& Registry();

// Installs another registry for the lifetime of this object (tests).
class TRegistryOverride {
public:
    explicit TRegistryOverride(IRegistry& registry) noexcept;
    ~TRegistryOverride();
    TRegistryOverride(const TRegistryOverride&) = delete;
    TRegistryOverride& operator=(const TRegistryOverride&) = delete;

private:
    IRegistry* Previous;
};
