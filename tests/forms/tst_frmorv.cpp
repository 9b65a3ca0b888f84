// The main window against the simulator: start-up, loading both lists,
// failures and the enabling rules.

#include "DFrmORV.h"
#include "DFrmORVPodajEPH.h"
#include "UClock.h"
#include "UDMORV.h"
#include "UFormsTestKit.h"
#include "UListRows.h"
#include "USimFaultScript.h"

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QDateTime>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <cmath>
#include <memory>

using namespace FormsTest;

class TestFrmORV : public QObject {
    Q_OBJECT

    std::unique_ptr<TFixture> Fixture;
    std::unique_ptr<TFrmORV> Form;

    template <class T> T* Find(const char* name) { return FindChild<T>(Form.get(), name); }
    QTableWidget* List(const char* name) { return Find<QTableWidget>(name); }
    QStringList Column(const char* list, int column) {
        QStringList cells;
        QTableWidget* view = List(list);
        for (int row = 0; row < view->rowCount(); ++row)
            cells.append(view->item(row, column)->text());
        return cells;
    }
    // Closes the window's submission dialog as soon as it runs, as if the
    // person had submitted (accept) or cancelled (reject).
    static void AnswerSubmissionDialog(void (QDialog::*answer)()) {
        QTimer::singleShot(0, [answer] {
            auto* dialog = qobject_cast<TFrmORVPodajEPH*>(QApplication::activeModalWidget());
            if (!dialog)
                qFatal("the submission dialog is not shown");
            (dialog->*answer)();
        });
    }

    void OpenForm() {
        Form = std::make_unique<TFrmORV>();
        Form->show();
        QVERIFY(QTest::qWaitForWindowExposed(Form.get()));
    }

private Q_SLOTS:
    void initTestCase() { IsolateConfiguration(); }

    void init() {
        Fixture = std::make_unique<TFixture>();
        Fixture->StoreAccountSettings();
        Fixture->CreateCore();
        Fixture->SetData({{QStringLiteral("P-003"), QStringLiteral("B-2"), 1.0},
                          {QStringLiteral("P-002"), QStringLiteral("B-1"), 30.0},
                          {QStringLiteral("P-001"), QStringLiteral("B-2"), 24.0 * 45}});
        OpenForm();
    }

    void cleanup() {
        Form.reset();
        Fixture.reset();
    }

    void startUpShowsEmptyListsAndDefaultDates() {
        QCOMPARE(Form->windowTitle(), QStringLiteral("Komunikácia s ORV"));
        const QDate today = DateTimeToDate(std::floor(Clock().Now()));
        for (const char* name : {"dtpPodaniaDatumDo", "dtpPisomnostiDatumDo"})
            QCOMPARE(Find<QDateEdit>(name)->date(), today);
        for (const char* name : {"dtpPodaniaDatumOd", "dtpPisomnostiDatumOd"})
            QCOMPARE(Find<QDateEdit>(name)->date(), today.addDays(-30));
        QCOMPARE(Form->PodaniaDatumDo(), std::floor(Clock().Now()));
        QCOMPARE(Form->PodaniaDatumOd(), std::floor(Clock().Now()) - 30);

        QCOMPARE(List("lvPodania")->rowCount(), 0);
        QCOMPARE(List("lvPisomnosti")->rowCount(), 0);
        QVERIFY(Find<QLineEdit>("editPodaniaBiznisId")->text().isEmpty());
        QVERIFY(!Find<QAction>("ActZobrazitXML")->isEnabled());
        QVERIFY(Find<QAction>("actKonfiguracia")->isEnabled());
        QVERIFY(Find<QAction>("ActNovyEPH")->isEnabled());
        QCOMPARE(Find<QTabWidget>("pgCtrlMain")->currentWidget(), Find<QWidget>("tsPodania"));
        // Nothing is asked of the portal before "Načítať".
        QCOMPARE(Fixture->Requests(QStringLiteral("CheckLogin")), 0);
        QCOMPARE(Fixture->Requests(QStringLiteral("ListPodanie")), 0);
    }

