#include "UCliOutput.h"

#include "UDatumText.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <algorithm>

namespace {

QString Two(int value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

QString Table(const QStringList& header, const QList<QStringList>& rows) {
    QList<qsizetype> widths(header.size(), 0);
    for (qsizetype i = 0; i < header.size(); ++i)
        widths[i] = header[i].size();
    for (const QStringList& row : rows)
        for (qsizetype i = 0; i < row.size(); ++i)
            widths[i] = std::max(widths[i], row[i].size());
    QString text;
    const auto line = [&](const QStringList& cells) {
        QString out;
        for (qsizetype i = 0; i < cells.size(); ++i)
            out += i + 1 < cells.size() ? cells[i].leftJustified(widths[i] + 2) : cells[i];
        text += out + u'\n';
    };
    line(header);
    for (const QStringList& row : rows)
        line(row);
    return text;
}

QJsonValue JsonDatum(TDateTime datum) {
    if (datum == 0)
        return QJsonValue::Null;
    const TDateTimeParts p = DecodeDateTime(datum);
    return QStringLiteral("%1-%2-%3T%4:%5:%6")
        .arg(p.Year, 4, 10, QLatin1Char('0'))
        .arg(Two(p.Month), Two(p.Day), Two(p.Hour), Two(p.Minute), Two(p.Second));
}

QByteArray Json(const QJsonArray& array) {
    return QJsonDocument(array).toJson(QJsonDocument::Indented);
}

} // namespace

QString PodaniaTable(const QList<TPodanie>& rows) {
    const QStringList header = {QCoreApplication::translate("TFrmORV", "ID podania"),
                                QCoreApplication::translate("TFrmORV", "ID subjektu"),
                                QCoreApplication::translate("TFrmORV", "ID biznis prípadu"),
                                QCoreApplication::translate("TFrmORV", "Dátum podania"),
                                QCoreApplication::translate("TFrmORV", "Typ podania"),
                                QCoreApplication::translate("TFrmORV", "Služba"),
                                QCoreApplication::translate("TFrmORV", "Stav overenia"),
                                QCoreApplication::translate("TFrmORV", "Stav podania")};
    QList<QStringList> cells;
    for (const TPodanie& row : rows)
        cells.append({row.IdPodania, row.IdSubjektu, row.IdBiznisPripadu, FormatDatum(row.Datum),
                      row.KodTypuPodania, row.KodSluzby, row.StavOverenia, row.StavPodania});
    return Table(header, cells);
}

// Columns in the window's order: IdPodania before IdBiznisPripadu.
QString PisomnostiTable(const QList<TPisomnost>& rows) {
    const QStringList header = {QCoreApplication::translate("TFrmORV", "ID písomnosti"),
                                QCoreApplication::translate("TFrmORV", "ID subjektu"),
                                QCoreApplication::translate("TFrmORV", "ID Podania"),
                                QCoreApplication::translate("TFrmORV", "ID biznis prípadu"),
                                QCoreApplication::translate("TFrmORV", "Dátum podania"),
                                QCoreApplication::translate("TFrmORV", "Typ písomnosti"),
                                QCoreApplication::translate("TFrmORV", "Služba")};
    QList<QStringList> cells;
    for (const TPisomnost& row : rows)
        cells.append({row.IdPisomnosti, row.IdSubjektu, row.IdPodania, row.IdBiznisPripadu,
                      FormatDatum(row.Datum), row.KodTypuPisomnosti, row.KodTypuSluzby});
    return Table(header, cells);
}

QByteArray PodaniaJson(const QList<TPodanie>& rows) {
    QJsonArray array;
    for (const TPodanie& row : rows)
        array.append(QJsonObject{{QStringLiteral("IdPodania"), row.IdPodania},
                                 {QStringLiteral("IdSubjektu"), row.IdSubjektu},
                                 {QStringLiteral("IdBiznisPripadu"), row.IdBiznisPripadu},
                                 {QStringLiteral("Datum"), JsonDatum(row.Datum)},
                                 {QStringLiteral("KodTypuPodania"), row.KodTypuPodania},
                                 {QStringLiteral("KodSluzby"), row.KodSluzby},
                                 {QStringLiteral("StavOverenia"), row.StavOverenia},
                                 {QStringLiteral("StavPodania"), row.StavPodania}});
    return Json(array);
}

QByteArray PisomnostiJson(const QList<TPisomnost>& rows) {
    QJsonArray array;
    for (const TPisomnost& row : rows)
        array.append(QJsonObject{{QStringLiteral("IdPisomnosti"), row.IdPisomnosti},
                                 {QStringLiteral("IdSubjektu"), row.IdSubjektu},
                                 {QStringLiteral("IdBiznisPripadu"), row.IdBiznisPripadu},
                                 {QStringLiteral("IdPodania"), row.IdPodania},
                                 {QStringLiteral("Datum"), JsonDatum(row.Datum)},
                                 {QStringLiteral("KodTypuPisomnosti"), row.KodTypuPisomnosti},
                                 {QStringLiteral("KodTypuSluzby"), row.KodTypuSluzby}});
    return Json(array);
}

QString ContentText(const QString& obsah) {
    QString text = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n") + obsah;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return text;
}
