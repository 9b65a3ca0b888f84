#pragma once

#include <QList>
#include <QMessageBox>
#include <QString>

class QWidget;

// Every message box and file dialog of the application goes through here, so
// tests can answer them in advance and nothing ever waits for a person.
class TDialogs {
public:
    enum class TKind { Information, Error, OrvError, Question };

    // A box as it was shown, for tests to inspect.
    struct TShown {
        TKind Kind;
        QString Title;
        QString Text;
        QMessageBox::StandardButton Answer;
        bool BusyCursor; // an override cursor was in force when it showed
    };

    // Standard boxes captioned "Information" and "Error", one "OK" button.
    static void Information(QWidget* parent, const QString& text);
    static void Error(QWidget* parent, const QString& text);
    // The application-wide error box, titled with the application's name.
    static void OrvError(QWidget* parent, const QString& text);
    // Yes and No, No being the default; true for Yes.
    static bool Question(QWidget* parent, const QString& title, const QString& text);

    // The save-file dialog: the suggested name preset, one filter, the default
    // suffix added to a name typed without one, and a question before an
    // existing file is replaced (declining lets the user choose again).
    // Empty when the user cancels.
    static QString SaveFileName(QWidget* parent, const QString& title, const QString& suggestedName,
                                const QString& filterName, const QString& filterPattern,
                                const QString& defaultSuffix);
    // The open-file dialog: the preset name, one filter, the default suffix
    // added to a name typed without one; the file need not exist. Empty when
    // the user cancels.
    static QString OpenFileName(QWidget* parent, const QString& title, const QString& preset,
                                const QString& filterName, const QString& filterPattern,
                                const QString& defaultSuffix);

    // Answers for the next boxes and file dialogs, used in order. An empty file
    // name cancels the dialog.
    static void setNextAnswer(QMessageBox::StandardButton answer);
    static void setNextFileName(const QString& fileName);
    // Unattended: a box with no answer queued takes its default button and a
    // file dialog with none is cancelled, without anything being shown.
    static void setUnattended(bool unattended);

    // A file dialog as it was asked for, for tests to inspect.
    struct TFileAsked {
        QString Title;
        QString Preset;
        QString Filter;
        QString DefaultSuffix;
    };

    static QList<TShown> Shown();
    static QList<TFileAsked> FileDialogs();
    static void ClearShown();
    // Forgets queued answers and shown boxes.
    static void Reset();

private:
    static QMessageBox::StandardButton Ask(QWidget* parent, TKind kind, const QString& title,
                                           const QString& text,
                                           QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton);
    static bool NextFileName(QWidget* parent, bool save, const QString& title,
                             const QString& preset, const QString& filter,
                             const QString& defaultSuffix, QString& fileName);
};
