#pragma once

#include <QString>
#include <QStringList>

class QTranslator;

// The interface language is a per-user preference kept apart from the
// settings: one string value per executable, named by its full path, under a
// locale-override key of the per-user hive that other programs may share.
inline QString LanguageSlovak() {
    return QStringLiteral("sk-SK");
}
inline QString LanguageEnglish() {
    return QStringLiteral("ENG");
}

// The key, relative to HKEY_CURRENT_USER, levels separated by "\".
QString LocaleOverrideKey();
// The value name: this executable's full path, in the platform's form.
QString LocaleValueName();

// The stored code, empty when there is none. A value that is not a string
// raises "Invalid data type for '%s'".
QString ReadLanguageCode();
// Stores the code as a string value, creating the key when missing.
void WriteLanguageCode(const QString& code);

// Folders searched for the English language module: next to the program
// and in the installed data folder.
QStringList LanguageModuleFolders();

// Loads the English language module into translator and installs it when
// code is "ENG"; any other code, or a module that cannot be found, leaves
// the built-in Slovak texts. True when English was installed.
bool InstallLanguage(const QString& code, const QStringList& folders, QTranslator& translator);

// At start-up, before any text is made: the stored code's language from the
// usual folders. An unreadable preference simply means the built-in texts.
bool InstallStoredLanguage(QTranslator& translator);
