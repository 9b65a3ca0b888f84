#pragma once

#include "USignerHost.h"

// Asks the person signing for the key's password in a small modal window over
// the active one, showing what is about to be signed.
class TSignerPasswordDialog final : public ISignerPasswordPrompt {
public:
    std::optional<QString> AskPassword(const TSignerPrompt& prompt) override;
};
