#include "UEphVersion.h"

#include "OrvConfig.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

QString Tr(const char* text) {
    return QCoreApplication::translate("TDMORV", text);
}

// The host stays the build's; the rest of each URI is the catalogue's.
QString OnFormsHost(const char* uri) {
    return Tr(uri).arg(QLatin1String(OrvConfig::FormsHost));
}

} // namespace

QString EphVerziaText(TEphVerzia verzia) {
    switch (verzia) {
    case TEphVerzia::V01:
        return QStringLiteral("0.1");
    case TEphVerzia::V02:
        return QStringLiteral("2.0");
    case TEphVerzia::V03:
        break;
    }
    return QStringLiteral("3.0");
}

std::optional<TEphVerzia> EphVerziaFromText(const QString& text) {
    for (const TEphVerzia verzia : EphVerzie)
        if (EphVerziaText(verzia) == text)
            return verzia;
    return std::nullopt;
}

QString EphIdFromPath(const QString& path) {
    // Both separators count: Windows paths as typed, and the forward slashes
    // of the other systems and of Qt's own file names.
    const qsizetype folder = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
    const QString name = path.mid(folder + 1);
    const qsizetype dot = name.indexOf(u'.');
    return dot < 0 ? name : name.left(dot);
}

TEphVersionData EphVersionData(TEphVerzia verzia) {
    switch (verzia) {
    case TEphVerzia::V01:
        return {
            QCoreApplication::translate("TDMORV", "Elektronický podací poštový hárok"),
            OnFormsHost(QT_TRANSLATE_NOOP("TDMORV", "http://%1/DUNOR/Formulare/Podaj_v01")),
            OnFormsHost(QT_TRANSLATE_NOOP("TDMORV", "http://%1/DUNOR/Formulare/xsd/Podaj_v01.xsd")),
            OnFormsHost(
                QT_TRANSLATE_NOOP("TDMORV", "http://%1/DUNOR/Formulare/xslt/Podaj_v01.xslt")),
            QCoreApplication::translate("TDMORV", "KT_PODAJ_v01"),
        };
    case TEphVerzia::V02:
        return {
            QCoreApplication::translate("TDMORV", "ElektronickyPodaciPostovyHarok_v02"),
            OnFormsHost(QT_TRANSLATE_NOOP("TDMORV", "http://%1/DUNOR/Formulare/Podaj_v02")),
            OnFormsHost(QT_TRANSLATE_NOOP("TDMORV", "http://%1/DUNOR/Formulare/xsd/Podaj_v02.xsd")),
            OnFormsHost(
                QT_TRANSLATE_NOOP("TDMORV", "http://%1/DUNOR/Formulare/xslt/Podaj_v02.xslt")),
            QCoreApplication::translate("TDMORV", "KT_PODAJ_v02"),
        };
    case TEphVerzia::V03:
        break;
    }
    return {
        QCoreApplication::translate("TDMORV", "ElektronickyPodaciPostovyHarok_v03"),
        OnFormsHost(QT_TRANSLATE_NOOP("TDMORV", "http://%1/DUNOR/Formulare/Podaj_v03")),
        OnFormsHost(QT_TRANSLATE_NOOP("TDMORV", "http://%1/DUNOR/Formulare/xsd/Podaj_v03.xsd")),
        OnFormsHost(QT_TRANSLATE_NOOP("TDMORV", "http://%1/DUNOR/Formulare/xslt/Podaj_v03.xslt")),
        QCoreApplication::translate("TDMORV", "KT_PODAJ_v03"),
    };
}

QString ToObjectId(const QString& text) {
    QString result;
    result.reserve(text.size());
    for (QChar c : text) {
        char16_t u = c.unicode();
        if (u >= u'a' && u <= u'z')
            u = char16_t(u - u'a' + u'A');
        if ((u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z') || u == u'.' || u == u'-' ||
            u == u'_')
            result.append(QChar(u));
    }
    return result;
}

QString EphTimeStamp(TDateTime local) {
    const TDateTimeParts parts = DecodeDateTime(local);
    return QString::asprintf("%04d%02d%02d%02d%02d%02d", parts.Year, parts.Month, parts.Day,
                             parts.Hour, parts.Minute, parts.Second);
}

QString EphObjectId(const QString& subjekt, const QString& ephId, TDateTime local) {
    return ToObjectId(QStringLiteral("EPH_") + subjekt + u'_' + ephId + u'_' + EphTimeStamp(local));
}
