#include "USignaturePolicy.h"

#include "UWinRegistry.h"

namespace {

const int MaxAlgorithmLength = 255;

QString PoliciesKey() {
    return QString::fromUtf16(SignerPoliciesKey);
}

} // namespace

QStringList InstalledPolicies() {
    return MachineKeyExists(PoliciesKey()) ? MachineSubKeys(PoliciesKey()) : QStringList();
}

QString PolicyAlgorithm(const QString& policy) {
    const QString defaultAlgorithm = QStringLiteral("sha256");
    const QString key = PoliciesKey() + u'\\' + policy;
    if (!MachineKeyExists(key))
        return defaultAlgorithm;
    const QString uri = ReadMachineValue(key, QStringLiteral("DigestAlgUri")).value_or(QString());
    if (uri.isEmpty())
        return defaultAlgorithm;
    const qsizetype hash = uri.indexOf(u'#');
    if (hash < 0)
        return uri;
    return uri.mid(hash + 1).left(MaxAlgorithmLength);
}
