#include "DFrmORVKonfig.h"

#include "ui_DFrmORVKonfig.h"

#include "UDMORV.h"
#include "UFormLook.h"
#include "UGuard.h"
#include "UOrvApp.h"
#include "UOrvError.h"
#include "USettingsChange.h"
#include "USignaturePolicy.h"

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

void TFrmORVKonfig::FormCreate() {
    OrvGuard(parentWidget(), [this] {
        ui->cbxPolitika->clear();
        ui->cbxPolitika->addItems(InstalledPolicies());

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

        // The list's items are the versions in their order.
        const std::optional<TEphVerzia> verzia = EphVerziaFromText(core.VerziaPodaja);
        ui->cbxVerzia->setCurrentIndex(verzia ? int(*verzia) : -1);
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

    TSettingsChange change;
    change.Url = ui->editUrl->text();
    change.Subjekt = ui->editSubjekt->text();
    change.Osoba = ui->editOsoba->text();
    change.Heslo = heslo;
    const int politika = ui->cbxPolitika->currentIndex();
    change.SignaturePolicy = politika >= 0 ? ui->cbxPolitika->itemText(politika) : QString();
    const int verzia = ui->cbxVerzia->currentIndex();
    change.VerziaPodaja =
        EphVerziaText(verzia >= 0 ? EphVerzie.at(std::size_t(verzia)) : TEphVerzia::V01);
    // The new core reads what was just saved and connects to the new URL.
    VerifyAndSaveSettings(DMORV(), change, this, [] { TOrvApp::Instance().ReplaceCore(); });
    accept();
}

void TFrmORVKonfig::BitBtnCancelClick() {
    reject();
}
