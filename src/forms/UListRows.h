#pragma once

#include "UDMORV.h"

#include <QDate>
#include <QStringList>

// The cells of one list row, first the row caption, in the column order; the
// date with the locale's time separator.
QStringList PodanieRow(const TPodanie& podanie);
QStringList PisomnostRow(const TPisomnost& pisomnost);

// A date picker's value as the listings take it: that day at 00:00.
TDateTime DateToDateTime(const QDate& date);
QDate DateTimeToDate(TDateTime value);
