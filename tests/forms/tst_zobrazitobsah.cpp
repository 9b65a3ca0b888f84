// "Zobraziť obsah" on both tabs: what is fetched, what the viewer gets, and
// what a failed fetch leaves.

#include "DFrmORV.h"
#include "DFrmORVInfo.h"
#include "UFormsTestKit.h"
#include "USimFaultScript.h"

#include <QAction>
#include <QDialog>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include <memory>

using namespace FormsTest;

namespace {

const QString Declaration = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n");

struct TSeen {
    QString Caption;
    QString FileName;
    QString Text;
};

} // namespace

class TestZobrazitObsah : public QObject {
    Q_OBJECT

    std::unique_ptr<TFixture> Fixture;
    std::unique_ptr<TFrmORV> Form;

    template <class T> T* Find(const char* name) { return FindChild<T>(Form.get(), name); }
    void ShowTab(const char* tab) {
        Find<QTabWidget>("pgCtrlMain")->setCurrentWidget(Find<QWidget>(tab));
    }
    // Runs the action and returns what the viewer showed, if one opened.
    std::optional<TSeen> Show(const std::function<void()>& start) {
        std::optional<TSeen> seen;
        TOnModal watch([&seen](QDialog* dialog) {
            auto* viewer = qobject_cast<TFrmORVInfo*>(dialog);
            if (viewer)
                seen = TSeen{viewer->windowTitle(), viewer->FileName(), viewer->Text()};
        });
        start();
        return seen;
    }

private Q_SLOTS:
    void initTestCase() { IsolateConfiguration(); }

    void init() {
        Fixture = std::make_unique<TFixture>();
        Fixture->StoreAccountSettings();
        Fixture->CreateCore();
        Fixture->SetData({{QStringLiteral("P-002"), QStringLiteral("B-1"), 2.0},
                          {QStringLiteral("P-001"), QStringLiteral("B-1"), 5.0}});
        Form = std::make_unique<TFrmORV>();
        Form->show();
        QVERIFY(QTest::qWaitForWindowExposed(Form.get()));
        Find<QPushButton>("btnPodaniaNacitat")->click();
        ShowTab("tsPisomnosti");
        Find<QPushButton>("btnPisomnostiNacitat")->click();
        ShowTab("tsPodania");
        QCOMPARE(Find<QTableWidget>("lvPodania")->rowCount(), 2);
        QCOMPARE(Find<QTableWidget>("lvPisomnosti")->rowCount(), 2);
    }

    void cleanup() {
        Form.reset();
        Fixture.reset();
    }

    void disabledWithoutSelection() {
        QVERIFY(!Find<QAction>("ActZobrazitXML")->isEnabled());
        const auto seen = Show([this] { Form->ActZobrazitXMLExecute(); });
        QVERIFY(!seen);
        QCOMPARE(Fixture->Requests(QStringLiteral("GetPodanie")), 0);
    }

    void showsASubmission() {
        Find<QTableWidget>("lvPodania")->selectRow(1);
        const auto seen = Show([this] { Find<QAction>("ActZobrazitXML")->trigger(); });
        QVERIFY(seen);
        QCOMPARE(seen->Caption, QStringLiteral("Podanie P-001"));
        QCOMPARE(seen->FileName, QStringLiteral("P-001"));
        QVERIFY2(seen->Text.startsWith(Declaration + QStringLiteral("<EPH")),
                 qPrintable(seen->Text));
        QVERIFY(seen->Text.contains(QStringLiteral("<EPHID>P-001</EPHID>")));
        QVERIFY(seen->Text.contains(QStringLiteral("žluťoučký kôň")));
        // One declaration only: the core's content carries none.
        QCOMPARE(seen->Text.count(QStringLiteral("<?xml")), 1);
        QVERIFY(!seen->Text.contains(QRegularExpression(QStringLiteral("[^\\r]\\n"))));
        QCOMPARE(Fixture->Requests(QStringLiteral("GetPodanie")), 1);
    }

