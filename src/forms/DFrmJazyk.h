#pragma once

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui {
class TFrmJazyk;
}

// Stores the interface language for the next start.
class TFrmJazyk : public QDialog {
    Q_OBJECT

public:
    explicit TFrmJazyk(QWidget* owner);
    ~TFrmJazyk() override;

    // The code read at creation; empty when it could not be read.
    QString CurrentCode() const { return Code; }

public Q_SLOTS:
    void FormCreate();
    void FormShow();
    void btnUlozitClick();
    void btnZrusitClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::TFrmJazyk> ui;
    QString Code;
};
