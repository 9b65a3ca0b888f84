// The key-password window the stand-in signer asks through: what it shows,
// the typed password on "Podpísať", nothing on "Storno" or Esc, and the
// hourglass of the running operation set aside while it is open.

#include "UFormsTestKit.h"
#include "USignerPrompt.h"

#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

const TSignerPrompt Prompt{QStringLiteral("Elektronický podací hárok"),
                           QStringLiteral("Odosielateľ: Ďurica"), QStringLiteral("CN=Anna Testová"),
                           QStringLiteral("/tmp/anna.p12")};

} // namespace

class TestSignerPrompt : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void answers_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("answered");
        QTest::newRow("sign") << QStringLiteral("btnPodpisat") << true;
        QTest::newRow("cancel") << QStringLiteral("btnStorno") << false;
        QTest::newRow("escape") << QString() << false;
    }
    void answers() {
        QFETCH(QString, button);
        QFETCH(bool, answered);
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        bool seen = false;
        QString shownText;
        Qt::CursorShape shape = Qt::WaitCursor;
        FormsTest::TOnModal onModal([&](QDialog* dialog) {
            seen = true;
            shape = QGuiApplication::overrideCursor()->shape();
            for (const QLabel* label : dialog->findChildren<QLabel*>())
                shownText += label->text() + QLatin1Char('\n');
            shownText +=
                dialog->findChild<QPlainTextEdit*>(QStringLiteral("memoDokument"))->toPlainText();
            QLineEdit* heslo = dialog->findChild<QLineEdit*>(QStringLiteral("editHeslo"));
            QCOMPARE(heslo->echoMode(), QLineEdit::Password);
            QTest::keyClicks(heslo, QStringLiteral("tajne-1"));
            if (button.isEmpty())
                QTest::keyClick(heslo, Qt::Key_Escape);
            else
                dialog->findChild<QPushButton*>(button)->click();
        });
        TSignerPasswordDialog prompt;
        const std::optional<QString> password = prompt.AskPassword(Prompt);
        QVERIFY(seen);
        QCOMPARE(shape, Qt::ArrowCursor);
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        QGuiApplication::restoreOverrideCursor();
        for (const QString& part :
             {Prompt.Description, Prompt.Rendering, Prompt.CertificateSubject, Prompt.KeyFile})
            QVERIFY2(shownText.contains(part), qPrintable(part));
        QCOMPARE(password.has_value(), answered);
        if (answered)
            QCOMPARE(*password, QStringLiteral("tajne-1"));
    }
};

QTEST_MAIN(TestSignerPrompt)
#include "tst_signerprompt.moc"
