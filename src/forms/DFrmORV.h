#pragma once

#include "UDateTime.h"

#include <QMainWindow>

#include <memory>

class QTableWidget;

namespace Ui {
class TFrmORV;
}

// The main window: lists of submissions and delivered documents, showing an
// item's content, and the dialogs.
class TFrmORV : public QMainWindow {
    Q_OBJECT

public:
    explicit TFrmORV(QWidget* parent = nullptr);
    ~TFrmORV() override;

    // Filter values as the listings get them: dates at 00:00 local time.
    TDateTime PodaniaDatumOd() const;
    TDateTime PodaniaDatumDo() const;
    TDateTime PisomnostiDatumOd() const;
    TDateTime PisomnostiDatumDo() const;

public Q_SLOTS:
    void FormShow();
    void btnPodaniaNacitatClick();
    void btnPisomnostiNacitatClick();
    void lvPodaniaDblClick();
    void lvPisomnostiDblClick();

    void actKonfiguraciaExecute();
    void ActNovyEPHExecute();
    void ActZobrazitXMLExecute();
    void ActJazykExecute();

    void actKonfiguraciaUpdate();
    void ActNovyEPHUpdate();
    void ActZobrazitXMLUpdate();
    // Every enabling rule at once.
    void UpdateActions();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetupList(QTableWidget* list, const QList<int>& widths);
    void LoadPodania();
    void LoadPisomnosti();
    void ShowContent();
    QTableWidget* ActiveList() const;

    std::unique_ptr<Ui::TFrmORV> ui;
};
