#include "UTextFile.h"

#include "UFileRead.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>

namespace {

bool IsCrLfText(const QString& text) {
    const qsizetype n = text.size();
    if (n == 0)
        return true;
    if (n < 2 || text.at(n - 1) != u'\n' || text.at(n - 2) != u'\r')
        return false;
    const QChar* data = text.constData();
    for (qsizetype i = 0; i < n; ++i) {
        if (data[i] == u'\r') {
            if (i + 1 >= n || data[i + 1] != u'\n')
                return false;
            ++i;
        } else if (data[i] == u'\n') {
            return false;
        }
    }
    return true;
}

} // namespace

QString WithCrLf(QString text) {
    if (IsCrLfText(text))
        return text;
    QString result;
    result.reserve(text.size() + text.size() / 16 + 2);
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        result += QStringView(text).mid(lineStart, i - lineStart);
        result += u"\r\n";
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            ++i;
        lineStart = i + 1;
    }
    if (lineStart < text.size()) {
        result += QStringView(text).mid(lineStart);
        result += u"\r\n";
    }
    return result;
}

QString DecodeTextFile(QByteArray bytes) {
    const qsizetype skip = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    // Stateless: a sequence cut off at the end counts as invalid too. A second
    // byte-order mark is text.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::Stateless |
                                                     QStringConverter::Flag::ConvertInitialBom);
    QString text = decoder.decode(QByteArrayView(bytes).sliced(skip));
    bytes = QByteArray(); // the bytes are not needed any more
    if (decoder.hasError())
        return QString();
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    if (nul >= 0)
        text.truncate(nul);
    return WithCrLf(std::move(text));
}

QString ReadTextFile(const QString& path) {
    return DecodeTextFile(ReadFileDenyingWriters(path));
}

QString CannotOpenFileMessage(const QString& path, const QString& reason) {
    const QString fullPath =
        path.isEmpty() ? path : QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    return QCoreApplication::translate("TDMORV", "Cannot open file \"%1\". %2")
        .arg(fullPath, reason);
}
