#include "UDMORV.h"

#include "UBase64.h"
#include "UBusyCursor.h"
#include "UOrvError.h"
#include "UPortalMessages.h"
#include "USha256.h"

QString TDMORV::HashHeslo(const QString& heslo) {
    QByteArray digest;
    Sha256Digest(heslo.toUtf8(), digest);
    return Base64Encode(digest);
}

bool TDMORV::CheckLogin(const QString& subjekt, const QString& osoba, const QString& heslo) {
    const TBusyCursor busy;
    PortalService::CheckLogin request;
    request.subjekt = subjekt;
    request.osoba = osoba;
    request.heslo = heslo;
    const auto response = Portal->CheckLogin(request);
    // A reply without its message element proves nothing: a failed check.
    if (!response)
        throw TOrvError(PortalError(QStringLiteral("CheckLogin()")));
    // Only the result code decides; a description beside 0 is no failure.
    if (response->CheckLoginResult != 0)
        throw TOrvError(PortalError(response->popisChyby));
    return true;
}

void TDMORV::EnsureLogin() {
    CheckLogin(Subjekt, Osoba, Heslo);
}
