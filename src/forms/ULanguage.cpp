#include "ULanguage.h"

#include "UOrvError.h"
#include "URegistry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTranslator>

namespace {

const QString LocalesKey = QStringLiteral("SOFTWARE\\Kelmar Tirsa, a.s.\\Locales");
const QString EnglishModule = QStringLiteral("orv_en");

TRegistryPath KeyPath() {
    TRegistryPath path;
    for (const QString& level : LocalesKey.split(QLatin1Char('\\'), Qt::SkipEmptyParts))
        path.push_back(level.toStdU16String());
    return path;
}

// The store's own failure, told with the file it concerns.
[[noreturn]] void RaiseStoreError(const TRegistryError& error) {
    const QString path = QFile::decodeName(QByteArray::fromStdString(error.Path));
    if (error.Kind == TRegistryError::TKind::WriteFailed)
        throw TOrvError(QCoreApplication::translate("ULanguage", "Failed to set data for '%1'")
                            .arg(LocaleValueName()));
    throw TOrvError(
        QCoreApplication::translate("ULanguage", "Súbor nastavení \"%1\" sa nedá čítať: %2")
            .arg(path, QString::fromLocal8Bit(error.what())));
}

} // namespace

QString LocaleOverrideKey() {
    return LocalesKey;
}

QString LocaleValueName() {
    return QDir::toNativeSeparators(QCoreApplication::applicationFilePath());
}

QString ReadLanguageCode() {
    std::optional<TRegistryValue> value;
    try {
        value = Registry().ReadUserValue(KeyPath(), LocaleValueName().toStdU16String());
    } catch (const TRegistryError& error) {
        RaiseStoreError(error);
    }
    if (!value || value->Data.empty())
        return QString();
    if (value->Type != RegSz && value->Type != RegExpandSz)
        throw TOrvError(QCoreApplication::translate("ULanguage", "Invalid data type for '%1'")
                            .arg(LocaleValueName()));
    return QString::fromStdU16String(RegistryDataString(value->Data));
}

void WriteLanguageCode(const QString& code) {
    try {
        Registry().WriteUserValue(KeyPath(), LocaleValueName().toStdU16String(),
                                  TRegistryValue{RegSz, RegistryStringData(code.toStdU16String())});
    } catch (const TRegistryError& error) {
        RaiseStoreError(error);
    }
}

QStringList LanguageModuleFolders() {
    const QDir programDir(QCoreApplication::applicationDirPath());
    return {programDir.filePath(QStringLiteral("translations")),
            programDir.filePath(QStringLiteral("../share/orv-duriza/translations"))};
}

bool InstallLanguage(const QString& code, const QStringList& folders, QTranslator& translator) {
    if (code != LanguageEnglish())
        return false;
    for (const QString& folder : folders) {
        if (translator.load(EnglishModule, folder)) {
            QCoreApplication::installTranslator(&translator);
            return true;
        }
    }
    return false;
}

bool InstallStoredLanguage(QTranslator& translator) {
    QString code;
    try {
        code = ReadLanguageCode();
    } catch (...) {
        return false;
    }
    return InstallLanguage(code, LanguageModuleFolders(), translator);
}
