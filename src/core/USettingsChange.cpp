#include "USettingsChange.h"

#include "UDMORV.h"
#include "USignaturePolicy.h"

#include <memory>

namespace {

// Puts the settings back unless the change went through, so a failed store
// never leaves the core with settings its connection was not made for.
class TSettingsRollback {
public:
    explicit TSettingsRollback(TDMORV& core)
        : Core(core)
        , Saved(core.Settings()) {}
    ~TSettingsRollback() {
        if (!Committed)
            Core.Settings() = Saved;
    }
    TSettingsRollback(const TSettingsRollback&) = delete;
    TSettingsRollback& operator=(const TSettingsRollback&) = delete;

    void Commit() { Committed = true; }

private:
    TDMORV& Core;
    const TOrvSettings Saved;
    bool Committed = false;
};

} // namespace

void VerifyAndSaveSettings(TDMORV& core, const TSettingsChange& change, QObject* trialOwner,
                           const std::function<void()>& replaceCore) {
    const QString digest = change.Heslo.isEmpty() ? core.Heslo : TDMORV::HashHeslo(change.Heslo);
    {
        // The typed URL and credentials are proven on a core of their own.
        const auto trial = std::make_unique<TDMORV>(trialOwner, change.Url);
        trial->CheckLogin(change.Subjekt, change.Osoba, digest);
    }

    TSettingsRollback rollback(core);
    core.Url = change.Url;
    core.Subjekt = change.Subjekt;
    core.Osoba = change.Osoba;
    core.Heslo = digest;
    if (change.SignaturePolicy) {
        core.SignaturePolicy = *change.SignaturePolicy;
        core.SignatureAlgorithm = PolicyAlgorithm(core.SignaturePolicy);
    }
    if (change.VerziaPodaja)
        core.VerziaPodaja = *change.VerziaPodaja;
    core.SaveSettings();

    // Should the replacement fail, the old core stays in place, and so does
    // the rollback's reference to it.
    if (replaceCore)
        replaceCore();
    rollback.Commit();
}
