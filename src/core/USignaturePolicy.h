#pragma once

#include <QString>
#include <QStringList>

// The signature policies the signer components have installed, under
// HKEY_LOCAL_MACHINE, in stored order; empty when the signer has none.
QStringList InstalledPolicies();

// The digest algorithm that goes with a policy: the text after the first "#"
// of its "DigestAlgUri", at most 255 characters, or the whole value when it
// has no "#"; "sha256" when the policy or the value is missing or empty.
QString PolicyAlgorithm(const QString& policy);

// Where the signer keeps its settings, relative to the hives: the policies
// under HKEY_LOCAL_MACHINE, the person's own under HKEY_CURRENT_USER.
inline constexpr char16_t SignerPoliciesKey[] = u"SOFTWARE\\Nomir\\DSigXades\\SignaturePolicies";
inline constexpr char16_t SignerUserKey[] = u"SOFTWARE\\Nomir\\DSigXades";
