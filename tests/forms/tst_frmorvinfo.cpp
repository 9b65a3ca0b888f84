// The content viewer: line breaks, saving with the byte-order mark, the
// default extension, the overwrite question and failures.

#include "DFrmORVInfo.h"
#include "UDialogs.h"
#include "UFormsTestKit.h"

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace FormsTest;

namespace {

const QByteArray Bom("\xEF\xBB\xBF");

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

class TestFrmORVInfo : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> Dir;
    std::unique_ptr<TFrmORVInfo> Viewer;

    QString Path(const QString& name) const { return Dir->filePath(name); }
    QPushButton* Button(const char* name) {
        return Viewer->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    QPlainTextEdit* Memo() {
        return Viewer->findChild<QPlainTextEdit*>(QStringLiteral("memoInfo"));
    }

private Q_SLOTS:
    void initTestCase() { IsolateConfiguration(); }

    void init() {
        Dir = std::make_unique<QTemporaryDir>();
        TDialogs::Reset();
        TDialogs::setUnattended(true);
        Viewer = std::make_unique<TFrmORVInfo>(nullptr);
        Viewer->SetCaption(QStringLiteral("Podanie P-7"));
        Viewer->SetFileName(QStringLiteral("P-7"));
    }

    void cleanup() {
        Viewer.reset();
        Dir.reset();
        TDialogs::Reset();
    }

    void layout() {
        TFrmORVInfo plain(nullptr);
        QCOMPARE(plain.windowTitle(), QStringLiteral("Informácie..."));
        QCOMPARE(plain.size(), QSize(484, 315));
        QCOMPARE(Button("btnUlozit")->text(), QStringLiteral("Uložiť"));
        QCOMPARE(Button("btnOk")->text(), QStringLiteral("Zavrieť"));
        QVERIFY(Memo()->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn);
        QCOMPARE(Memo()->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QVERIFY(!Memo()->isReadOnly());

        Viewer->show();
        QVERIFY(QTest::qWaitForWindowExposed(Viewer.get()));
        QWidget* strip = Viewer->findChild<QWidget*>(QStringLiteral("pnlBottom"));
        QCOMPARE(strip->height(), 41);
        QCOMPARE(Button("btnUlozit")->x(), 305);
        // "Zavrieť" keeps to the strip's bottom-right corner as the window grows.
        const int rightGap = strip->width() - Button("btnOk")->geometry().right();
        Viewer->resize(700, 450);
        QTRY_COMPARE(strip->width(), 700);
        QCOMPARE(strip->width() - Button("btnOk")->geometry().right(), rightGap);
        QCOMPARE(Button("btnUlozit")->x(), 305);
        QCOMPARE(strip->y() + strip->height(), Viewer->height());
    }

    void lineBreaksBecomeCrLf_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("LF") << QStringLiteral("<a>\n<b/>\n</a>")
                            << QStringLiteral("<a>\r\n<b/>\r\n</a>");
        QTest::newRow("CR") << QStringLiteral("<a>\r<b/></a>") << QStringLiteral("<a>\r\n<b/></a>");
        QTest::newRow("CR LF") << QStringLiteral("<a>\r\n</a>") << QStringLiteral("<a>\r\n</a>");
        QTest::newRow("LF CR is two") << QStringLiteral("x\n\ry") << QStringLiteral("x\r\n\r\ny");
        QTest::newRow("final break") << QStringLiteral("x\n") << QStringLiteral("x\r\n");
        QTest::newRow("none") << QStringLiteral("<a/>") << QStringLiteral("<a/>");
        QTest::newRow("no-break space kept")
            << QStringLiteral("a\u00A0b") << QStringLiteral("a\u00A0b");
    }

    void lineBreaksBecomeCrLf() {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        Viewer->SetText(text);
        QCOMPARE(Viewer->Text(), expected);
        QCOMPARE(NormalizeLineBreaks(text), expected);
    }

    void savesTheByteOrderMarkAndUtf8() {
        const QString text =
            QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<p>Žiadosť o čiastku</p>");
        Viewer->SetText(text);
        TDialogs::setNextFileName(Path(QStringLiteral("P-7")));
        Button("btnUlozit")->click();
        QVERIFY(TDialogs::Shown().isEmpty());
        // The default extension is added to a name typed without one.
        const QByteArray bytes = ReadAll(Path(QStringLiteral("P-7.XML")));
        QCOMPARE(bytes, Bom + QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<p>") +
                            QStringLiteral("Žiadosť o čiastku").toUtf8() + QByteArray("</p>"));
        QVERIFY(bytes.contains("\xC5\xBD")); // "Ž" as two UTF-8 bytes
    }

    void saveDialogProposesTheIdentifier() {
        TDialogs::setNextFileName(QString());
        Button("btnUlozit")->click();
        const QList<TDialogs::TFileAsked> asked = TDialogs::FileDialogs();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked.first().Preset, QStringLiteral("P-7"));
        QCOMPARE(asked.first().DefaultSuffix, QStringLiteral("XML"));
        QVERIFY(asked.first().Filter.startsWith(QStringLiteral("Súbory XML (*.XML")));
        // Cancelled: nothing written, nothing said.
        QVERIFY(QDir(Dir->path()).isEmpty());
        QVERIFY(TDialogs::Shown().isEmpty());
    }

