#include "UFormsTestKit.h"

#include "UDMORV.h"
#include "UWinRegistry.h"
#if ORV_FORMS_TEST_SIM
#include "URegistryFile.h"
#include "USimContract.h"
#include "USimCrypto.h"
#include "USimDateTime.h"
#include "USimDocuments.h"
#include "USimRecords.h"
#endif

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTimer>

#include <cstdlib>

namespace FormsTest {

#if ORV_FORMS_TEST_SIM
namespace {

std::string Std(const QString& text) {
    return text.toStdString();
}

} // namespace
#endif

void IsolateConfiguration() {
    static QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(home.filePath(QStringLiteral("xdg"))));
}

#if ORV_FORMS_TEST_SIM
TFixture::TFixture() {
    FileRegistry = std::make_unique<TFileRegistry>(
        Std(Dir.filePath(QStringLiteral("HKEY_CURRENT_USER.reg"))),
        Std(Dir.filePath(QStringLiteral("HKEY_LOCAL_MACHINE.reg"))));
    RegistryOverride = std::make_unique<TRegistryOverride>(*FileRegistry);
    TDialogs::Reset();
    TDialogs::setUnattended(true);

    Sim::TSimServerOptions options;
    options.DbPath = Std(Dir.filePath(QStringLiteral("portal.db")));
    options.AllowFaults = true;
    options.Log = [this](const std::string& line) {
        const QString text = QString::fromStdString(line);
        const std::lock_guard lock(LogMutex);
        ++Counts[text.section(QLatin1Char(' '), 0, 0)];
    };
    SimServer = std::make_unique<Sim::TSimServer>(std::move(options));
    SimServer->Start();
    SimServer->Database().AddAccount({Subjekt, Osoba, Sim::HesloDigest(Heslo)});
    App = std::make_unique<TOrvApp>();
}

TFixture::~TFixture() {
    App.reset();
    SimServer->Stop();
    TDialogs::Reset();
}

QString TFixture::Url() const {
    return QString::fromStdString(SimServer->Url());
}

QString TFixture::TempPath(const QString& name) const {
    return Dir.filePath(name);
}

void TFixture::StoreAccountSettings() {
    WriteSetting(QStringLiteral("ORV"), QStringLiteral("Url"), Url());
    WriteSetting(QStringLiteral("ORV"), QStringLiteral("Subjekt"), QString::fromUtf8(Subjekt));
    WriteSetting(QStringLiteral("ORV"), QStringLiteral("Osoba"), QString::fromUtf8(Osoba));
    WriteSetting(QStringLiteral("ORV"), QStringLiteral("Heslo"),
                 TDMORV::HashHeslo(QString::fromUtf8(Heslo)));
}

void TFixture::CreateCore() {
    App->ReplaceCore();
}

void TFixture::SetData(const std::vector<TItem>& podania) {
    const Sim::TUtcMs now = Sim::NowUtcMs();
    std::vector<Sim::TSimPodanie> records;
    std::vector<Sim::TSimPisomnost> receipts;
    for (const TItem& item : podania) {
        Sim::TSimPodanie p;
        p.Id = Std(item.Id);
        p.Subjekt = Subjekt;
        p.Osoba = Osoba;
        p.Biznis = Std(item.Biznis);
        p.ReceivedUtc = now - static_cast<Sim::TUtcMs>(item.HoursAgo * 3600.0 * 1000.0);
        p.Typ = "KT_PODAJ_v01";
        p.Sluzba = Sim::SluzbaHromadnyPodaj;
        p.StavOverenia = "Overené";
        p.StavPodania = "Prijaté";
        p.Document = "<EPH xmlns=\"urn:test:eph\"><EPHID>" + p.Id +
                     "</EPHID><Pozn>žluťoučký kôň</Pozn></EPH>";
        records.push_back(p);

        receipts.push_back(Sim::Potvrdenie(p, "D-" + p.Id, p.ReceivedUtc + 60000));
    }
    SimServer->Database().ReplaceSubjekt({Subjekt, Osoba, Sim::HesloDigest(Heslo)}, records,
                                         receipts);
}

bool TFixture::PisomnostPrecitana(const QString& id) {
    const auto d = SimServer->Database().GetPisomnost(Std(id), {Subjekt}, false);
    return d && d->Precitany;
}

void TFixture::SetMachineHive(const QByteArray& text) {
    QFile file(Dir.filePath(QStringLiteral("HKEY_LOCAL_MACHINE.reg")));
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        std::abort();
}

IRegistry& TFixture::FileRegistryRef() {
    return *FileRegistry;
}

int TFixture::Requests(const QString& operation) const {
    const std::lock_guard lock(LogMutex);
    const auto it = Counts.find(operation);
    return it == Counts.end() ? 0 : it->second;
}

#endif

TOnModal::TOnModal(std::function<void(QDialog*)> action)
    : Timer(std::make_unique<QTimer>())
    , Action(std::move(action)) {
    Timer->setInterval(5);
    QObject::connect(Timer.get(), &QTimer::timeout, Timer.get(), [this] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        Timer->stop();
        ++Handled;
        Action(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    Timer->start();
}

TOnModal::~TOnModal() = default;

QStringList ShownErrors() {
    QStringList errors;
    for (const TDialogs::TShown& shown : TDialogs::Shown()) {
        if (shown.Kind == TDialogs::TKind::OrvError)
            errors.append(shown.Text);
    }
    return errors;
}

} // namespace FormsTest