    void toolBarShowsThreeItems() {
        QToolBar* bar = Find<QToolBar>("atbMain");
        QStringList visible;
        for (QAction* action : bar->actions()) {
            if (QWidget* item = bar->widgetForAction(action); item && item->isVisible())
                visible.append(action->iconText());
        }
        QCOMPARE(visible, (QStringList{QStringLiteral("&Konfigurácia ORV"),
                                       QStringLiteral("&Podať nový EPH"),
                                       QStringLiteral("&Zobraziť obsah")}));
        // The fourth item, the language one, is there but hidden; its action
        // is enabled and can run.
        QCOMPARE(bar->actions().size(), 4);
        QAction* item = bar->actions().at(3);
        QVERIFY(!item->isVisible());
        QCOMPARE(item->iconText(), QStringLiteral("Vybrať jazyk (Select language)"));
        QAction* jazyk = Find<QAction>("ActJazyk");
        QCOMPARE(jazyk->text(), QStringLiteral("Vybrať jazyk (Select language)"));
        QVERIFY(jazyk->isEnabled());
        Form->UpdateActions();
        QCoreApplication::processEvents();
        QVERIFY(!item->isVisible());
    }

    void listsHaveTheirColumns_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QList<int>>("widths");
        QTest::newRow("Podania")
            << QStringLiteral("lvPodania")
            << QStringList{QStringLiteral("ID podania"),        QStringLiteral("ID subjektu"),
                           QStringLiteral("ID biznis prípadu"), QStringLiteral("Dátum podania"),
                           QStringLiteral("Typ podania"),       QStringLiteral("Služba"),
                           QStringLiteral("Stav overenia"),     QStringLiteral("Stav podania")}
            << QList<int>{110, 110, 100, 120, 200, 100, 100, 150};
        QTest::newRow("Písomnosti")
            << QStringLiteral("lvPisomnosti")
            << QStringList{QStringLiteral("ID písomnosti"), QStringLiteral("ID subjektu"),
                           QStringLiteral("ID Podania"),    QStringLiteral("ID biznis prípadu"),
                           QStringLiteral("Dátum podania"), QStringLiteral("Typ písomnosti"),
                           QStringLiteral("Služba")}
            << QList<int>{110, 110, 110, 100, 120, 200, 100};
    }

    void listsHaveTheirColumns() {
        QFETCH(QString, list);
        QFETCH(QStringList, captions);
        QFETCH(QList<int>, widths);
        QTableWidget* view = List(list.toLatin1().constData());
        QCOMPARE(view->columnCount(), captions.size());
        for (int column = 0; column < captions.size(); ++column) {
            QCOMPARE(view->horizontalHeaderItem(column)->text(), captions.at(column));
            QCOMPARE(view->columnWidth(column), widths.at(column));
        }
        QVERIFY(!view->isSortingEnabled());
        QCOMPARE(view->selectionMode(), QAbstractItemView::SingleSelection);
        QCOMPARE(view->selectionBehavior(), QAbstractItemView::SelectRows);
        QCOMPARE(view->editTriggers(), QAbstractItemView::NoEditTriggers);
        QVERIFY(view->showGrid());
    }

    void loadsSubmissionsInThePortalsOrder() {
        Find<QPushButton>("btnPodaniaNacitat")->click();
        QVERIFY(ShownErrors().isEmpty());
        QCOMPARE(Column("lvPodania", 0),
                 (QStringList{QStringLiteral("P-003"), QStringLiteral("P-002")}));
        QCOMPARE(Column("lvPodania", 1),
                 (QStringList{QString::fromLatin1(Subjekt), QString::fromLatin1(Subjekt)}));
        QCOMPARE(Column("lvPodania", 2),
                 (QStringList{QStringLiteral("B-2"), QStringLiteral("B-1")}));
        QCOMPARE(Column("lvPodania", 4).first(), QStringLiteral("KT_PODAJ_v01"));
        QCOMPARE(Column("lvPodania", 5).first(), QStringLiteral("KT_HromadnyPodaj"));
        QCOMPARE(Column("lvPodania", 6).first(), QStringLiteral("Overené"));
        QCOMPARE(Column("lvPodania", 7).first(), QStringLiteral("Prijaté"));
        QCOMPARE(Fixture->Requests(QStringLiteral("CheckLogin")), 1);
        QCOMPARE(Fixture->Requests(QStringLiteral("ListPodanie")), 1);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

    void showsDatesToTheMinute() {
        Find<QPushButton>("btnPodaniaNacitat")->click();
        const QString datum = Column("lvPodania", 3).first();
        QVERIFY2(QRegularExpression(QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d$"))
                     .match(datum)
                     .hasMatch(),
                 qPrintable(datum));
        // Received an hour ago: local time, give or take the minute turning.
        const QDateTime shown = QDateTime::fromString(datum, QStringLiteral("dd.MM.yyyy hh:mm"));
        const qint64 diff = shown.secsTo(QDateTime::currentDateTime().addSecs(-3600));
        QVERIFY2(diff >= 0 && diff <= 120, qPrintable(datum));
    }

    void loadsDocumentsWithTheSubmissionBeforeTheBusinessCase() {
        Find<QTabWidget>("pgCtrlMain")->setCurrentWidget(Find<QWidget>("tsPisomnosti"));
        Find<QPushButton>("btnPisomnostiNacitat")->click();
        QVERIFY(ShownErrors().isEmpty());
        QCOMPARE(Column("lvPisomnosti", 0),
                 (QStringList{QStringLiteral("D-P-003"), QStringLiteral("D-P-002")}));
        QCOMPARE(Column("lvPisomnosti", 2),
                 (QStringList{QStringLiteral("P-003"), QStringLiteral("P-002")}));
        QCOMPARE(Column("lvPisomnosti", 3),
                 (QStringList{QStringLiteral("B-2"), QStringLiteral("B-1")}));
        QCOMPARE(Column("lvPisomnosti", 5).first(), QStringLiteral("KT_POTVRDENIE_PRIJATIA"));
        QCOMPARE(Column("lvPisomnosti", 6).first(), QStringLiteral("KT_HromadnyPodaj"));
        QCOMPARE(List("lvPodania")->rowCount(), 0);
    }

    void widerRangeAndBusinessCaseFilter() {
        Find<QDateEdit>("dtpPodaniaDatumOd")->setDate(QDate::currentDate().addDays(-60));
        Find<QPushButton>("btnPodaniaNacitat")->click();
        QCOMPARE(List("lvPodania")->rowCount(), 3);
        Find<QLineEdit>("editPodaniaBiznisId")->setText(QStringLiteral("B-2"));
        Find<QPushButton>("btnPodaniaNacitat")->click();
        QCOMPARE(Column("lvPodania", 0),
                 (QStringList{QStringLiteral("P-003"), QStringLiteral("P-001")}));
        // Blanks are a filter like any other text, not "no filter".
        Find<QLineEdit>("editPodaniaBiznisId")->setText(QStringLiteral("  "));
        Find<QPushButton>("btnPodaniaNacitat")->click();
        QCOMPARE(List("lvPodania")->rowCount(), 0);
        QVERIFY(ShownErrors().isEmpty());
    }

    void emptyListingShowsNoMessage() {
        Fixture->SetData({});
        Find<QPushButton>("btnPodaniaNacitat")->click();
        QCOMPARE(List("lvPodania")->rowCount(), 0);
        QVERIFY(TDialogs::Shown().isEmpty());
    }

    void enterLoadsTheTabInView() {
        QLineEdit* edit = Find<QLineEdit>("editPodaniaBiznisId");
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(List("lvPodania")->rowCount(), 2);
        QCOMPARE(List("lvPisomnosti")->rowCount(), 0);

        Find<QTabWidget>("pgCtrlMain")->setCurrentWidget(Find<QWidget>("tsPisomnosti"));
        QDateEdit* picker = Find<QDateEdit>("dtpPisomnostiDatumDo");
        picker->setFocus();
        QTest::keyClick(picker, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(List("lvPisomnosti")->rowCount(), 2);
    }

    void refusedLoginKeepsThePreviousRows() {
        Find<QPushButton>("btnPodaniaNacitat")->click();
        QCOMPARE(List("lvPodania")->rowCount(), 2);
        DMORV().Heslo = TDMORV::HashHeslo(QStringLiteral("zlé heslo"));
        Find<QPushButton>("btnPodaniaNacitat")->click();
        QCOMPARE(List("lvPodania")->rowCount(), 2);
        const QList<TDialogs::TShown> shown = TDialogs::Shown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().Kind, TDialogs::TKind::OrvError);
        QCOMPARE(shown.first().Title, QStringLiteral("ORV Duriza"));
        QVERIFY2(shown.first().Text.startsWith(QStringLiteral("Chyba pri komunikácii s ORV:\r\n")),
                 qPrintable(shown.first().Text));
        QVERIFY(!shown.first().BusyCursor);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        QCOMPARE(Fixture->Requests(QStringLiteral("ListPodanie")), 1);
    }

    void failedListingEmptiesTheList_data() {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("faultString");
        QTest::addColumn<QString>("shown");
        QTest::newRow("Podania ending in a letter")
            << QStringLiteral("ListPodanie") << QStringLiteral("Služba je dočasne nedostupná")
            << QStringLiteral("Služba je dočasne nedostupná.");
        QTest::newRow("Písomnosti ending in !")
            << QStringLiteral("ListSuborPisomnosti") << QStringLiteral("Údržba systému!")
            << QStringLiteral("Údržba systému!");
    }

    void failedListingEmptiesTheList() {
        QFETCH(QString, operation);
        QFETCH(QString, faultString);
        QFETCH(QString, shown);
        const bool podania = operation == QStringLiteral("ListPodanie");
        if (!podania)
            Find<QTabWidget>("pgCtrlMain")->setCurrentWidget(Find<QWidget>("tsPisomnosti"));
        QPushButton* load =
            Find<QPushButton>(podania ? "btnPodaniaNacitat" : "btnPisomnostiNacitat");
        QTableWidget* list = List(podania ? "lvPodania" : "lvPisomnosti");
        load->click();
        QCOMPARE(list->rowCount(), 2);

        Sim::TSimScriptedAnswer fault;
        fault.FaultString = faultString.toStdString();
        Fixture->Server().Faults().Push(operation.toStdString(), fault);
        load->click();
        QCOMPARE(list->rowCount(), 0);
        QCOMPARE(ShownErrors(), QStringList{shown});
        QVERIFY(!TDialogs::Shown().first().BusyCursor);
        QVERIFY(list->updatesEnabled());
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

    void unreachablePortalIsReportedAndTheWindowGoesOn() {
        Fixture->Server().Stop();
        Find<QPushButton>("btnPodaniaNacitat")->click();
        QCOMPARE(ShownErrors().size(), 1);
        QVERIFY(!ShownErrors().first().isEmpty());
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        QVERIFY(Form->isVisible());
    }

    void showContentFollowsTheActiveTabsSelection() {
        Find<QTabWidget>("pgCtrlMain")->setCurrentWidget(Find<QWidget>("tsPisomnosti"));
        Find<QPushButton>("btnPisomnostiNacitat")->click();
        QAction* show = Find<QAction>("ActZobrazitXML");
        QVERIFY(!show->isEnabled());
        List("lvPisomnosti")->selectRow(1);
        QVERIFY(show->isEnabled());
        Find<QTabWidget>("pgCtrlMain")->setCurrentWidget(Find<QWidget>("tsPodania"));
        QVERIFY(!show->isEnabled());
        Find<QTabWidget>("pgCtrlMain")->setCurrentWidget(Find<QWidget>("tsPisomnosti"));
        QVERIFY(show->isEnabled());
        // A new load clears the rows and with them the selection.
        Find<QPushButton>("btnPisomnostiNacitat")->click();
        QVERIFY(!show->isEnabled());
    }

    void newEphSuccessReportsAndReloadsSubmissions() {
        Find<QTabWidget>("pgCtrlMain")->setCurrentWidget(Find<QWidget>("tsPisomnosti"));
        Find<QLineEdit>("editPodaniaBiznisId")->setText(QStringLiteral("B-1"));
        AnswerSubmissionDialog(&QDialog::accept);
        Find<QAction>("ActNovyEPH")->trigger();
        const QList<TDialogs::TShown> shown = TDialogs::Shown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().Kind, TDialogs::TKind::Information);
        QCOMPARE(shown.first().Title, QStringLiteral("Information"));
        QCOMPARE(shown.first().Text, QStringLiteral("EPH bol podaný!"));
        QCOMPARE(Find<QTabWidget>("pgCtrlMain")->currentWidget(), Find<QWidget>("tsPodania"));
        QCOMPARE(Column("lvPodania", 0), QStringList{QStringLiteral("P-002")});
    }

    void newEphReloadFailureShowsAfterTheSuccessMessage() {
        AnswerSubmissionDialog(&QDialog::accept);
        Sim::TSimScriptedAnswer fault;
        fault.FaultString = "Chyba databázy";
        Fixture->Server().Faults().Push("ListPodanie", fault);
        Find<QAction>("ActNovyEPH")->trigger();
        const QList<TDialogs::TShown> shown = TDialogs::Shown();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown.at(0).Text, QStringLiteral("EPH bol podaný!"));
        QCOMPARE(shown.at(1).Kind, TDialogs::TKind::OrvError);
        QCOMPARE(shown.at(1).Text, QStringLiteral("Chyba databázy."));
    }

    void newEphCancelledDoesNothing() {
        AnswerSubmissionDialog(&QDialog::reject);
        Find<QAction>("ActNovyEPH")->trigger();
        QVERIFY(TDialogs::Shown().isEmpty());
        QCOMPARE(Fixture->Requests(QStringLiteral("ListPodanie")), 0);
    }
};

QTEST_MAIN(TestFrmORV)
#include "tst_frmorv.moc"
