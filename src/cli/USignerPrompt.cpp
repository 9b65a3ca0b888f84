#include "USignerPrompt.h"

#include "UPasswordPrompt.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

QString Tr(const char* text) {
    return QCoreApplication::translate("orv", text);
}

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
        Show(Tr("Podpisujete: %1\n").arg(prompt.Description));
        Show(prompt.Rendering);
        if (!prompt.Rendering.endsWith(u'\n'))
            Show(QStringLiteral("\n"));
        if (!prompt.CertificateSubject.isEmpty())
            Show(Tr("Certifikát: %1\n").arg(prompt.CertificateSubject));
        Show(Tr("Kľúč: %1\n").arg(prompt.KeyFile));
        password = ReadPassword(Tr("Heslo ku kľúču (prázdne zruší podpisovanie): "));
    } else {
        password = ReadPassword(QString());
    }
    if (password.isEmpty())
        return std::nullopt;
    return password;
}
