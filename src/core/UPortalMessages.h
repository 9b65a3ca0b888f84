#pragma once

#include <QCoreApplication>
#include <QString>

// "Chyba pri komunikácii s ORV:", CR LF and the detail: the form in which the
// core reports what the portal refused or failed to send.
inline QString PortalError(const QString& detail) {
    return QCoreApplication::translate("TDMORV", "Chyba pri komunikácii s ORV:") +
           QStringLiteral("\r\n") + detail;
}
