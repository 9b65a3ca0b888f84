#include "UXmlSecLibrary.h"

#include "UOrvError.h"
#include "USigningKey.h"

#include <QCoreApplication>

#include <libxml/parser.h>
#include <xmlsec/crypto.h>
#include <xmlsec/errors.h>
#include <xmlsec/transforms.h>
#include <xmlsec/xmlsec.h>

#include <mutex>
#include <utility>

namespace {

thread_local QString LastError;

void KeepError(const char*, int, const char* func, const char* errorObject,
               const char* errorSubject, int, const char* msg) {
    LastError =
        QStringLiteral("%1 (%2, %3)")
            .arg(QString::fromUtf8(msg ? msg : ""), QString::fromUtf8(func ? func : ""),
                 QString::fromUtf8(errorSubject ? errorSubject : (errorObject ? errorObject : "")));
}

} // namespace

void EnsureXmlSec() {
    static std::once_flag once;
    static bool ready = false;
    std::call_once(once, [] {
        EnsureLegacyAlgorithms();
        xmlInitParser();
        // One registry of algorithms per process: a test that runs the
        // simulator's check beside the signer may have started it already.
        xmlSecPtrListPtr algorithms = xmlSecTransformIdsGet();
        const bool started =
            xmlSecPtrListIsValid(algorithms) && xmlSecPtrListGetSize(algorithms) > 0;
        ready = started || (xmlSecInit() >= 0 && xmlSecCheckVersion() == 1 &&
                            xmlSecCryptoAppInit(nullptr) >= 0 && xmlSecCryptoInit() >= 0);
        xmlSecErrorsSetCallback(&KeepError);
    });
    if (!ready)
        throw TOrvError(
            QCoreApplication::translate("UXmlSecLibrary", "Knižnica podpisov XML sa nedá spustiť"));
}

QString TakeXmlSecError() {
    return std::exchange(LastError, {});
}
