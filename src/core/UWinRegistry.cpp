#include "UWinRegistry.h"

#include "UOrvError.h"
#include "URegistry.h"

#include <QCoreApplication>
#include <QFile>

namespace {

TRegistryPath SettingsPath(const QString& section) {
    return {u"SOFTWARE", u"Kelmar Tirsa, a.s.", u"ORV Duriza", section.toStdU16String()};
}

TRegistryPath KeyPath(const QString& keyPath) {
    TRegistryPath path;
    for (const QString& level : keyPath.split(QLatin1Char('\\'), Qt::SkipEmptyParts))
        path.push_back(level.toStdU16String());
    return path;
}

QString FaultText(TRegistryFault fault) {
    switch (fault) {
    case TRegistryFault::BadEncoding:
        return QCoreApplication::translate("UWinRegistry", "text nie je v kódovaní UTF-8");
    case TRegistryFault::MissingHeader:
        return QCoreApplication::translate(
            "UWinRegistry", "chýba úvodný riadok \"Windows Registry Editor Version 5.00\"");
    case TRegistryFault::BadKeyLine:
        return QCoreApplication::translate("UWinRegistry", "chybný názov kľúča");
    case TRegistryFault::ForeignHive:
        return QCoreApplication::translate("UWinRegistry", "kľúč patrí inej vetve registra");
    case TRegistryFault::Deletion:
        return QCoreApplication::translate("UWinRegistry", "príkaz na vymazanie nie je dovolený");
    case TRegistryFault::ValueOutsideKey:
        return QCoreApplication::translate("UWinRegistry", "hodnota pred prvým kľúčom");
    case TRegistryFault::BadValueLine:
        return QCoreApplication::translate("UWinRegistry", "riadok nie je kľúč ani hodnota");
    case TRegistryFault::BadValueData:
        return QCoreApplication::translate("UWinRegistry", "chybné údaje hodnoty");
    case TRegistryFault::None:
        break;
    }
    return {};
}

// The store's own trouble, in the user's words; a value that cannot be
// stored keeps the registry's message.
[[noreturn]] void Raise(const TRegistryError& error, const QString& name) {
    const QString path = QFile::decodeName(QByteArray::fromStdString(error.Path));
    switch (error.Kind) {
    case TRegistryError::TKind::Malformed:
        if (error.Line > 0)
            throw TOrvError(
                QCoreApplication::translate("UWinRegistry",
                                            "Súbor nastavení \"%1\" je poškodený, riadok %2: %3")
                    .arg(path, QString::number(error.Line), FaultText(error.Fault)));
        throw TOrvError(
            QCoreApplication::translate("UWinRegistry", "Súbor nastavení \"%1\" je poškodený: %2")
                .arg(path, FaultText(error.Fault)));
    case TRegistryError::TKind::Unreadable:
        throw TOrvError(
            QCoreApplication::translate("UWinRegistry", "Súbor nastavení \"%1\" sa nedá čítať: %2")
                .arg(path, QString::fromLocal8Bit(error.what())));
    case TRegistryError::TKind::WriteFailed:
        break;
    }
    throw TOrvError(
        QCoreApplication::translate("UWinRegistry", "Failed to set data for '%1'").arg(name));
}

// Runs one call into the registry; name is what the user is told it concerns.
template <typename TCall> auto Guarded(const QString& name, TCall call) -> decltype(call()) {
    try {
        return call();
    } catch (const TRegistryError& error) {
        Raise(error, name);
    }
}

// A string value up to its first NUL; zero length reads as empty whatever
// the type; other types are refused.
std::optional<QString> StringOf(const std::optional<TRegistryValue>& value, const QString& name) {
    if (!value)
        return std::nullopt;
    if (value->Data.empty())
        return QString();
    if (value->Type != RegSz && value->Type != RegExpandSz)
        throw TOrvError(
            QCoreApplication::translate("UWinRegistry", "Invalid data type for '%1'").arg(name));
    return QString::fromStdU16String(RegistryDataString(value->Data));
}

std::optional<QString> ReadUserString(const TRegistryPath& path, const QString& name) {
    return StringOf(
        Guarded(name, [&] { return Registry().ReadUserValue(path, name.toStdU16String()); }), name);
}

void WriteUserString(const TRegistryPath& path, const QString& name, const QString& value) {
    Guarded(name, [&] {
        Registry().WriteUserValue(
            path, name.toStdU16String(),
            TRegistryValue{RegSz, RegistryStringData(value.toStdU16String())});
    });
}

} // namespace

QString ReadSetting(const QString& section, const QString& name, const QString& defaultValue) {
    return ReadUserString(SettingsPath(section), name).value_or(defaultValue);
}

void WriteSetting(const QString& section, const QString& name, const QString& value) {
    WriteUserString(SettingsPath(section), name, value);
}

std::optional<QString> ReadUserKeyValue(const QString& keyPath, const QString& name) {
    return ReadUserString(KeyPath(keyPath), name);
}

void WriteUserKeyValue(const QString& keyPath, const QString& name, const QString& value) {
    WriteUserString(KeyPath(keyPath), name, value);
}

bool MachineKeyExists(const QString& keyPath) {
    return Guarded(keyPath, [&] { return Registry().MachineKeyExists(KeyPath(keyPath)); });
}

QStringList MachineSubKeys(const QString& keyPath) {
    QStringList result;
    for (const std::u16string& name :
         Guarded(keyPath, [&] { return Registry().MachineSubKeys(KeyPath(keyPath)); }))
        result.append(QString::fromStdU16String(name));
    return result;
}

std::optional<QString> ReadMachineValue(const QString& keyPath, const QString& name) {
    return StringOf(Guarded(name,
                            [&] {
                                return Registry().ReadMachineValue(KeyPath(keyPath),
                                                                   name.toStdU16String());
                            }),
                    name);
}
