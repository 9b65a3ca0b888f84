// The EPH submission dialog: the remembered pair, the file chooser and the
// identifier it suggests, the version choice, and what a failed, refused or
// cancelled attempt leaves behind, against the simulator.

#include "DFrmORVPodajEPH.h"
#include "UDMORV.h"
#include "UFormsTestKit.h"
#include "UTestComponents.h"
#include "UWinRegistry.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>
#include <optional>

using namespace FormsTest;

namespace {

const QString EPH = QStringLiteral("EPH");
const QString Subor = QStringLiteral("Subor");
const QString EPHId = QStringLiteral("EPHId");
const QString Unset = QStringLiteral("<unset>");

QString Stored(const QString& name) {
    return ReadSetting(EPH, name, Unset);
}

QStringList ShownOfKind(TDialogs::TKind kind) {
    QStringList texts;
    for (const TDialogs::TShown& shown : TDialogs::Shown()) {
        if (shown.Kind == kind)
            texts << shown.Title + QLatin1Char('|') + shown.Text;
    }
    return texts;
}

} // namespace

class TestFrmORVPodajEPH : public QObject {
    Q_OBJECT

    std::unique_ptr<TFixture> Fix;
    std::optional<TTestComponents> Components;
    std::unique_ptr<TFrmORVPodajEPH> Dialog;

    template <class T> T* Find(const char* name) { return FindChild<T>(Dialog.get(), name); }
    QLineEdit* Edit(const char* name) { return Find<QLineEdit>(name); }
    void Click(const char* name) { QTest::mouseClick(Find<QPushButton>(name), Qt::LeftButton); }

    void Open() {
        Dialog = std::make_unique<TFrmORVPodajEPH>(nullptr);
        Dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(Dialog.get()));
    }
    // The signer's components as recording stand-ins whose final document
    // the simulator accepts.
    void RegisterComponents() {
        Components.emplace();
        TComponentScript& script = Components->Script;
        script.Answers[QStringLiteral("SignedDocument")].Text =
            QStringLiteral("<ds:Signature Id=\"s\">podpísané</ds:Signature>");
        script.Answers[QStringLiteral("CreateSubmission")].Text = QStringLiteral("<Data/>");
        script.Answers[QStringLiteral("ComposeSubmission")].Text =
            QStringLiteral("<Podanie>Ďurica</Podanie>");
    }
    QString WriteEph(const QString& name) {
        const QString path = Fix->TempPath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write("<EPH xmlns=\"urn:x\"><Meno>Ďurica</Meno></EPH>\r\n") < 0)
            qFatal("cannot write the EPH file");
        return path;
    }
    void RememberPair(const QString& subor, const QString& ephId) {
        WriteSetting(EPH, Subor, subor);
        WriteSetting(EPH, EPHId, ephId);
    }

