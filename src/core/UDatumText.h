#pragma once

#include "UDateTime.h"

#include <QString>

// "DD.MM.YYYY hh:mm", the date of a record as the front ends show it, with
// timeSeparator between hours and minutes; no seconds. Empty for the unset
// date-time 0.
QString FormatDatum(TDateTime datum, const QString& timeSeparator = QStringLiteral(":"));

// What the locale writes between hours and minutes; ":" when its short time
// format does not tell.
QString LocaleTimeSeparator();
