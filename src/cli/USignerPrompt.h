#pragma once

#include "USignerHost.h"

// The command line's way of asking for the signing key's password:
// - ORV_SIGNER_PIN set in the environment: that text, asked nothing (for
//   scripted demo runs only; the variable is visible to the user's processes);
// - standard input a terminal: what is signed is shown on standard error and
//   the password is read without echo;
// - otherwise one line of standard input.
// An empty answer declines to sign.
class TCliSignerPrompt final : public ISignerPasswordPrompt {
public:
    std::optional<QString> AskPassword(const TSignerPrompt& prompt) override;
};