private Q_SLOTS:
    void initTestCase() { IsolateConfiguration(); }
    void init() {
        Fix = std::make_unique<TFixture>();
        Fix->StoreAccountSettings();
        Fix->CreateCore();
    }
    void cleanup() {
        Dialog.reset();
        Components.reset();
        Fix.reset();
    }

    void firstUseShowsEmptyEdits() {
        Open();
        QCOMPARE(Edit("editSubor")->text(), QString());
        QCOMPARE(Edit("editEPHId")->text(), QString());
    }

    void rememberedPairShownOnOpen() {
        RememberPair(QStringLiteral("C:\\Podania\\EPH2011.01.xml"), QStringLiteral("Hárok 7"));
        Open();
        QCOMPARE(Edit("editSubor")->text(), QStringLiteral("C:\\Podania\\EPH2011.01.xml"));
        QCOMPARE(Edit("editEPHId")->text(), QStringLiteral("Hárok 7"));
    }

    void chosenFileSetsPathAndIdentifier_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("ephId");
        QTest::newRow("cut at the first dot")
            << QStringLiteral("C:\\Podania\\EPH2011.01.xml") << QStringLiteral("EPH2011");
        QTest::newRow("no dot: the whole name")
            << QStringLiteral("D:\\data\\harok") << QStringLiteral("harok");
        QTest::newRow("dotted folder")
            << QStringLiteral("D:\\data.2011\\harok") << QStringLiteral("harok");
        QTest::newRow("forward slashes")
            << QStringLiteral("/home/anna/podania.v2/EPH-5.xml") << QStringLiteral("EPH-5");
        QTest::newRow("name starting with a dot")
            << QStringLiteral("C:\\Podania\\.xml") << QString();
    }
    void chosenFileSetsPathAndIdentifier() {
        QFETCH(QString, chosen);
        QFETCH(QString, ephId);
        RememberPair(QStringLiteral("C:\\stary.xml"), QStringLiteral("stary"));
        Open();
        Edit("editEPHId")->setText(QStringLiteral("ručne"));
        TDialogs::setNextFileName(chosen);
        Click("btnSubor");

        QCOMPARE(Edit("editSubor")->text(), chosen);
        QCOMPARE(Edit("editEPHId")->text(), ephId);
        const QList<TDialogs::TFileAsked> asked = TDialogs::FileDialogs();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked.at(0).Title, QStringLiteral("Vyberte súbor EPH"));
        QCOMPARE(asked.at(0).Preset, QStringLiteral("C:\\stary.xml"));
        QCOMPARE(asked.at(0).Filter, QStringLiteral("Súbory XML (*.XML)"));
        QCOMPARE(asked.at(0).DefaultSuffix, QStringLiteral("XML"));
        // Choosing is not submitting.
        QCOMPARE(Stored(Subor), QStringLiteral("C:\\stary.xml"));
        QCOMPARE(Fix->Requests(QStringLiteral("PodajPodanie")), 0);
    }

    void cancelledChooserKeepsBothEdits() {
        Open();
        Edit("editSubor")->setText(QStringLiteral("C:\\a\\b.xml"));
        Edit("editEPHId")->setText(QStringLiteral("ručne"));
        TDialogs::setNextFileName(QString());
        Click("btnSubor");
        QCOMPARE(TDialogs::FileDialogs().size(), 1);
        QCOMPARE(Edit("editSubor")->text(), QStringLiteral("C:\\a\\b.xml"));
        QCOMPARE(Edit("editEPHId")->text(), QStringLiteral("ručne"));
    }

    void cancelStoresNothing_data() {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Storno") << false;
        QTest::newRow("Esc") << true;
    }
    void cancelStoresNothing() {
        QFETCH(bool, escape);
        RegisterComponents();
        RememberPair(QStringLiteral("old.xml"), QStringLiteral("old"));
        Open();
        Edit("editSubor")->setText(WriteEph(QStringLiteral("novy.xml")));
        Edit("editEPHId")->setText(QStringLiteral("novy"));
        if (escape)
            QTest::keyClick(Edit("editEPHId"), Qt::Key_Escape);
        else
            Click("BitBtnCancel");
        QVERIFY(!Dialog->isVisible());
        QCOMPARE(Dialog->result(), int(QDialog::Rejected));
        QCOMPARE(Stored(Subor), QStringLiteral("old.xml"));
        QCOMPARE(Stored(EPHId), QStringLiteral("old"));
        QCOMPARE(Fix->Requests(QStringLiteral("PodajPodanie")), 0);
    }

    void enterDoesNotSubmit() {
        RegisterComponents();
        Open();
        Edit("editSubor")->setText(WriteEph(QStringLiteral("novy.xml")));
        Edit("editEPHId")->setText(QStringLiteral("novy"));
        QTest::keyClick(Edit("editEPHId"), Qt::Key_Return);
        QVERIFY(Dialog->isVisible());
        QCOMPARE(Fix->Requests(QStringLiteral("PodajPodanie")), 0);
        QCOMPARE(Stored(Subor), Unset);
    }

    void otherVersionSubmitsNothing_data() {
        QTest::addColumn<QString>("verzia");
        QTest::newRow("empty") << QString();
        QTest::newRow("unknown") << QStringLiteral("1.0");
        QTest::newRow("longer") << QStringLiteral("0.10");
        QTest::newRow("padded") << QStringLiteral(" 2.0");
        QTest::newRow("comma") << QStringLiteral("3,0");
    }
    void otherVersionSubmitsNothing() {
        QFETCH(QString, verzia);
        RegisterComponents();
        RememberPair(QStringLiteral("old.xml"), QStringLiteral("old"));
        DMORV().VerziaPodaja = verzia;
        Open();
        Edit("editSubor")->setText(WriteEph(QStringLiteral("novy.xml")));
        Edit("editEPHId")->setText(QStringLiteral("novy"));
        Click("BitBtnOK");

        QCOMPARE(ShownOfKind(TDialogs::TKind::Error),
                 QStringList{QStringLiteral("Error|Nie je zvolená platná verzia EPH!")});
        QCOMPARE(ShownErrors(), QStringList());
        QVERIFY(Dialog->isVisible());
        QCOMPARE(Components->Log.Created, 0);
        QCOMPARE(Fix->Requests(QStringLiteral("PodajPodanie")), 0);
        QCOMPARE(Stored(Subor), QStringLiteral("old.xml"));
        QCOMPARE(Stored(EPHId), QStringLiteral("old"));
    }

    void failureKeepsDialogOpenAndStoresNothing_data() {
        QTest::addColumn<bool>("components");
        QTest::addColumn<bool>("fileExists");
        QTest::addColumn<bool>("wrongHeslo");
        QTest::addColumn<QString>("messageStart");
        QTest::newRow("signer not registered")
            << false << true << false << QStringLiteral("Class not registered");
        QTest::newRow("missing file")
            << true << false << false << QStringLiteral("Cannot open file");
        QTest::newRow("portal refuses")
            << true << true << true << QStringLiteral("Chyba pri komunikácii s OVR: ");
    }
    void failureKeepsDialogOpenAndStoresNothing() {
        QFETCH(bool, components);
        QFETCH(bool, fileExists);
        QFETCH(bool, wrongHeslo);
        QFETCH(QString, messageStart);
        if (components)
            RegisterComponents();
        if (wrongHeslo)
            DMORV().Heslo = TDMORV::HashHeslo(QStringLiteral("iné heslo"));
        DMORV().VerziaPodaja = QStringLiteral("0.1");
        RememberPair(QStringLiteral("old.xml"), QStringLiteral("old"));
        Open();
        const QString subor = fileExists ? WriteEph(QStringLiteral("novy.xml"))
                                         : Fix->TempPath(QStringLiteral("nie.xml"));
        Edit("editSubor")->setText(subor);
        Edit("editEPHId")->setText(QStringLiteral("novy"));
        Click("BitBtnOK");

        const QStringList errors = ShownErrors();
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.at(0).startsWith(messageStart), qPrintable(errors.at(0)));
        QVERIFY(Dialog->isVisible());
        QCOMPARE(Edit("editSubor")->text(), subor);
        QCOMPARE(Edit("editEPHId")->text(), QStringLiteral("novy"));
        QCOMPARE(Stored(Subor), QStringLiteral("old.xml"));
        QCOMPARE(Stored(EPHId), QStringLiteral("old"));
    }

    void successStoresPairAndCloses_data() {
        QTest::addColumn<QString>("verzia");
        QTest::addColumn<QString>("typ");
        QTest::newRow("0.1") << QStringLiteral("0.1") << QStringLiteral("KT_PODAJ_v01");
        QTest::newRow("2.0") << QStringLiteral("2.0") << QStringLiteral("KT_PODAJ_v02");
        QTest::newRow("3.0") << QStringLiteral("3.0") << QStringLiteral("KT_PODAJ_v03");
    }
    void successStoresPairAndCloses() {
        QFETCH(QString, verzia);
        QFETCH(QString, typ);
        RegisterComponents();
        DMORV().VerziaPodaja = verzia;
        RememberPair(QStringLiteral("old.xml"), QStringLiteral("old"));
        Open();
        const QString subor = WriteEph(QStringLiteral("EPH2011.01.xml"));
        TDialogs::setNextFileName(subor);
        Click("btnSubor");
        QCOMPARE(Edit("editEPHId")->text(), QStringLiteral("EPH2011"));
        Edit("editEPHId")->setText(QStringLiteral("Hárok 1"));
        Click("BitBtnOK");

        QCOMPARE(ShownErrors(), QStringList());
        QVERIFY(!Dialog->isVisible());
        QCOMPARE(Dialog->result(), int(QDialog::Accepted));
        QCOMPARE(Fix->Requests(QStringLiteral("PodajPodanie")), 1);
        // The version decides what the signer is told to package.
        QVERIFY2(Components->Log.Calls.filter(QStringLiteral("Mes.CreateSubmission("))
                     .join(u' ')
                     .contains(typ),
                 qPrintable(Components->Log.Calls.join(u'\n')));
        QVERIFY(Components->Log.Calls.filter(QStringLiteral("Hárok 1")).size() > 0);
        QCOMPARE(Stored(Subor), subor);
        QCOMPARE(Stored(EPHId), QStringLiteral("Hárok 1"));

        // The next opening offers the same pair.
        Open();
        QCOMPARE(Edit("editSubor")->text(), subor);
        QCOMPARE(Edit("editEPHId")->text(), QStringLiteral("Hárok 1"));
    }

    void emptyEditsGoToTheSubmission() {
        // The dialog checks nothing itself; the submission reports the
        // missing file.
        RegisterComponents();
        DMORV().VerziaPodaja = QStringLiteral("2.0");
        Open();
        Click("BitBtnOK");
        QCOMPARE(ShownErrors().size(), 1);
        QCOMPARE(ShownOfKind(TDialogs::TKind::Error), QStringList());
        QVERIFY(Dialog->isVisible());
        QCOMPARE(Stored(Subor), Unset);
    }
};

QTEST_MAIN(TestFrmORVPodajEPH)
#include "tst_frmorvpodajeph.moc"
