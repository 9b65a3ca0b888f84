#pragma once

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui {
class TFrmORVPodajEPH;
}

// Picks an EPH file and its identifier and submits it in the configured
// version; remembers the pair of the last successful submission.
class TFrmORVPodajEPH : public QDialog {
    Q_OBJECT

public:
    explicit TFrmORVPodajEPH(QWidget* owner);
    ~TFrmORVPodajEPH() override;

public Q_SLOTS:
    void FormShow();
    void btnSuborClick();
    void BitBtnOKClick();
    void BitBtnCancelClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Podaj();

    std::unique_ptr<Ui::TFrmORVPodajEPH> ui;
};