    void nameWithAnExtensionIsKept() {
        Viewer->SetText(QStringLiteral("<a/>"));
        TDialogs::setNextFileName(Path(QStringLiteral("vypis.txt")));
        Button("btnUlozit")->click();
        QCOMPARE(ReadAll(Path(QStringLiteral("vypis.txt"))), Bom + "<a/>");
    }

    void overwriteIsAskedFirst_data() {
        QTest::addColumn<bool>("replace");
        QTest::newRow("declined") << false;
        QTest::newRow("accepted") << true;
    }

    void overwriteIsAskedFirst() {
        QFETCH(bool, replace);
        const QString target = Path(QStringLiteral("P-7.XML"));
        WriteAll(target, "old");
        Viewer->SetText(QStringLiteral("<new/>"));
        TDialogs::setNextFileName(target);
        TDialogs::setNextAnswer(replace ? QMessageBox::Yes : QMessageBox::No);
        Button("btnUlozit")->click();
        const QList<TDialogs::TShown> shown = TDialogs::Shown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().Kind, TDialogs::TKind::Question);
        QVERIFY(shown.first().Text.contains(QStringLiteral("P-7.XML")));
        QCOMPARE(ReadAll(target), replace ? Bom + "<new/>" : QByteArray("old"));
    }

    void declinedOverwriteLetsTheUserChooseAgain() {
        const QString first = Path(QStringLiteral("P-7.XML"));
        WriteAll(first, "old");
        Viewer->SetText(QStringLiteral("<new/>"));
        TDialogs::setNextFileName(first);
        TDialogs::setNextAnswer(QMessageBox::No);
        TDialogs::setNextFileName(Path(QStringLiteral("inde")));
        Button("btnUlozit")->click();
        QCOMPARE(TDialogs::FileDialogs().size(), 2);
        QCOMPARE(TDialogs::FileDialogs().at(1).Preset, first);
        QCOMPARE(ReadAll(first), QByteArray("old"));
        QCOMPARE(ReadAll(Path(QStringLiteral("inde.XML"))), Bom + "<new/>");
    }

    void savesWhatTheUserTyped() {
        Viewer->SetText(QStringLiteral("<a>\n</a>"));
        Viewer->show();
        QVERIFY(QTest::qWaitForWindowExposed(Viewer.get()));
        Memo()->setFocus();
        Memo()->moveCursor(QTextCursor::End);
        QTest::keyClick(Memo(), Qt::Key_Return);
        QTest::keyClicks(Memo(), QStringLiteral("<!-- "));
        Memo()->insertPlainText(QStringLiteral("poznámka"));
        QTest::keyClicks(Memo(), QStringLiteral(" -->"));
        TDialogs::setNextFileName(Path(QStringLiteral("upravene")));
        Button("btnUlozit")->click();
        QCOMPARE(ReadAll(Path(QStringLiteral("upravene.XML"))),
                 Bom + QStringLiteral("<a>\r\n</a>\r\n<!-- poznámka -->").toUtf8());
        // The viewer stays open and saves again.
        QVERIFY(Viewer->isVisible());
        TDialogs::setNextFileName(Path(QStringLiteral("znova")));
        Button("btnUlozit")->click();
        QCOMPARE(ReadAll(Path(QStringLiteral("znova.XML"))),
                 ReadAll(Path(QStringLiteral("upravene.XML"))));
    }

    void fileThatCannotBeCreatedIsReported() {
        Viewer->SetText(QStringLiteral("<a/>"));
        Viewer->show();
        const QString target = Path(QStringLiteral("chyba/P-7.XML"));
        TDialogs::setNextFileName(target);
        Button("btnUlozit")->click();
        const QStringList errors = ShownErrors();
        QCOMPARE(errors.size(), 1);
        const QString start =
            QStringLiteral("Cannot create file \"%1\". ").arg(QDir::toNativeSeparators(target));
        QVERIFY2(errors.first().startsWith(start), qPrintable(errors.first()));
        QVERIFY(errors.first().size() > start.size() + 1);
        QVERIFY(Viewer->isVisible());
    }

    void escapeClosesWithOk() {
        int result = -1;
        {
            TOnModal watch([](QDialog* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
            result = Viewer->exec();
        }
        QCOMPARE(result, int(QDialog::Accepted));
    }
};

QTEST_MAIN(TestFrmORVInfo)
#include "tst_frmorvinfo.moc"
