#pragma once

#include <QString>

// Path of an embedded form definition ("PODAJ_XSD", "PODAJ_XSLT_V2", ...) in
// the Qt resource system, as QFile opens it.
QString FormResourcePath(const QString& name);
