#pragma once

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui {
class TFrmORVKonfig;
}

// Edits the connection and signing settings; verifies the credentials against
// the typed URL before storing them, then replaces the application's core.
class TFrmORVKonfig : public QDialog {
    Q_OBJECT

public:
    explicit TFrmORVKonfig(QWidget* owner);
    ~TFrmORVKonfig() override;

    // The signer's installed policies, under HKEY_LOCAL_MACHINE.
    static QString PoliciesKey();
    // The digest algorithm that goes with a policy: the fragment of its
    // "DigestAlgUri", "sha256" when there is none.
    static QString PolicyAlgorithm(const QString& policy);

public Q_SLOTS:
    void FormCreate();
    void BitBtnOKClick();
    void BitBtnCancelClick();

private:
    void Store();

    std::unique_ptr<Ui::TFrmORVKonfig> ui;
};
