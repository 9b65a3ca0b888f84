#include "USignerPrompt.h"

#include "UFormLook.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The hourglass of the surrounding operation gives way to the arrow while the
// person types, and comes back after.
class TArrowCursor {
public:
    TArrowCursor() { QGuiApplication::setOverrideCursor(Qt::ArrowCursor); }
    ~TArrowCursor() { QGuiApplication::restoreOverrideCursor(); }
    TArrowCursor(const TArrowCursor&) = delete;
    TArrowCursor& operator=(const TArrowCursor&) = delete;
};

} // namespace

std::optional<QString> TSignerPasswordDialog::AskPassword(const TSignerPrompt& prompt) {
    QDialog dialog(QApplication::activeWindow());
    dialog.setObjectName(QStringLiteral("dlgPodpisHeslo"));
    dialog.setWindowTitle(
        QCoreApplication::translate("TSignerPasswordDialog", "Podpísať dokument"));

    auto* layout = new QVBoxLayout(&dialog);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    form->addRow(QCoreApplication::translate("TSignerPasswordDialog", "Dokument:"),
                 new QLabel(prompt.Description, &dialog));
    if (!prompt.CertificateSubject.isEmpty())
        form->addRow(QCoreApplication::translate("TSignerPasswordDialog", "Certifikát:"),
                     new QLabel(prompt.CertificateSubject, &dialog));
    form->addRow(QCoreApplication::translate("TSignerPasswordDialog", "Súbor kľúča:"),
                 new QLabel(prompt.KeyFile, &dialog));

    auto* rendering = new QPlainTextEdit(prompt.Rendering, &dialog);
    rendering->setObjectName(QStringLiteral("memoDokument"));
    rendering->setReadOnly(true);
    rendering->setMinimumSize(480, 240);
    layout->addWidget(rendering);

    auto* heslo = new QLineEdit(&dialog);
    heslo->setObjectName(QStringLiteral("editHeslo"));
    heslo->setEchoMode(QLineEdit::Password);
    auto* hesloForm = new QFormLayout;
    hesloForm->addRow(QCoreApplication::translate("TSignerPasswordDialog", "Heslo kľúča:"), heslo);
    layout->addLayout(hesloForm);

    auto* buttons = new QDialogButtonBox(&dialog);
    buttons
        ->addButton(QCoreApplication::translate("TSignerPasswordDialog", "Storno"),
                    QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("btnStorno"));
    buttons
        ->addButton(QCoreApplication::translate("TSignerPasswordDialog", "Podpísať"),
                    QDialogButtonBox::AcceptRole)
        ->setObjectName(QStringLiteral("btnPodpisat"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    ApplyFormFont(&dialog);
    heslo->setFocus();

    const TArrowCursor arrow;
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return heslo->text();
}
