// The application-wide error box and the guard every handler runs through.

#include "UBusyCursor.h"
#include "UErrorBox.h"
#include "UFormsTestKit.h"
#include "UGuard.h"
#include "USoapFault.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <new>
#include <stdexcept>

using namespace FormsTest;

class TestErrorBox : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { IsolateConfiguration(); }
    void init() {
        TDialogs::Reset();
        TDialogs::setUnattended(true);
    }

    void fullStopRule_data() {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letter") << QStringLiteral("Chyba") << QStringLiteral("Chyba.");
        QTest::newRow("digit") << QStringLiteral("Kód 5") << QStringLiteral("Kód 5.");
        QTest::newRow("colon") << QStringLiteral("Chyba:") << QStringLiteral("Chyba:.");
        QTest::newRow("question mark") << QStringLiteral("Prečo?") << QStringLiteral("Prečo?.");
        QTest::newRow("accented letter")
            << QStringLiteral("Chybné heslá") << QStringLiteral("Chybné heslá.");
        QTest::newRow("exclamation") << QStringLiteral("Pozor!") << QStringLiteral("Pozor!");
        QTest::newRow("parenthesis")
            << QStringLiteral("GetPodanie()") << QStringLiteral("GetPodanie()");
        QTest::newRow("full stop") << QStringLiteral("Hotovo.") << QStringLiteral("Hotovo.");
        QTest::newRow("quote") << QStringLiteral("'x'") << QStringLiteral("'x'");
        QTest::newRow("hyphen") << QStringLiteral("a -") << QStringLiteral("a -");
        QTest::newRow("slash") << QStringLiteral("a/") << QStringLiteral("a/.");
        QTest::newRow("line break") << QStringLiteral("a\r\n") << QStringLiteral("a\r\n");
        QTest::newRow("space") << QStringLiteral("a ") << QStringLiteral("a ");
        QTest::newRow("empty") << QString() << QString();
    }

    void fullStopRule() {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QCOMPARE(WithFullStop(message), shown);
        QVERIFY(!OrvGuard(nullptr, [&message] { throw TOrvError(message); }));
        const QList<TDialogs::TShown> boxes = TDialogs::Shown();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes.first().Kind, TDialogs::TKind::OrvError);
        QCOMPARE(boxes.first().Title, QStringLiteral("ORV Duriza"));
        QCOMPARE(boxes.first().Text, shown);
        QCOMPARE(boxes.first().Answer, QMessageBox::Ok);
    }

    void everyKindOfErrorIsShown() {
        QVERIFY(!OrvGuard(nullptr, [] {
            throw TSoapFault(QStringLiteral("Server was unable to process request"),
                             QStringLiteral("s:Server"), {}, {});
        }));
        QVERIFY(!OrvGuard(nullptr, [] { throw std::runtime_error("disk error"); }));
        QVERIFY(!OrvGuard(nullptr, [] { throw std::bad_alloc(); }));
        QVERIFY(!OrvGuard(nullptr, [] { throw 42; }));
        const QStringList errors = ShownErrors();
        QCOMPARE(errors.size(), 4);
        QCOMPARE(errors.at(0), QStringLiteral("Server was unable to process request."));
        QCOMPARE(errors.at(1), QStringLiteral("disk error."));
        QVERIFY(!errors.at(2).isEmpty());
        QCOMPARE(errors.at(3), QStringLiteral("Neznáma chyba."));
    }

    void normalEndShowsNothing() {
        bool ran = false;
        QVERIFY(OrvGuard(nullptr, [&ran] { ran = true; }));
        QVERIFY(ran);
        QVERIFY(TDialogs::Shown().isEmpty());
    }

    void cleanupsRunBeforeTheBoxShows() {
        TOrvApp app; // installs the hourglass
        QVERIFY(!OrvGuard(nullptr, [] {
            TBusyCursor busy;
            QVERIFY(QGuiApplication::overrideCursor() != nullptr);
            throw TOrvError(QStringLiteral("Chyba"));
        }));
        QCOMPARE(TDialogs::Shown().size(), 1);
        QVERIFY(!TDialogs::Shown().first().BusyCursor);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

    void standardBoxesHaveTheirCaptions() {
        TDialogs::Information(nullptr, QStringLiteral("EPH bol podaný!"));
        TDialogs::Error(nullptr, QStringLiteral("Zlé"));
        const QList<TDialogs::TShown> boxes = TDialogs::Shown();
        QCOMPARE(boxes.size(), 2);
        QCOMPARE(boxes.at(0).Title, QStringLiteral("Information"));
        QCOMPARE(boxes.at(0).Text, QStringLiteral("EPH bol podaný!"));
        QCOMPARE(boxes.at(1).Title, QStringLiteral("Error"));
        QCOMPARE(boxes.at(1).Kind, TDialogs::TKind::Error);
        // Their texts are shown as given, without the full-stop rule.
        QCOMPARE(boxes.at(1).Text, QStringLiteral("Zlé"));
    }

    void boxShowsOutsideTextLiterally_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("anchor") << QStringLiteral("<a href=\"http://x.example/\">klikni</a>");
        QTest::newRow("bold") << QStringLiteral("<b>tučné</b>");
        QTest::newRow("paragraph") << QStringLiteral("<p>odsek</p> <address>");
        QTest::newRow("entity") << QStringLiteral("&amp; &lt;");
        QTest::newRow("CR LF") << QStringLiteral("riadok 1\r\nriadok 2");
    }
    void boxShowsOutsideTextLiterally() {
        QFETCH(QString, text);
        TDialogs::setUnattended(false);
        Qt::TextFormat format = Qt::RichText;
        QString shown;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            format = box->textFormat();
            shown = box->text();
            box->accept();
        });
        TDialogs::OrvError(nullptr, text);
        QCOMPARE(format, Qt::PlainText);
        QCOMPARE(shown, text);
    }

    void answersAreUsedInOrder() {
        TDialogs::setNextAnswer(QMessageBox::Yes);
        TDialogs::setNextAnswer(QMessageBox::No);
        QVERIFY(TDialogs::Question(nullptr, QStringLiteral("T"), QStringLiteral("1")));
        QVERIFY(!TDialogs::Question(nullptr, QStringLiteral("T"), QStringLiteral("2")));
        // Unattended with nothing queued: the default button, No.
        QVERIFY(!TDialogs::Question(nullptr, QStringLiteral("T"), QStringLiteral("3")));
    }
};

QTEST_MAIN(TestErrorBox)
#include "tst_errorbox.moc"
