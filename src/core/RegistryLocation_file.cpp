#include "URegistryFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

// Where the platform's file registry keeps its hives. The user hive follows
// the per-user configuration folder (XDG_CONFIG_HOME); the machine hive is
// the first one found in the system configuration folders (XDG_CONFIG_DIRS,
// by default /etc/xdg).

namespace {

const QString Folder = QStringLiteral("ORV Duriza");

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString UserHiveFile() {
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(config).filePath(Folder + QStringLiteral("/HKEY_CURRENT_USER.reg"));
}

QString MachineHiveFile() {
    QString dirs = qEnvironmentVariable("XDG_CONFIG_DIRS");
    if (dirs.isEmpty())
        dirs = QStringLiteral("/etc/xdg");
    const QStringList list = dirs.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    const QString name = Folder + QStringLiteral("/HKEY_LOCAL_MACHINE.reg");
    for (const QString& dir : list) {
        const QString candidate = QDir(dir).filePath(name);
        if (QFileInfo::exists(candidate))
            return candidate;
    }
    return QDir(list.isEmpty() ? QStringLiteral("/etc/xdg") : list.first()).filePath(name);
}

} // namespace

std::unique_ptr<IRegistry> CreatePlatformRegistry() {
    return std::make_unique<TFileRegistry>(LocalPath(UserHiveFile()), LocalPath(MachineHiveFile()));
}
