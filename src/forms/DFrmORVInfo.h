#pragma once

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui {
class TFrmORVInfo;
}

// Shows one item's XML content as text and saves it as a UTF-8 file.
class TFrmORVInfo : public QDialog {
    Q_OBJECT

public:
    explicit TFrmORVInfo(QWidget* owner);
    ~TFrmORVInfo() override;

    void SetCaption(const QString& caption);
    // The name the save dialog proposes, without folder or extension.
    void SetFileName(const QString& fileName);
    QString FileName() const { return SuggestedFileName; }
    // Every line break becomes CR LF.
    void SetText(const QString& text);
    // The text box's current text, with CR LF line breaks.
    QString Text() const;

    // The byte-order mark, then the text as UTF-8; replaces any such file.
    static void SaveText(const QString& fileName, const QString& text);

public Q_SLOTS:
    void btnUlozitClick();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PlaceCloseButton();

    std::unique_ptr<Ui::TFrmORVInfo> ui;
    QString SuggestedFileName;
    int CloseRightGap = 0;
    int CloseBottomGap = 0;
};

// CR LF for every line break: CR LF, a lone LF or a lone CR.
QString NormalizeLineBreaks(const QString& text);
