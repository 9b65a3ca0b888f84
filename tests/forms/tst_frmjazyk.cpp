// The language dialog: the codes it reads and writes under the locale
// override key, and when it tells about the restart.

#include "DFrmJazyk.h"
#include "DFrmORV.h"
#include "UFormsTestKit.h"
#include "ULanguage.h"

#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <memory>

using namespace FormsTest;

namespace {

const QString Restart = QStringLiteral("Zmena jazyka sa prejaví až po reštarte aplikácie!\r\n"
                                       "Restart application to language change take effect!");

TRegistryPath LocalesPath() {
    TRegistryPath path;
    for (const QString& level : LocaleOverrideKey().split(QLatin1Char('\\')))
        path.push_back(level.toStdU16String());
    return path;
}

} // namespace

class TestFrmJazyk : public QObject {
    Q_OBJECT

    std::unique_ptr<TFixture> Fix;
    std::unique_ptr<TFrmJazyk> Dialog;

    QRadioButton* Radio(const char* name) {
        return Dialog->findChild<QRadioButton*>(QString::fromLatin1(name));
    }
    QPushButton* Button(const char* name) {
        return Dialog->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    void Open() {
        Dialog = std::make_unique<TFrmJazyk>(nullptr);
        Dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(Dialog.get()));
    }

private Q_SLOTS:
    void initTestCase() { IsolateConfiguration(); }
    void init() { Fix = std::make_unique<TFixture>(); }
    void cleanup() {
        Dialog.reset();
        Fix.reset();
    }

    void layout() {
        Open();
        QCOMPARE(Dialog->windowTitle(), QStringLiteral("Výber jazyka"));
        QCOMPARE(Dialog->size(), QSize(283, 148));
        QCOMPARE(Radio("rbSlovensky")->text(), QStringLiteral("slovenský"));
        QCOMPARE(Radio("rbAnglicky")->text(), QStringLiteral("anglický (English)"));
        QCOMPARE(Button("btnUlozit")->text(), QStringLiteral("Uložiť"));
        QCOMPARE(Button("btnZrusit")->text(), QStringLiteral("Storno"));
        QVERIFY(Button("btnUlozit")->x() < Button("btnZrusit")->x());
        for (const char* name : {"btnUlozit", "btnZrusit"}) {
            QVERIFY(!Button(name)->isDefault());
            QVERIFY(!Button(name)->autoDefault());
        }
        Radio("rbAnglicky")->setChecked(true);
        QVERIFY(!Radio("rbSlovensky")->isChecked());
    }

    void codes_data() {
        QTest::addColumn<QString>("stored"); // "<none>": no value at all
        QTest::addColumn<bool>("englishShown");
        QTest::addColumn<bool>("chooseEnglish");
        QTest::addColumn<QString>("written");
        QTest::addColumn<bool>("message");
        QTest::newRow("nothing, slovak") << "<none>" << false << false << "sk-SK" << false;
        QTest::newRow("nothing, english") << "<none>" << false << true << "ENG" << true;
        QTest::newRow("empty, slovak") << "" << false << false << "sk-SK" << false;
        QTest::newRow("ENG, slovak") << "ENG" << true << false << "sk-SK" << true;
        QTest::newRow("ENG, english again") << "ENG" << true << true << "ENG" << false;
        QTest::newRow("sk-SK, english") << "sk-SK" << false << true << "ENG" << true;
        QTest::newRow("by hand, slovak") << "SK" << false << false << "sk-SK" << true;
        QTest::newRow("letter case counts") << "eng" << false << true << "ENG" << true;
    }

    void codes() {
        QFETCH(QString, stored);
        QFETCH(bool, englishShown);
        QFETCH(bool, chooseEnglish);
        QFETCH(QString, written);
        QFETCH(bool, message);
        if (stored != QStringLiteral("<none>"))
            WriteLanguageCode(stored);
        Open();
        QCOMPARE(Radio("rbAnglicky")->isChecked(), englishShown);
        QCOMPARE(Radio("rbSlovensky")->isChecked(), !englishShown);
        Radio(chooseEnglish ? "rbAnglicky" : "rbSlovensky")->setChecked(true);
        Button("btnUlozit")->click();
        QCOMPARE(Dialog->result(), int(QDialog::Accepted));
        QCOMPARE(ReadLanguageCode(), written);
        const QList<TDialogs::TShown> shown = TDialogs::Shown();
        QCOMPARE(shown.size(), message ? 1 : 0);
        if (message) {
            QCOMPARE(shown.first().Kind, TDialogs::TKind::Information);
            QCOMPARE(shown.first().Title, QStringLiteral("Information"));
            QCOMPARE(shown.first().Text, Restart);
        }
    }

