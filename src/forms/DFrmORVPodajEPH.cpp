#include "DFrmORVPodajEPH.h"

#include "ui_DFrmORVPodajEPH.h"

#include "UDMORV.h"
#include "UDialogs.h"
#include "UEphVersion.h"
#include "UFormLook.h"
#include "UGuard.h"
#include "UOrvApp.h"
#include "UWinRegistry.h"

#include <QDir>
#include <QShowEvent>
#include <QStyle>

namespace {

const QString SectionEPH = QStringLiteral("EPH");
const QString ValueSubor = QStringLiteral("Subor");
const QString ValueEPHId = QStringLiteral("EPHId");

} // namespace

TFrmORVPodajEPH::TFrmORVPodajEPH(QWidget* owner)
    : QDialog(owner)
    , ui(std::make_unique<Ui::TFrmORVPodajEPH>()) {
    InitFormImages();
    ui->setupUi(this);
    ApplyFormFont(this);
    setFixedSize(size());
    ui->btnSubor->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    connect(ui->btnSubor, &QPushButton::clicked, this, &TFrmORVPodajEPH::btnSuborClick);
    connect(ui->BitBtnOK, &QPushButton::clicked, this, &TFrmORVPodajEPH::BitBtnOKClick);
    connect(ui->BitBtnCancel, &QPushButton::clicked, this, &TFrmORVPodajEPH::BitBtnCancelClick);
}

TFrmORVPodajEPH::~TFrmORVPodajEPH() = default;

void TFrmORVPodajEPH::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFrmORVPodajEPH::FormShow() {
    OrvGuard(this, [this] {
        ui->editSubor->setText(ReadSetting(SectionEPH, ValueSubor, QString()));
        ui->editEPHId->setText(ReadSetting(SectionEPH, ValueEPHId, QString()));
    });
}

void TFrmORVPodajEPH::btnSuborClick() {
    OrvGuard(this, [this] {
        const QString subor = TDialogs::OpenFileName(
            this, tr("Vyberte súbor EPH"), ui->editSubor->text(), tr("Súbory XML"),
            QStringLiteral("*.XML"), QStringLiteral("XML"));
        if (subor.isEmpty())
            return;
        ui->editSubor->setText(QDir::toNativeSeparators(subor));
        ui->editEPHId->setText(EphIdFromPath(ui->editSubor->text()));
    });
}

void TFrmORVPodajEPH::BitBtnOKClick() {
    OrvGuard(this, [this] { Podaj(); });
}

void TFrmORVPodajEPH::Podaj() {
    const QString ephId = ui->editEPHId->text();
    const QString subor = ui->editSubor->text();
    if (!DMORV().PodajEPHVerziePodaja(ephId, subor)) {
        TDialogs::Error(this, tr("Nie je zvolená platná verzia EPH!"));
        return;
    }
    // Only an accepted submission is remembered.
    WriteSetting(SectionEPH, ValueSubor, subor);
    WriteSetting(SectionEPH, ValueEPHId, ephId);
    accept();
}

void TFrmORVPodajEPH::BitBtnCancelClick() {
    reject();
}
