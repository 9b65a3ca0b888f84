#pragma once

// Date-times on the wire: xsd:dateTime texts, written from and read into the
// client's local time by the UTC offset in force now (not on the date).

#include "UDateTime.h"

#include <QByteArray>
#include <QByteArrayView>

// "yyyy-mm-ddThh:nn:ss.zzz" followed by "+hh:mm", "-hh:mm" or "Z".
QByteArray FormatSoapDateTime(TDateTime value);

// A date, "T", a time with optional fraction, and optionally "Z" or a signed
// offset; none counts as UTC. Read to the second. Raises
// "Invalid property element: %s" for any other text.
TDateTime ParseSoapDateTime(QByteArrayView text);
// The same under a given offset (minutes east of UTC) instead of the clock's.
TDateTime ParseSoapDateTime(QByteArrayView text, int utcOffsetMinutes);
