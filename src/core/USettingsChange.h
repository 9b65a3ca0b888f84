#pragma once

#include <QString>

#include <functional>
#include <optional>

class QObject;
class TDMORV;

// What the user typed to change the settings.
struct TSettingsChange {
    QString Url;
    QString Subjekt;
    QString Osoba;
    QString Heslo; // the password as typed; empty keeps the stored digest
    // The algorithm follows the policy; unset keeps both as stored.
    std::optional<QString> SignaturePolicy;
    std::optional<QString> VerziaPodaja; // unset keeps the stored version
};

// Proves the change's URL and credentials on a temporary core owned by
// trialOwner and gone right after the check, then puts the change into core
// and saves all seven settings, then runs replaceCore, if given. Should any
// step fail, core's settings are put back as they were. core is not touched
// once replaceCore has returned, so replaceCore may destroy it.
void VerifyAndSaveSettings(TDMORV& core, const TSettingsChange& change, QObject* trialOwner,
                           const std::function<void()>& replaceCore = {});
