#pragma once

#include "UDMORV.h"

#include <QByteArray>
#include <QList>
#include <QString>

// How the command line shows rows and content.

// Columns padded to their widest cell, two spaces apart, header first.
QString PodaniaTable(const QList<TPodanie>& rows);
QString PisomnostiTable(const QList<TPisomnost>& rows);

// An array of objects named after the record fields; an unset date is null.
QByteArray PodaniaJson(const QList<TPodanie>& rows);
QByteArray PisomnostiJson(const QList<TPisomnost>& rows);

// The declaration line, CR LF and the content, every line break made CR LF,
// as the content viewer shows and saves it.
QString ContentText(const QString& obsah);
