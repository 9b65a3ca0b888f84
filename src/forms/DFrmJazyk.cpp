#include "DFrmJazyk.h"

#include "ui_DFrmJazyk.h"

#include "UDialogs.h"
#include "UFormLook.h"
#include "UGuard.h"
#include "ULanguage.h"

#include <QShowEvent>

TFrmJazyk::TFrmJazyk(QWidget* owner)
    : QDialog(owner)
    , ui(std::make_unique<Ui::TFrmJazyk>()) {
    InitFormImages();
    ui->setupUi(this);
    ApplyFormFont(this);
    setFixedSize(size());
    connect(ui->btnUlozit, &QPushButton::clicked, this, &TFrmJazyk::btnUlozitClick);
    connect(ui->btnZrusit, &QPushButton::clicked, this, &TFrmJazyk::btnZrusitClick);
    FormCreate();
}

TFrmJazyk::~TFrmJazyk() = default;

void TFrmJazyk::FormCreate() {
    // A value that cannot be read leaves no current code, so either choice
    // counts as a change.
    OrvGuard(parentWidget(), [this] {
        QString code = LanguageSlovak();
        const QString stored = ReadLanguageCode();
        if (!stored.isEmpty())
            code = stored;
        Code = code;
    });
}

void TFrmJazyk::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFrmJazyk::FormShow() {
    if (Code == LanguageEnglish())
        ui->rbAnglicky->setChecked(true);
    else
        ui->rbSlovensky->setChecked(true);
}

void TFrmJazyk::btnUlozitClick() {
    OrvGuard(this, [this] {
        QString code = LanguageSlovak();
        if (!ui->rbSlovensky->isChecked() && ui->rbAnglicky->isChecked())
            code = LanguageEnglish();
        WriteLanguageCode(code);
        if (code != Code)
            TDialogs::Information(this,
                                  tr("Zmena jazyka sa prejaví až po reštarte aplikácie!") +
                                      QStringLiteral("\r\n") +
                                      tr("Restart application to language change take effect!"));
        accept();
    });
}

void TFrmJazyk::btnZrusitClick() {
    reject();
}
