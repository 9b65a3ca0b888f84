#include "USignerHost.h"

#include "USignerComponents.h"
#include "UWinRegistry.h"

namespace {

// The stand-in signer's view of this machine: its settings from the
// registry, read afresh at every signing, and the person through the prompt.
class TRegistrySignerEnvironment final : public ISignerEnvironment {
public:
    explicit TRegistrySignerEnvironment(std::shared_ptr<ISignerPasswordPrompt> prompt)
        : Prompt(std::move(prompt)) {}

    TSignerSettings Settings() override {
        TSignerSettings settings;
        const QString userKey = QString::fromUtf16(SignerUserKey);
        settings.Pkcs12File =
            ReadUserKeyValue(userKey, QStringLiteral("Pkcs12File")).value_or(QString());
        const QString policies = QString::fromUtf16(SignerPoliciesKey);
        for (const QString& identifier : MachineSubKeys(policies)) {
            const QString key = policies + u'\\' + identifier;
            TSignaturePolicy policy;
            policy.Identifier = identifier;
            policy.DigestAlgUri =
                ReadMachineValue(key, QStringLiteral("DigestAlgUri")).value_or(QString());
            policy.PolicyDigest =
                ReadMachineValue(key, QStringLiteral("PolicyDigest")).value_or(QString());
            policy.PolicyUri =
                ReadMachineValue(key, QStringLiteral("PolicyUri")).value_or(QString());
            settings.Policies.push_back(std::move(policy));
        }
        return settings;
    }

    std::optional<QString> AskPassword(const TSigningConsent& consent) override {
        if (!Prompt)
            return std::nullopt;
        return Prompt->AskPassword(
            {consent.Description, consent.Rendering, consent.CertificateSubject, consent.KeyFile});
    }

private:
    std::shared_ptr<ISignerPasswordPrompt> Prompt;
};

} // namespace

struct TSignerHost::TImpl {
    explicit TImpl(std::shared_ptr<ISignerPasswordPrompt> prompt)
        : Components(std::make_shared<TRegistrySignerEnvironment>(std::move(prompt))) {}
    TSignerComponents Components;
};

TSignerHost::TSignerHost(std::shared_ptr<ISignerPasswordPrompt> prompt)
    : Impl(std::make_unique<TImpl>(std::move(prompt))) {}

TSignerHost::~TSignerHost() = default;
