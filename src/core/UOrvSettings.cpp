#include "UOrvSettings.h"

#include "OrvConfig.h"
#include "UWinRegistry.h"

#include <array>

namespace {

struct TSettingField {
    const char16_t* Name;
    QString TOrvSettings::*Member;
    QString (*Default)();
};

QString Empty() {
    return QString();
}

// The one list of the settings: store order, value name, default.
const std::array<TSettingField, 7> Fields = {{
    {u"Url", &TOrvSettings::Url, &DefaultOrvUrl},
    {u"Subjekt", &TOrvSettings::Subjekt, &Empty},
    {u"Osoba", &TOrvSettings::Osoba, &Empty},
    {u"Heslo", &TOrvSettings::Heslo, &Empty},
    {u"SignatureAlgorithm", &TOrvSettings::SignatureAlgorithm,
     [] { return QStringLiteral("sha1"); }},
    {u"SignaturePolicy", &TOrvSettings::SignaturePolicy,
     [] { return QStringLiteral("urn:oid:1.3.158.48207315.0.0.1.10.4.0.11.1"); }},
    {u"VerziaPodaja", &TOrvSettings::VerziaPodaja, [] { return QStringLiteral("0.1"); }},
}};

} // namespace

QString DefaultOrvUrl() {
    return QString::fromLatin1(OrvConfig::ProductionEndpoint);
}

TOrvSettings LoadOrvSettings() {
    const QString section = QString::fromUtf16(SettingsSectionOrv);
    TOrvSettings settings;
    for (const TSettingField& field : Fields)
        settings.*field.Member =
            ReadSetting(section, QString::fromUtf16(field.Name), field.Default());
    return settings;
}

void SaveOrvSettings(const TOrvSettings& settings) {
    const QString section = QString::fromUtf16(SettingsSectionOrv);
    for (const TSettingField& field : Fields)
        WriteSetting(section, QString::fromUtf16(field.Name), settings.*field.Member);
}
