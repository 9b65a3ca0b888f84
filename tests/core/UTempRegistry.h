#pragma once

#include "URegistry.h"
#include "URegistryFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

// Both hives in a fresh temporary folder, installed as the registry in use
// for the object's lifetime.
class TTempRegistry {
public:
    TTempRegistry()
        : Files(std::make_unique<TFileRegistry>(
              QFile::encodeName(Dir.filePath(QStringLiteral("user/HKEY_CURRENT_USER.reg")))
                  .toStdString(),
              QFile::encodeName(Dir.filePath(QStringLiteral("machine/HKEY_LOCAL_MACHINE.reg")))
                  .toStdString()))
        , Override(*Files) {}

    QString UserFile() const { return QFile::decodeName(Files->UserFile().c_str()); }
    QString MachineFile() const { return QFile::decodeName(Files->MachineFile().c_str()); }

    QByteArray UserText() const { return ReadAll(UserFile()); }

    void SetUserText(const QByteArray& text) const { Write(UserFile(), text); }
    void SetMachineText(const QByteArray& text) const { Write(MachineFile(), text); }

    static QByteArray ReadAll(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static void Write(const QString& path, const QByteArray& text) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(text);
    }

    QTemporaryDir Dir;

private:
    std::unique_ptr<TFileRegistry> Files;
    TRegistryOverride Override;
};

// The user hive's text with the ORV section holding the given value lines.
inline QByteArray OrvSection(const QByteArray& valueLines) {
    return "Windows Registry Editor Version 5.00\r\n\r\n"
           "[HKEY_CURRENT_USER\\SOFTWARE\\Kelmar Tirsa, a.s.\\ORV Duriza\\ORV]\r\n" +
           valueLines + "\r\n";
}
