#include "ULanguage.h"

#include "UWinRegistry.h"

#include <QCoreApplication>
#include <QDir>
#include <QTranslator>

namespace {

const QString LocalesKey = QStringLiteral("SOFTWARE\\Kelmar Tirsa, a.s.\\Locales");
const QString EnglishModule = QStringLiteral("orv_en");

} // namespace

QString LocaleOverrideKey() {
    return LocalesKey;
}

QString LocaleValueName() {
    return QDir::toNativeSeparators(QCoreApplication::applicationFilePath());
}

QString ReadLanguageCode() {
    return ReadUserKeyValue(LocalesKey, LocaleValueName()).value_or(QString());
}

void WriteLanguageCode(const QString& code) {
    WriteUserKeyValue(LocalesKey, LocaleValueName(), code);
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
