#include "DFrmORVKonfig.h"

#include "ui_DFrmORVKonfig.h"

#include "UDMORV.h"
#include "UFormLook.h"
#include "UGuard.h"
#include "UOrvApp.h"
#include "UOrvError.h"
#include "UWinRegistry.h"

#include <array>

namespace {

// The version list's items stand for these values, in this order.
const std::array<QString, 3> Verzie = {QStringLiteral("0.1"), QStringLiteral("2.0"),
                                       QStringLiteral("3.0")};
const QString DefaultAlgorithm = QStringLiteral("sha256");
const int MaxAlgorithmLength = 255;

// Puts the settings back unless the change went through, so a failed store
// never leaves the core with settings its connection was not made for.
class TSettingsRollback {
public:
    explicit TSettingsRollback(TDMORV& core)
        : Core(core)
        , Url(core.Url)
        , Subjekt(core.Subjekt)
        , Osoba(core.Osoba)
        , Heslo(core.Heslo)
        , SignatureAlgorithm(core.SignatureAlgorithm)
        , SignaturePolicy(core.SignaturePolicy)
        , VerziaPodaja(core.VerziaPodaja) {}
    ~TSettingsRollback() {
        if (Committed)
            return;
        Core.Url = Url;
        Core.Subjekt = Subjekt;
        Core.Osoba = Osoba;
        Core.Heslo = Heslo;
        Core.SignatureAlgorithm = SignatureAlgorithm;
        Core.SignaturePolicy = SignaturePolicy;
        Core.VerziaPodaja = VerziaPodaja;
    }
    TSettingsRollback(const TSettingsRollback&) = delete;
    TSettingsRollback& operator=(const TSettingsRollback&) = delete;

    void Commit() { Committed = true; }

private:
    TDMORV& Core;
    QString Url;
    QString Subjekt;
    QString Osoba;
    QString Heslo;
    QString SignatureAlgorithm;
    QString SignaturePolicy;
    QString VerziaPodaja;
    bool Committed = false;
};

} // namespace

TFrmORVKonfig::TFrmORVKonfig(QWidget* owner)
    : QDialog(owner)
    , ui(std::make_unique<Ui::TFrmORVKonfig>()) {
    InitFormImages();
    ui->setupUi(this);
    ApplyFormFont(this);
    setFixedSize(size());
    connect(ui->BitBtnOK, &QPushButton::clicked, this, &TFrmORVKonfig::BitBtnOKClick);
    connect(ui->BitBtnCancel, &QPushButton::clicked, this, &TFrmORVKonfig::BitBtnCancelClick);
    FormCreate();
}

TFrmORVKonfig::~TFrmORVKonfig() = default;

QString TFrmORVKonfig::PoliciesKey() {
    return QStringLiteral("SOFTWARE\\Nomir\\DSigXades\\SignaturePolicies");
}

QString TFrmORVKonfig::PolicyAlgorithm(const QString& policy) {
    const QString key = PoliciesKey() + QLatin1Char('\\') + policy;
    if (!MachineKeyExists(key))
        return DefaultAlgorithm;
    const QString uri = ReadMachineValue(key, QStringLiteral("DigestAlgUri")).value_or(QString());
    if (uri.isEmpty())
        return DefaultAlgorithm;
    const qsizetype hash = uri.indexOf(QLatin1Char('#'));
    if (hash < 0)
        return uri;
    return uri.mid(hash + 1).left(MaxAlgorithmLength);
}

void TFrmORVKonfig::FormCreate() {
    OrvGuard(parentWidget(), [this] {
        ui->cbxPolitika->clear();
        if (MachineKeyExists(PoliciesKey()))
            ui->cbxPolitika->addItems(MachineSubKeys(PoliciesKey()));

        const TDMORV& core = DMORV();
        ui->editUrl->setText(core.Url);
        ui->editSubjekt->setText(core.Subjekt);
        ui->editOsoba->setText(core.Osoba);
        // The stored value is a digest; it is never shown.
        ui->editHeslo->clear();
        ui->editHeslo2->clear();

        int politika = -1;
        for (int i = 0; i < ui->cbxPolitika->count(); ++i) {
            if (ui->cbxPolitika->itemText(i).compare(core.SignaturePolicy, Qt::CaseInsensitive) ==
                0) {
                politika = i;
                break;
            }
        }
        ui->cbxPolitika->setCurrentIndex(politika);

        int verzia = -1;
        for (int i = 0; i < int(Verzie.size()); ++i) {
            if (Verzie.at(i) == core.VerziaPodaja)
                verzia = i;
        }
        ui->cbxVerzia->setCurrentIndex(verzia);
    });
}

void TFrmORVKonfig::BitBtnOKClick() {
    OrvGuard(this, [this] { Store(); });
}

void TFrmORVKonfig::Store() {
    const QString heslo = ui->editHeslo->text();
    if (heslo != ui->editHeslo2->text()) {
        ui->editHeslo->setFocus();
        throw TOrvError(tr("Zadané heslá sa nezhodujú!"));
    }

    const QString url = ui->editUrl->text();
    const QString subjekt = ui->editSubjekt->text();
    const QString osoba = ui->editOsoba->text();
    // Empty password fields keep the stored digest.
    const QString digest = heslo.isEmpty() ? DMORV().Heslo : TDMORV::HashHeslo(heslo);
    {
        // The typed URL and credentials are proven on a core of their own,
        // gone again right after the check.
        const auto trial = std::make_unique<TDMORV>(this, url);
        trial->CheckLogin(subjekt, osoba, digest);
    }

    TDMORV& core = DMORV();
    TSettingsRollback rollback(core);
    core.Url = url;
    core.Subjekt = subjekt;
    core.Osoba = osoba;
    if (!heslo.isEmpty())
        core.Heslo = digest;
    const int politika = ui->cbxPolitika->currentIndex();
    core.SignaturePolicy = politika >= 0 ? ui->cbxPolitika->itemText(politika) : QString();
    core.SignatureAlgorithm = PolicyAlgorithm(core.SignaturePolicy);
    const int verzia = ui->cbxVerzia->currentIndex();
    core.VerziaPodaja = verzia >= 0 ? Verzie.at(verzia) : Verzie.at(0);
    core.SaveSettings();

    // The new core reads what was just saved and connects to the new URL.
    // Should it fail, the old core stays in place, and so does the rollback's
    // reference to it.
    TOrvApp::Instance().ReplaceCore();
    rollback.Commit();
    accept();
}

void TFrmORVKonfig::BitBtnCancelClick() {
    reject();
}