    void showsADocumentAndMarksItReadEachTime() {
        ShowTab("tsPisomnosti");
        Find<QTableWidget>("lvPisomnosti")->selectRow(0);
        const auto first = Show([this] { Find<QAction>("ActZobrazitXML")->trigger(); });
        QVERIFY(first);
        QCOMPARE(first->Caption, QStringLiteral("Písomnosť D-P-002"));
        QCOMPARE(first->FileName, QStringLiteral("D-P-002"));
        QVERIFY(first->Text.startsWith(Declaration));
        QVERIFY(Fixture->PisomnostPrecitana(QStringLiteral("D-P-002")));

        // Unread again on the portal's side; the second opening marks it anew.
        Fixture->SetData({{QStringLiteral("P-002"), QStringLiteral("B-1"), 2.0},
                          {QStringLiteral("P-001"), QStringLiteral("B-1"), 5.0}});
        QVERIFY(!Fixture->PisomnostPrecitana(QStringLiteral("D-P-002")));
        const auto second = Show([this] { Find<QAction>("ActZobrazitXML")->trigger(); });
        QVERIFY(second);
        QVERIFY(Fixture->PisomnostPrecitana(QStringLiteral("D-P-002")));
        QCOMPARE(Fixture->Requests(QStringLiteral("GetSuborPisomnosti")), 2);
    }

    void doubleClickOnARowShowsIt_data() {
        QTest::addColumn<QString>("tab");
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("caption");
        QTest::newRow("Podania") << QStringLiteral("tsPodania") << QStringLiteral("lvPodania")
                                 << QStringLiteral("Podanie P-002");
        QTest::newRow("Písomnosti")
            << QStringLiteral("tsPisomnosti") << QStringLiteral("lvPisomnosti")
            << QStringLiteral("Písomnosť D-P-002");
    }

    void doubleClickOnARowShowsIt() {
        QFETCH(QString, tab);
        QFETCH(QString, list);
        QFETCH(QString, caption);
        ShowTab(tab.toLatin1().constData());
        auto* view = Find<QTableWidget>(list.toLatin1().constData());
        const QRect cell = view->visualItemRect(view->item(0, 1));
        // As a real double click arrives: a click, then the double click.
        const auto seen = Show([&] {
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
            QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
        });
        QVERIFY(seen);
        QCOMPARE(seen->Caption, caption);
    }

    void doubleClickOnEmptySpaceDoesNothing() {
        auto* view = Find<QTableWidget>("lvPodania");
        const QPoint below(10, view->viewport()->height() - 5);
        QVERIFY(!view->indexAt(below).isValid());
        const auto seen = Show([&] {
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, below);
            QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, below);
        });
        QVERIFY(!seen);
        QCOMPARE(Fixture->Requests(QStringLiteral("GetPodanie")), 0);
        QVERIFY(TDialogs::Shown().isEmpty());
    }

    void failedFetchOpensNoViewer() {
        auto* view = Find<QTableWidget>("lvPodania");
        view->selectRow(0);
        Sim::TSimScriptedAnswer fault;
        fault.FaultString = "Podanie sa nenašlo";
        Fixture->Server().Faults().Push("GetPodanie", fault);
        const auto seen = Show([this] { Find<QAction>("ActZobrazitXML")->trigger(); });
        QVERIFY(!seen);
        QCOMPARE(ShownErrors(), QStringList{QStringLiteral("Podanie sa nenašlo.")});
        QVERIFY(!TDialogs::Shown().first().BusyCursor);
        QCOMPARE(view->selectedItems().first()->row(), 0);
        QCOMPARE(view->rowCount(), 2);
        QVERIFY(Form->findChildren<TFrmORVInfo*>().isEmpty());
    }

    void unknownItemIsReportedInThePortalsWords() {
        ShowTab("tsPisomnosti");
        auto* view = Find<QTableWidget>("lvPisomnosti");
        view->item(0, 0)->setText(QStringLiteral("D-NEZNAME"));
        view->selectRow(0);
        const auto seen = Show([this] { Find<QAction>("ActZobrazitXML")->trigger(); });
        QVERIFY(!seen);
        QCOMPARE(ShownErrors().size(), 1);
        QVERIFY2(
            ShownErrors().first().startsWith(QStringLiteral("Chyba pri komunikácii s ORV:\r\n")),
            qPrintable(ShownErrors().first()));
    }
};

QTEST_MAIN(TestZobrazitObsah)
#include "tst_zobrazitobsah.moc"
