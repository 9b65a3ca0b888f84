#include "UDMORV.h"

#include "UFormResources.h"
#include "UOrvError.h"
#include "UTextFile.h"

#include <QFile>
#include <QStringDecoder>

namespace {

// Time limits of every portal call, in milliseconds.
constexpr long ConnectLimitMs = 10000;
constexpr long SendLimitMs = 900000;
constexpr long ReceiveLimitMs = 900000;

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

void TDMORV::LoadSettings() {
    Settings() = LoadOrvSettings();
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
    SaveOrvSettings(Settings());
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
