#include "USignerPrompt.h"

#include "UPasswordPrompt.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

struct TCli {
    Q_DECLARE_TR_FUNCTIONS(orv)
};

void Show(const QString& text) {
    std::fputs(text.toUtf8().constData(), stderr);
}

} // namespace

std::optional<QString> TCliSignerPrompt::AskPassword(const TSignerPrompt& prompt) {
    if (qEnvironmentVariableIsSet("ORV_SIGNER_PIN"))
        return qEnvironmentVariable("ORV_SIGNER_PIN");

    QString password;
    if (StdinIsTerminal()) {
        // The person sees what they sign before unlocking the key.
        Show(TCli::tr("Podpisujete: %1\n").arg(prompt.Description));
        Show(prompt.Rendering);
        if (!prompt.Rendering.endsWith(u'\n'))
            Show(QStringLiteral("\n"));
        if (!prompt.CertificateSubject.isEmpty())
            Show(TCli::tr("Certifikát: %1\n").arg(prompt.CertificateSubject));
        Show(TCli::tr("Kľúč: %1\n").arg(prompt.KeyFile));
        password = ReadPassword(TCli::tr("Heslo ku kľúču (prázdne zruší podpisovanie): "));
    } else {
        password = ReadPassword(QString());
    }
    if (password.isEmpty())
        return std::nullopt;
    return password;
}
