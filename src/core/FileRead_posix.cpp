#include "UFileRead.h"

#include "UOrvError.h"
#include "UPosixFd.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void Fail(const QString& path, int error) {
    // A writer holding the lock is what Windows reports as a sharing violation.
    const QString reason =
        error == EWOULDBLOCK
            ? QCoreApplication::translate("TDMORV", "The process cannot access the file because "
                                                    "it is being used by another process.")
            : QString::fromLocal8Bit(std::strerror(error));
    throw TOrvError(CannotOpenFileMessage(path, reason));
}

} // namespace

QByteArray ReadFileDenyingWriters(const QString& path) {
    if (path.isEmpty())
        Fail(path, ENOENT);
    const QByteArray name = QFile::encodeName(path);
    const TFd fd(::open(name.constData(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0)
        Fail(path, errno);
    // Writers that lock the file exclusively are kept out while it is read;
    // other readers are welcome.
    if (::flock(fd.Get(), LOCK_SH | LOCK_NB) != 0)
        Fail(path, errno);
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0)
        Fail(path, errno);
    if (S_ISDIR(info.st_mode))
        Fail(path, EISDIR);

    QByteArray bytes;
    if (info.st_size > 0)
        bytes.reserve(qsizetype(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd.Get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            Fail(path, errno);
        }
        if (got == 0)
            break;
        bytes.append(buffer, qsizetype(got));
    }
    return bytes;
}
