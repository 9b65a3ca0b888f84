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

// A string value up to its first NUL; zero length reads as empty whatever
// the type; other types are refused.
QString StringOf(const TRegistryValue& value, const QString& name) {
    if (value.Data.empty())
        return QString();
    if (value.Type != RegSz && value.Type != RegExpandSz)
        throw TOrvError(
            QCoreApplication::translate("UWinRegistry", "Invalid data type for '%1'").arg(name));
    return QString::fromStdU16String(RegistryDataString(value.Data));
}

} // namespace

QString ReadSetting(const QString& section, const QString& name, const QString& defaultValue) {
    std::optional<TRegistryValue> value;
    try {
        value = Registry().ReadUserValue(SettingsPath(section), name.toStdU16String());
    } catch (const TRegistryError& error) {
        Raise(error, name);
    }
    return value ? StringOf(*value, name) : defaultValue;
}

void WriteSetting(const QString& section, const QString& name, const QString& value) {
    try {
        Registry().WriteUserValue(
            SettingsPath(section), name.toStdU16String(),
            TRegistryValue{RegSz, RegistryStringData(value.toStdU16String())});
    } catch (const TRegistryError& error) {
        Raise(error, name);
    }
}

std::optional<QString> ReadUserKeyValue(const QString& keyPath, const QString& name) {
    std::optional<TRegistryValue> value;
    try {
        value = Registry().ReadUserValue(KeyPath(keyPath), name.toStdU16String());
    } catch (const TRegistryError& error) {
        Raise(error, name);
    }
    if (!value)
        return std::nullopt;
    return StringOf(*value, name);
}

bool MachineKeyExists(const QString& keyPath) {
    try {
        return Registry().MachineKeyExists(KeyPath(keyPath));
    } catch (const TRegistryError& error) {
        Raise(error, keyPath);
    }
}

QStringList MachineSubKeys(const QString& keyPath) {
    std::vector<std::u16string> names;
    try {
        names = Registry().MachineSubKeys(KeyPath(keyPath));
    } catch (const TRegistryError& error) {
        Raise(error, keyPath);
    }
    QStringList result;
    for (const std::u16string& name : names)
        result.append(QString::fromStdU16String(name));
    return result;
}

std::optional<QString> ReadMachineValue(const QString& keyPath, const QString& name) {
    std::optional<TRegistryValue> value;
    try {
        value = Registry().ReadMachineValue(KeyPath(keyPath), name.toStdU16String());
    } catch (const TRegistryError& error) {
        Raise(error, name);
    }
    if (!value)
        return std::nullopt;
    return StringOf(*value, name);
}
