#include "DFrmORVInfo.h"

#include "ui_DFrmORVInfo.h"

#include "UDialogs.h"
#include "UFormLook.h"
#include "UGuard.h"
#include "UOrvError.h"

#include <QDir>
#include <QKeyEvent>
#include <QSaveFile>
#include <QStringConverter>
#include <QTextDocument>

namespace {

QString ToLf(const QString& text) {
    QString result = text;
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

} // namespace

QString NormalizeLineBreaks(const QString& text) {
    QString result = ToLf(text);
    result.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return result;
}

TFrmORVInfo::TFrmORVInfo(QWidget* owner)
    : QDialog(owner)
    , ui(std::make_unique<Ui::TFrmORVInfo>()) {
    InitFormImages();
    ui->setupUi(this);
    ApplyFormFont(this);
    // The close button keeps its distance to the strip's bottom-right corner.
    CloseRightGap = width() - ui->btnOk->geometry().right() - 1;
    CloseBottomGap = ui->pnlBottom->maximumHeight() - ui->btnOk->geometry().bottom() - 1;
    ui->pnlBottom->installEventFilter(this);
    connect(ui->btnUlozit, &QPushButton::clicked, this, &TFrmORVInfo::btnUlozitClick);
    connect(ui->btnOk, &QPushButton::clicked, this, &QDialog::accept);
}

TFrmORVInfo::~TFrmORVInfo() = default;

void TFrmORVInfo::SetCaption(const QString& caption) {
    setWindowTitle(caption);
}

void TFrmORVInfo::SetFileName(const QString& fileName) {
    SuggestedFileName = fileName;
}

void TFrmORVInfo::SetText(const QString& text) {
    // QPlainTextEdit keeps paragraphs apart by itself; it is given LF only.
    ui->memoInfo->setPlainText(ToLf(text));
}

QString TFrmORVInfo::Text() const {
    // The raw text, unlike toPlainText(), keeps non-breaking spaces.
    QString text = ui->memoInfo->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return NormalizeLineBreaks(text);
}

void TFrmORVInfo::SaveText(const QString& fileName, const QString& text) {
    const auto fail = [&fileName](const QString& reason) {
        return TOrvError(
            tr("Cannot create file \"%1\". %2").arg(QDir::toNativeSeparators(fileName), reason));
    };
    QSaveFile file(fileName);
    // A file we may write but whose folder we may not still gets replaced.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        throw fail(file.errorString());
    QByteArray bytes("\xEF\xBB\xBF");
    bytes += text.toUtf8();
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw fail(file.errorString());
}

void TFrmORVInfo::btnUlozitClick() {
    OrvGuard(this, [this] {
        const QString fileName =
            TDialogs::SaveFileName(this, tr("Uložiť ako"), SuggestedFileName, tr("Súbory XML"),
                                   QStringLiteral("*.XML *.xml"), QStringLiteral("XML"));
        if (fileName.isEmpty())
            return;
        SaveText(fileName, Text());
    });
}

void TFrmORVInfo::keyPressEvent(QKeyEvent* event) {
    // "Zavrieť" is the cancel button: Esc presses it.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        ui->btnOk->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TFrmORVInfo::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->pnlBottom && event->type() == QEvent::Resize)
        PlaceCloseButton();
    return QDialog::eventFilter(watched, event);
}

void TFrmORVInfo::PlaceCloseButton() {
    const QRect strip = ui->pnlBottom->rect();
    QRect button = ui->btnOk->geometry();
    button.moveBottomRight(QPoint(strip.right() - CloseRightGap, strip.bottom() - CloseBottomGap));
    ui->btnOk->setGeometry(button);
}
