#pragma once

#include "URegistry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

#ifdef Q_OS_WIN
#include "URegFile.h"
#include "URegFileParser.h"
#include "URegFileWriter.h"

#include <windows.h>

#include <QStringList>

#include <iterator>
#include <string>
#include <vector>
#else
#include "URegistryFile.h"
#endif

#ifndef Q_OS_WIN
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
    // Another store on the same hives, as a second program has.
    std::unique_ptr<IRegistry> NewStore() const {
        return std::make_unique<TFileRegistry>(Files->UserFile(), Files->MachineFile());
    }

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
#else
// The registry itself (Wine's prefix of the build folder is a scratch one):
// the ORV Duriza key of the current user starts and ends empty, and machine
// keys set here are removed again. Its text is that of a registry export.
// Tests that use it run one at a time.
class TTempRegistry {
public:
    TTempRegistry() { RegDeleteTreeW(HKEY_CURRENT_USER, VendorKey); }
    ~TTempRegistry() {
        RegDeleteTreeW(HKEY_CURRENT_USER, VendorKey);
        for (const std::u16string& key : MachineKeys)
            RegDeleteTreeW(HKEY_LOCAL_MACHINE, Wide(key));
    }
    TTempRegistry(const TTempRegistry&) = delete;
    TTempRegistry& operator=(const TTempRegistry&) = delete;

    // The vendor's key of HKEY_CURRENT_USER with everything below it.
    QByteArray UserText() const {
        TRegFile file(u"HKEY_CURRENT_USER");
        TKey software;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE", 0, KEY_READ, &software.Handle) ==
            ERROR_SUCCESS) {
            // The name as stored, which is the spelling of its creator.
            for (const std::u16string& name : SubKeys(software.Handle))
                if (QString::fromStdU16String(name).compare(QStringLiteral("Kelmar Tirsa, a.s."),
                                                            Qt::CaseInsensitive) == 0)
                    Export(file, {u"SOFTWARE", name}, software.Handle);
        }
        return QByteArray::fromStdString(FormatRegFile(file));
    }
    // Replaces the vendor's key with the keys and values of text.
    void SetUserText(const QByteArray& text) const {
        RegDeleteTreeW(HKEY_CURRENT_USER, VendorKey);
        Import(HKEY_CURRENT_USER, u"HKEY_CURRENT_USER", text, nullptr);
    }
    void SetMachineText(const QByteArray& text) const {
        Import(HKEY_LOCAL_MACHINE, u"HKEY_LOCAL_MACHINE", text, &MachineKeys);
    }
    // Another store on the same registry, as a second program has.
    std::unique_ptr<IRegistry> NewStore() const { return CreatePlatformRegistry(); }

