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

public Q_SLOTS:
    void FormCreate();
    void BitBtnOKClick();
    void BitBtnCancelClick();

private:
    void Store();

    std::unique_ptr<Ui::TFrmORVKonfig> ui;
};
