#include "URegistryFile.h"

#include "UPosixFd.h"
#include "URegFileParser.h"
#include "URegFileWriter.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char16_t UserHive[] = u"HKEY_CURRENT_USER";
constexpr char16_t MachineHive[] = u"HKEY_LOCAL_MACHINE";

std::string SystemReason(int error) {
    return std::strerror(error);
}

// Removes the file at the end of its life unless released.
class TRemoveGuard {
public:
    explicit TRemoveGuard(std::string path)
        : Path(std::move(path)) {}
    ~TRemoveGuard() {
        if (!Path.empty())
            ::unlink(Path.c_str());
    }
    TRemoveGuard(const TRemoveGuard&) = delete;
    TRemoveGuard& operator=(const TRemoveGuard&) = delete;
    void Release() noexcept { Path.clear(); }

private:
    std::string Path;
};

[[noreturn]] void FailWrite(const std::string& path, int error) {
    throw TRegistryError(TRegistryError::TKind::WriteFailed, path, 0, TRegistryFault::None,
                         SystemReason(error));
}

// An exclusive lock on "<file>.lock" for the object's lifetime. flock locks
// belong to the open file, so they also keep two stores apart within one
// process.
class TFileLock {
public:
    explicit TFileLock(const std::string& file)
        : Fd(::open((file + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
        if (!Fd)
            FailWrite(file, errno);
        while (::flock(Fd.Get(), LOCK_EX) != 0) {
            if (errno != EINTR)
                FailWrite(file, errno);
        }
    }

private:
    TFd Fd;
};

// The whole file; false when it does not exist.
bool ReadWhole(const std::string& path, std::string& bytes) {
    bytes.clear();
    TFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd) {
        // A missing folder, or a file where a folder should be: no store yet.
        if (errno == ENOENT || errno == ENOTDIR)
            return false;
        throw TRegistryError(TRegistryError::TKind::Unreadable, path, 0, TRegistryFault::None,
                             SystemReason(errno));
    }
    char buffer[16384];
    while (true) {
        const ssize_t got = ::read(fd.Get(), buffer, sizeof buffer);
        if (got == 0)
            return true;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throw TRegistryError(TRegistryError::TKind::Unreadable, path, 0, TRegistryFault::None,
                                 SystemReason(errno));
        }
        bytes.append(buffer, std::size_t(got));
    }
}

TRegFile Load(const std::string& path, const char16_t* hive) {
    std::string bytes;
    if (!ReadWhole(path, bytes))
        return TRegFile(hive);
    return ParseRegFile(hive, bytes, path);
}

void EnsureFolder(const std::string& file) {
    const std::filesystem::path folder = std::filesystem::path(file).parent_path();
    if (folder.empty())
        return;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        FailWrite(file, error.value());
}

} // namespace

TFileRegistry::TFileRegistry(std::string userFile, std::string machineFile)
    : UserPath(std::move(userFile))
    , MachinePath(std::move(machineFile)) {}

TRegFile TFileRegistry::LoadUser() const {
    return Load(UserPath, UserHive);
}

TRegFile TFileRegistry::LoadMachine() const {
    return Load(MachinePath, MachineHive);
}

// New file, flushed to disk, then renamed over the old one: a crash leaves
// either the old file or the new one, never a mix.
void TFileRegistry::Replace(const TRegFile& file) const {
    const std::string text = FormatRegFile(file);
    const std::string temporary = UserPath + ".new";
    TFd fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
    if (!fd)
        FailWrite(UserPath, errno);
    TRemoveGuard removeTemporary(temporary);
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t put = ::write(fd.Get(), text.data() + written, text.size() - written);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            FailWrite(UserPath, errno);
        }
        written += std::size_t(put);
    }
    if (::fsync(fd.Get()) != 0 || fd.Close() != 0)
        FailWrite(UserPath, errno);
    if (::rename(temporary.c_str(), UserPath.c_str()) != 0)
        FailWrite(UserPath, errno);
    removeTemporary.Release();

    // Makes the rename itself durable; the data is safe either way.
    const std::string folder = std::filesystem::path(UserPath).parent_path().string();
    TFd dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir)
        ::fsync(dir.Get());
}

std::optional<TRegistryValue> TFileRegistry::ReadUserValue(const TRegistryPath& path,
                                                           const std::u16string& name) {
    TRegFile file = LoadUser();
    if (!file.KeyExists(path)) {
        // Opening a key creates it, as on Windows. When that is impossible
        // (no write access) the read goes on with what is there.
        try {
            EnsureFolder(UserPath);
            const TFileLock lock(UserPath);
            file = LoadUser();
            if (file.EnsureKey(path))
                Replace(file);
        } catch (const TRegistryError& error) {
            if (error.Kind != TRegistryError::TKind::WriteFailed)
                throw;
        }
    }
    if (const TRegistryValue* value = file.FindValue(path, name))
        return *value;
    return std::nullopt;
}

void TFileRegistry::WriteUserValue(const TRegistryPath& path, const std::u16string& name,
                                   const TRegistryValue& value) {
    EnsureFolder(UserPath);
    const TFileLock lock(UserPath);
    // Read again under the lock so a value another process wrote meanwhile stays.
    TRegFile file = LoadUser();
    file.SetValue(path, name, value);
    Replace(file);
}

bool TFileRegistry::MachineKeyExists(const TRegistryPath& path) {
    return LoadMachine().KeyExists(path);
}

std::vector<std::u16string> TFileRegistry::MachineSubKeys(const TRegistryPath& path) {
    return LoadMachine().SubKeys(path);
}

std::optional<TRegistryValue> TFileRegistry::ReadMachineValue(const TRegistryPath& path,
                                                              const std::u16string& name) {
    const TRegFile file = LoadMachine();
    if (const TRegistryValue* value = file.FindValue(path, name))
        return *value;
    return std::nullopt;
}
