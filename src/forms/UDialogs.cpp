#include "UDialogs.h"

#include "UOrvApp.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QQueue>

namespace {

struct TDialogState {
    QQueue<QMessageBox::StandardButton> Answers;
    QQueue<QString> FileNames;
    QList<TDialogs::TShown> Shown;
    QList<TDialogs::TFileAsked> FileDialogs;
    bool Unattended = false;
};

TDialogState& State() {
    static TDialogState state;
    return state;
}

QMessageBox::Icon IconOf(TDialogs::TKind kind) {
    switch (kind) {
    case TDialogs::TKind::Information:
        return QMessageBox::Information;
    case TDialogs::TKind::Question:
        return QMessageBox::Question;
    case TDialogs::TKind::Error:
    case TDialogs::TKind::OrvError:
        break;
    }
    return QMessageBox::Critical;
}

} // namespace

QMessageBox::StandardButton TDialogs::Ask(QWidget* parent, TKind kind, const QString& title,
                                          const QString& text, QMessageBox::StandardButtons buttons,
                                          QMessageBox::StandardButton defaultButton) {
    TDialogState& state = State();
    const bool busy = QGuiApplication::overrideCursor() != nullptr;
    QMessageBox::StandardButton answer = defaultButton;
    if (!state.Answers.isEmpty()) {
        answer = state.Answers.dequeue();
    } else if (!state.Unattended) {
        QMessageBox box(IconOf(kind), title, text, buttons, parent);
        // Texts can come from the portal or the network: never rich text.
        box.setTextFormat(Qt::PlainText);
        box.setDefaultButton(defaultButton);
        answer = static_cast<QMessageBox::StandardButton>(box.exec());
    }
    state.Shown.append({kind, title, text, answer, busy});
    return answer;
}

void TDialogs::Information(QWidget* parent, const QString& text) {
    Ask(parent, TKind::Information, QCoreApplication::translate("TDialogs", "Information"), text,
        QMessageBox::Ok, QMessageBox::Ok);
}

void TDialogs::Error(QWidget* parent, const QString& text) {
    Ask(parent, TKind::Error, QCoreApplication::translate("TDialogs", "Error"), text,
        QMessageBox::Ok, QMessageBox::Ok);
}

void TDialogs::OrvError(QWidget* parent, const QString& text) {
    Ask(parent, TKind::OrvError, OrvAppTitle(), text, QMessageBox::Ok, QMessageBox::Ok);
}

bool TDialogs::Question(QWidget* parent, const QString& title, const QString& text) {
    return Ask(parent, TKind::Question, title, text, QMessageBox::Yes | QMessageBox::No,
               QMessageBox::No) == QMessageBox::Yes;
}

bool TDialogs::NextFileName(QWidget* parent, bool save, const QString& title, const QString& preset,
                            const QString& filter, const QString& defaultSuffix,
                            QString& fileName) {
    TDialogState& state = State();
    state.FileDialogs.append({title, preset, filter, defaultSuffix});
    if (!state.FileNames.isEmpty()) {
        fileName = state.FileNames.dequeue();
        return !fileName.isEmpty();
    }
    if (state.Unattended)
        return false;
    QFileDialog dialog(parent, title);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // Opening too takes a name that does not exist yet.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(defaultSuffix);
    // We ask ourselves, so the question can be answered like any other box.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.selectFile(preset);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    fileName = dialog.selectedFiles().constFirst();
    return !fileName.isEmpty();
}

QString TDialogs::SaveFileName(QWidget* parent, const QString& title, const QString& suggestedName,
                               const QString& filterName, const QString& filterPattern,
                               const QString& defaultSuffix) {
    const QString filter = filterName + QStringLiteral(" (") + filterPattern + QLatin1Char(')');
    QString preset = suggestedName;
    for (;;) {
        QString fileName;
        if (!NextFileName(parent, true, title, preset, filter, defaultSuffix, fileName))
            return {};
        if (QFileInfo(fileName).suffix().isEmpty())
            fileName += QLatin1Char('.') + defaultSuffix;
        const QFileInfo info(fileName);
        if (!info.exists())
            return fileName;
        const QString question =
            QCoreApplication::translate("TDialogs", "Súbor %1 už existuje.\nChcete ho nahradiť?")
                .arg(info.fileName());
        if (Question(parent, title, question))
            return fileName;
        preset = fileName;
    }
}

QString TDialogs::OpenFileName(QWidget* parent, const QString& title, const QString& preset,
                               const QString& filterName, const QString& filterPattern,
                               const QString& defaultSuffix) {
    const QString filter = filterName + QStringLiteral(" (") + filterPattern + QLatin1Char(')');
    QString fileName;
    if (!NextFileName(parent, false, title, preset, filter, defaultSuffix, fileName))
        return {};
    return fileName;
}

void TDialogs::setNextAnswer(QMessageBox::StandardButton answer) {
    State().Answers.enqueue(answer);
}

void TDialogs::setNextFileName(const QString& fileName) {
    State().FileNames.enqueue(fileName);
}

void TDialogs::setUnattended(bool unattended) {
    State().Unattended = unattended;
}

QList<TDialogs::TShown> TDialogs::Shown() {
    return State().Shown;
}

QList<TDialogs::TFileAsked> TDialogs::FileDialogs() {
    return State().FileDialogs;
}

void TDialogs::ClearShown() {
    State().Shown.clear();
    State().FileDialogs.clear();
}

void TDialogs::Reset() {
    TDialogState& state = State();
    state.Answers.clear();
    state.FileNames.clear();
    state.Shown.clear();
    state.FileDialogs.clear();
}
