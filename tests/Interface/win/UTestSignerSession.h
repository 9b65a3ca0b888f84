#pragma once

// The test side of the test signer DLL (UTestSignerScript.h): a script and a
// log in a temporary folder, named to the components through this process's
// environment, and the messages the system gives for an HRESULT.

#include "USystemText.h"
#include "UTestSignerScript.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <iterator>

class TTestSignerSession {
public:
    TTestSignerSession() {
        SetEnvironmentVariableW(TestSignerScriptVariable, Native(ScriptPath()).c_str());
        SetEnvironmentVariableW(TestSignerLogVariable, Native(LogPath()).c_str());
        Clear();
    }
    ~TTestSignerSession() {
        SetEnvironmentVariableW(TestSignerScriptVariable, nullptr);
        SetEnvironmentVariableW(TestSignerLogVariable, nullptr);
    }
    TTestSignerSession(const TTestSignerSession&) = delete;
    TTestSignerSession& operator=(const TTestSignerSession&) = delete;

    // An empty script and an empty log.
    void Clear() {
        Script.clear();
        Write(ScriptPath(), {});
        Write(LogPath(), {});
    }

    // Adds one script line: a name, then key=value fields (values unescaped).
    void Answer(const QString& name, const QList<QPair<QString, QString>>& values) {
        QString line = name;
        for (const auto& [key, value] : values)
            line += u'\t' + key + u'=' + EscapeValue(value);
        Script += line + u'\n';
        Write(ScriptPath(), Script.toUtf8());
    }

    // Adds one script line as written, its values already escaped.
    void AnswerLine(const QString& line) {
        Script += line + u'\n';
        Write(ScriptPath(), Script.toUtf8());
    }

    // The log, one event a line.
    QStringList Log() const {
        QFile file(LogPath());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }
    // Adds an event of the test's own to the log, between the components'.
    void Note(const QString& line) const {
        QFile file(LogPath());
        if (file.open(QIODevice::WriteOnly | QIODevice::Append))
            file.write(line.toUtf8() + '\n');
    }

    // An argument as the log shows it.
    static QString EscapeArgument(const QString& text) {
        QString result;
        for (QChar c : text) {
            switch (c.unicode()) {
            case u'|':
                result += QStringLiteral("\\|");
                break;
            default:
                result += Escaped(c);
                break;
            }
        }
        return result;
    }

    // How many times a line occurs in the log.
    int Count(const QString& line) const { return static_cast<int>(Log().count(line)); }

private:
    static QString Escaped(QChar c) {
        switch (c.unicode()) {
        case u'\\':
            return QStringLiteral("\\\\");
        case u'\t':
            return QStringLiteral("\\t");
        case u'\r':
            return QStringLiteral("\\r");
        case u'\n':
            return QStringLiteral("\\n");
        case u'\0':
            return QStringLiteral("\\0");
        default:
            return QString(c);
        }
    }
    static QString EscapeValue(const QString& text) {
        QString result;
        for (QChar c : text)
            result += Escaped(c);
        return result;
    }
    static std::wstring Native(const QString& path) {
        return QDir::toNativeSeparators(path).toStdWString();
    }
    static void Write(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
    }
    QString ScriptPath() const { return Dir.filePath(QStringLiteral("script.txt")); }
    QString LogPath() const { return Dir.filePath(QStringLiteral("log.txt")); }

    QTemporaryDir Dir;
    QString Script;
};

// The system's text for an HRESULT as the client shows it.
inline QString SystemTextOr(HRESULT hr) {
    return ComTextOr(hr, "");
}

// A code that no system has a text for: the customer bit is set.
inline constexpr HRESULT UnknownFailure = static_cast<HRESULT>(0xA0041234u);

inline QString Hex(HRESULT hr) {
    return QString::number(static_cast<unsigned>(hr), 16);
}