    void valueIsNamedByTheProgramsPath() {
        WriteLanguageCode(QStringLiteral("ENG"));
        const auto value = Fix->FileRegistryRef().ReadUserValue(
            LocalesPath(),
            QDir::toNativeSeparators(QCoreApplication::applicationFilePath()).toStdU16String());
        QVERIFY(value);
        QCOMPARE(value->Type, std::uint32_t(RegSz));
        QCOMPARE(QString::fromStdU16String(RegistryDataString(value->Data)), QStringLiteral("ENG"));
        // Another program's entry in the shared key is not ours.
        QVERIFY(!Fix->FileRegistryRef().ReadUserValue(LocalesPath(), u"/opt/iny/program"));
    }

    void cancelWritesNothing() {
        Open();
        Radio("rbAnglicky")->setChecked(true);
        Button("btnZrusit")->click();
        QCOMPARE(Dialog->result(), int(QDialog::Rejected));
        QCOMPARE(ReadLanguageCode(), QString());
        QVERIFY(TDialogs::Shown().isEmpty());
    }

    void escapeCancels() {
        Open();
        Radio("rbAnglicky")->setChecked(true);
        QTest::keyClick(Dialog.get(), Qt::Key_Escape);
        QCOMPARE(Dialog->result(), int(QDialog::Rejected));
        QCOMPARE(ReadLanguageCode(), QString());
    }

    void valueOfAnotherTypeIsReportedAndTheDialogStillOpens() {
        Fix->FileRegistryRef().WriteUserValue(
            LocalesPath(),
            QDir::toNativeSeparators(QCoreApplication::applicationFilePath()).toStdU16String(),
            TRegistryValue{RegDword, {1, 0, 0, 0}});
        Open();
        const QString name = QDir::toNativeSeparators(QCoreApplication::applicationFilePath());
        // Ends in "'", below ".": no full stop is added.
        QCOMPARE(ShownErrors(),
                 QStringList{QStringLiteral("Invalid data type for '%1'").arg(name)});
        QVERIFY(Dialog->isVisible());
        QVERIFY(Radio("rbSlovensky")->isChecked());
        QVERIFY(Dialog->CurrentCode().isEmpty());
        TDialogs::ClearShown();
        Button("btnUlozit")->click();
        QCOMPARE(ReadLanguageCode(), QStringLiteral("sk-SK"));
        QCOMPARE(TDialogs::Shown().size(), 1);
        QCOMPARE(TDialogs::Shown().first().Text, Restart);
    }

    void damagedStoreIsReportedWithItsLineAndKept() {
        const QString path = Fix->TempPath(QStringLiteral("HKEY_CURRENT_USER.reg"));
        const QByteArray damaged = "[HKEY_CURRENT_USER\\SOFTWARE]\r\n";
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(damaged), damaged.size());
        }
        const QString error =
            QStringLiteral("Súbor nastavení \"%1\" je poškodený, riadok 1: chýba úvodný riadok "
                           "\"Windows Registry Editor Version 5.00\"")
                .arg(path);
        Open();
        QCOMPARE(ShownErrors(), QStringList{error});
        QVERIFY(Radio("rbSlovensky")->isChecked());
        TDialogs::ClearShown();
        Button("btnUlozit")->click();
        QCOMPARE(ShownErrors(), QStringList{error});
        QVERIFY(Dialog->isVisible());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), damaged);
    }

    void runningProgramKeepsItsLanguage() {
        Fix->StoreAccountSettings();
        Fix->CreateCore();
        TFrmORV form;
        Open();
        Radio("rbAnglicky")->setChecked(true);
        Button("btnUlozit")->click();
        QCOMPARE(form.windowTitle(), QStringLiteral("Komunikácia s ORV"));
        TFrmORV later;
        QCOMPARE(later.windowTitle(), QStringLiteral("Komunikácia s ORV"));
    }
};

QTEST_MAIN(TestFrmJazyk)
#include "tst_frmjazyk.moc"
