#include "UDMORV.h"

#include "OrvConfig.h"
#include "UFormResources.h"
#include "UOrvError.h"
#include "UTextFile.h"
#include "UWinRegistry.h"

#include <QFile>
#include <QStringDecoder>

namespace {

// Time limits of every portal call, in milliseconds.
constexpr long ConnectLimitMs = 10000;
constexpr long SendLimitMs = 900000;
constexpr long ReceiveLimitMs = 900000;

const QString Section = QString::fromUtf16(SettingsSectionOrv);

} // namespace

TDMORV::TDMORV(QObject* owner)
    : QObject(owner) {
    LoadSettings();
    LoadTexts();
    PreparePortal();
}

TDMORV::TDMORV(QObject* owner, const QString& url)
    : QObject(owner) {
    LoadSettings();
    LoadTexts();
    Url = url;
    PreparePortal();
}

TDMORV::~TDMORV() = default;

QString TDMORV::DefaultUrl() {
    return QString::fromLatin1(OrvConfig::ProductionEndpoint);
}

void TDMORV::LoadSettings() {
    Url = ReadSetting(Section, QStringLiteral("Url"), DefaultUrl());
    Subjekt = ReadSetting(Section, QStringLiteral("Subjekt"), QString());
    Osoba = ReadSetting(Section, QStringLiteral("Osoba"), QString());
    Heslo = ReadSetting(Section, QStringLiteral("Heslo"), QString());
    SignatureAlgorithm =
        ReadSetting(Section, QStringLiteral("SignatureAlgorithm"), QStringLiteral("sha1"));
    SignaturePolicy = ReadSetting(Section, QStringLiteral("SignaturePolicy"),
                                  QStringLiteral("urn:oid:1.3.158.48207315.0.0.1.10.4.0.11.1"));
    VerziaPodaja = ReadSetting(Section, QStringLiteral("VerziaPodaja"), QStringLiteral("0.1"));
}

// The names come from the catalogue, so a language module can point the
// core at other resources.
void TDMORV::LoadTexts() {
    PodajXsd = LoadResourceText(tr("PODAJ_XSD"));
    PodajXslt = LoadResourceText(tr("PODAJ_XSLT"));
    PodajXsdV2 = LoadResourceText(tr("PODAJ_XSD_V2"));
    PodajXsltV2 = LoadResourceText(tr("PODAJ_XSLT_V2"));
    PodajXsdV3 = LoadResourceText(tr("PODAJ_XSD_V3"));
    PodajXsltV3 = LoadResourceText(tr("PODAJ_XSLT_V3"));
    ReportRqXsd = LoadResourceText(tr("REPORTRQ_XSD"));
    ReportRqXslt = LoadResourceText(tr("REPORTRQ_XSLT"));
}

void TDMORV::PreparePortal() {
    // Held locally until bound, so a failed binding leaves no proxy behind.
    auto proxy = std::make_unique<TPortalProxy>();
    proxy->Timeouts.ConnectMs = ConnectLimitMs;
    proxy->Timeouts.ReceiveMs = ReceiveLimitMs;
    proxy->Timeouts.SendMs = SendLimitMs;
    PortalService::IPortal& portal = BindPortal(*proxy, Url);
    // Binding resets this option, so it is set only now.
    proxy->LiteralParams = true;
    PortalProxy = std::move(proxy);
    Portal = &portal;
}

void TDMORV::SaveSettings() {
    WriteSetting(Section, QStringLiteral("Url"), Url);
    WriteSetting(Section, QStringLiteral("Subjekt"), Subjekt);
    WriteSetting(Section, QStringLiteral("Osoba"), Osoba);
    WriteSetting(Section, QStringLiteral("Heslo"), Heslo);
    WriteSetting(Section, QStringLiteral("SignatureAlgorithm"), SignatureAlgorithm);
    WriteSetting(Section, QStringLiteral("SignaturePolicy"), SignaturePolicy);
    WriteSetting(Section, QStringLiteral("VerziaPodaja"), VerziaPodaja);
}

QString TDMORV::LoadResourceText(const QString& name) {
    QFile resource(FormResourcePath(name));
    if (!resource.open(QIODevice::ReadOnly))
        throw TOrvError(tr("Resource %1 not found").arg(name));
    QByteArray bytes = resource.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes.truncate(nul);
    // Only the first mark is dropped; a second one is text.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return WithCrLf(decoder.decode(bytes));
}