private:
    static constexpr const wchar_t* VendorKey = L"SOFTWARE\\Kelmar Tirsa, a.s.";

    struct TKey {
        HKEY Handle = nullptr;
        TKey() = default;
        ~TKey() { Reset(); }
        void Reset() {
            if (Handle)
                RegCloseKey(Handle);
            Handle = nullptr;
        }
        TKey(const TKey&) = delete;
        TKey& operator=(const TKey&) = delete;
    };

    static const wchar_t* Wide(const std::u16string& text) {
        return reinterpret_cast<const wchar_t*>(text.c_str());
    }

    static std::vector<std::u16string> SubKeys(HKEY key) {
        std::vector<std::u16string> names;
        wchar_t name[256]; // key names are at most 255 characters
        for (DWORD index = 0;; ++index) {
            DWORD length = DWORD(std::size(name));
            if (RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS)
                return names;
            names.emplace_back(reinterpret_cast<const char16_t*>(name), length);
        }
    }

    // The key path (its last level below parent) into file, with its values
    // and subkeys.
    static void Export(TRegFile& file, const TRegistryPath& path, HKEY parent) {
        TKey key;
        if (RegOpenKeyExW(parent, Wide(path.back()), 0, KEY_READ, &key.Handle) != ERROR_SUCCESS)
            return;
        file.EnsureKey(path);
        DWORD nameMax = 0;
        DWORD dataMax = 0;
        RegQueryInfoKeyW(key.Handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                         &nameMax, &dataMax, nullptr, nullptr);
        std::vector<wchar_t> name(nameMax + 1);
        for (DWORD index = 0;; ++index) {
            DWORD nameLength = DWORD(name.size());
            DWORD type = REG_NONE;
            TRegistryValue value;
            value.Data.resize(dataMax);
            DWORD size = dataMax;
            if (RegEnumValueW(key.Handle, index, name.data(), &nameLength, nullptr, &type,
                              value.Data.empty() ? nullptr : value.Data.data(),
                              &size) != ERROR_SUCCESS)
                break;
            value.Type = type;
            value.Data.resize(size);
            file.SetValue(
                path, std::u16string(reinterpret_cast<const char16_t*>(name.data()), nameLength),
                value);
        }
        for (const std::u16string& sub : SubKeys(key.Handle)) {
            TRegistryPath subPath = path;
            subPath.push_back(sub);
            Export(file, subPath, key.Handle);
        }
    }

    // The quoted name at the start of line, its \\ and \" undone.
    static std::u16string QuotedName(const QString& line) {
        std::u16string name;
        for (qsizetype i = 1; i < line.size() && line.at(i) != u'"'; ++i) {
            if (line.at(i) == u'\\' && i + 1 < line.size())
                ++i;
            name.push_back(line.at(i).unicode());
        }
        return name;
    }

    // Writes the keys and values of text, read by the file store's parser,
    // below root; notes the topmost keys it creates in created.
    static void Import(HKEY root, const std::u16string& hive, const QByteArray& text,
                       std::vector<std::u16string>* created) {
        const TRegFile file = ParseRegFile(hive, text.toStdString(), "test.reg");
        TRegistryPath path;
        TKey key;
        for (QString line : QString::fromUtf8(text).split(u'\n')) {
            line = line.trimmed();
            if (line.startsWith(u'[') && line.endsWith(u']')) {
                const QStringList levels = line.mid(1, line.size() - 2).split(u'\\');
                path.clear();
                std::u16string joined;
                bool isNew = false; // a level above is created now, and this one with it
                for (const QString& level : levels.mid(1)) {
                    path.push_back(level.toStdU16String());
                    joined += (joined.empty() ? u"" : u"\\") + path.back();
                    TKey probe;
                    if (created && !isNew &&
                        RegOpenKeyExW(root, Wide(joined), 0, KEY_READ, &probe.Handle) !=
                            ERROR_SUCCESS) {
                        created->push_back(joined);
                        isNew = true;
                    }
                }
                key.Reset();
                RegCreateKeyExW(root, Wide(joined), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                KEY_ALL_ACCESS, nullptr, &key.Handle, nullptr);
                continue;
            }
            if (!key.Handle || !(line.startsWith(u'"') || line.startsWith(u'@')))
                continue;
            const std::u16string name = line.startsWith(u'@') ? u"" : QuotedName(line);
            if (const TRegistryValue* value = file.FindValue(path, name))
                RegSetValueExW(key.Handle, Wide(name), 0, value->Type,
                               value->Data.empty() ? nullptr : value->Data.data(),
                               DWORD(value->Data.size()));
        }
    }

    mutable std::vector<std::u16string> MachineKeys; // created by SetMachineText
};
#endif

// The user hive's text with the ORV section holding the given value lines.
inline QByteArray OrvSection(const QByteArray& valueLines) {
    return "Windows Registry Editor Version 5.00\r\n\r\n"
           "[HKEY_CURRENT_USER\\SOFTWARE\\Kelmar Tirsa, a.s.\\ORV Duriza\\ORV]\r\n" +
           valueLines + "\r\n";
}
