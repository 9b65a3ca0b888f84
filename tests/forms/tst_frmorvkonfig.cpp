// The configuration dialog: loading, verification against the typed URL,
// storing, and replacing the application's core.

#include "DFrmORVKonfig.h"
#include "UDMORV.h"
#include "UFormsTestKit.h"
#include "USignaturePolicy.h"
#include "USimCrypto.h"
#include "UWinRegistry.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace FormsTest;

namespace {

const QString Orv = QStringLiteral("ORV");
const QString PolicySha256 = QStringLiteral("urn:oid:1.3.158.48207315.0.0.1.10.4.0.11.1");

QByteArray Fixture(const char* name) {
    QFile file(QStringLiteral(ORV_TEST_DATA_DIR "/forms/") + QString::fromLatin1(name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", name);
    return file.readAll();
}

QString Stored(const char* name) {
    return ReadSetting(QStringLiteral("ORV"), QString::fromLatin1(name), QStringLiteral("<none>"));
}

// Passes everything to the fixture's registry, but can be told to fail
// writing one value, or to fail every read once something has been written.
class TFaultyRegistry : public IRegistry {
public:
    explicit TFaultyRegistry(IRegistry& inner)
        : Inner(inner) {}
    std::u16string FailWriteOf;
    bool FailReadsAfterWrite = false;

    std::optional<TRegistryValue> ReadUserValue(const TRegistryPath& path,
                                                const std::u16string& name) override {
        if (FailReadsAfterWrite && Written)
            throw TRegistryError(TRegistryError::TKind::Unreadable, "HKEY_CURRENT_USER.reg", 0,
                                 TRegistryFault::None, "disk error");
        return Inner.ReadUserValue(path, name);
    }
    void WriteUserValue(const TRegistryPath& path, const std::u16string& name,
                        const TRegistryValue& value) override {
        if (name == FailWriteOf)
            throw TRegistryError(TRegistryError::TKind::WriteFailed, "HKEY_CURRENT_USER.reg", 0,
                                 TRegistryFault::None, "disk full");
        Written = true;
        Inner.WriteUserValue(path, name, value);
    }
    bool MachineKeyExists(const TRegistryPath& path) override {
        return Inner.MachineKeyExists(path);
    }
    std::vector<std::u16string> MachineSubKeys(const TRegistryPath& path) override {
        return Inner.MachineSubKeys(path);
    }
    std::optional<TRegistryValue> ReadMachineValue(const TRegistryPath& path,
                                                   const std::u16string& name) override {
        return Inner.ReadMachineValue(path, name);
    }

private:
    IRegistry& Inner;
    bool Written = false;
};

} // namespace

class TestFrmORVKonfig : public QObject {
    Q_OBJECT

    std::unique_ptr<TFixture> Fix;
    std::unique_ptr<TFrmORVKonfig> Dialog;

    template <class T> T* Find(const char* name) { return FindChild<T>(Dialog.get(), name); }
    QLineEdit* Edit(const char* name) { return Find<QLineEdit>(name); }
    QComboBox* Combo(const char* name) { return Find<QComboBox>(name); }
    void Open() {
        Dialog = std::make_unique<TFrmORVKonfig>(nullptr);
        Dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(Dialog.get()));
    }
    void PressOk() { Find<QPushButton>("BitBtnOK")->click(); }
    // Nothing stored and the application still on its first core.
    void ExpectUnchanged(const TDMORV* core, const QString& url) {
        QCOMPARE(&DMORV(), core);
        QCOMPARE(DMORV().Url, url);
        QCOMPARE(Stored("Url"), url);
        QCOMPARE(Stored("SignaturePolicy"), QStringLiteral("<none>"));
        QVERIFY(Dialog->isVisible());
        QCOMPARE(Dialog->result(), 0);
    }

private Q_SLOTS:
    void initTestCase() { IsolateConfiguration(); }

    void init() {
        Fix = std::make_unique<TFixture>();
        Fix->SetMachineHive(Fixture("signer-policies.reg"));
        Fix->StoreAccountSettings();
        Fix->CreateCore();
    }

    void cleanup() {
        Dialog.reset();
        Fix.reset();
    }

    void opensWithTheStoredSettings() {
        WriteSetting(Orv, QStringLiteral("SignaturePolicy"), QStringLiteral("URN:OID:TEST.SHA1"));
        WriteSetting(Orv, QStringLiteral("VerziaPodaja"), QStringLiteral("2.0"));
        Fix->CreateCore();
        Open();
        QCOMPARE(Dialog->windowTitle(), QStringLiteral("Konfigurácia komunikácie s ORV"));
        QCOMPARE(Dialog->size(), QSize(562, 249));
        QCOMPARE(Edit("editUrl")->text(), Fix->Url());
        QCOMPARE(Edit("editSubjekt")->text(), QString::fromUtf8(Subjekt));
        QCOMPARE(Edit("editOsoba")->text(), QString::fromUtf8(Osoba));
        QVERIFY(Edit("editHeslo")->text().isEmpty());
        QVERIFY(Edit("editHeslo2")->text().isEmpty());
        QCOMPARE(Edit("editHeslo")->echoMode(), QLineEdit::Password);
        QCOMPARE(Edit("editHeslo2")->echoMode(), QLineEdit::Password);
        QStringList policies;
        for (int i = 0; i < Combo("cbxPolitika")->count(); ++i)
            policies.append(Combo("cbxPolitika")->itemText(i));
        QCOMPARE(policies, (QStringList{PolicySha256, QStringLiteral("urn:oid:test.sha1"),
                                        QStringLiteral("urn:oid:test.bez-mriezky"),
                                        QStringLiteral("urn:oid:test.bez-hodnoty")}));
        QCOMPARE(Combo("cbxPolitika")->currentText(), QStringLiteral("urn:oid:test.sha1"));
        QVERIFY(!Combo("cbxPolitika")->isEditable());
        QCOMPARE(Combo("cbxVerzia")->count(), 3);
        QCOMPARE(Combo("cbxVerzia")->itemText(0), QStringLiteral("verzia 0.1, KT_PODAJ_v01"));
        QCOMPARE(Combo("cbxVerzia")->itemText(1), QStringLiteral("verzia 2.0, KT_PODAJ_v02"));
        QCOMPARE(Combo("cbxVerzia")->itemText(2), QStringLiteral("verzia 3.0, KT_PODAJ_v03"));
        QCOMPARE(Combo("cbxVerzia")->currentIndex(), 1);
        QVERIFY(!Find<QPushButton>("BitBtnOK")->isDefault());
        QVERIFY(!Find<QPushButton>("BitBtnOK")->autoDefault());
        QVERIFY(!Find<QPushButton>("BitBtnCancel")->autoDefault());
        QVERIFY(TDialogs::Shown().isEmpty());
    }

    void tabOrder() {
        Open();
        QStringList order;
        QWidget* widget = Edit("editUrl");
        do {
            if (widget->focusPolicy() & Qt::TabFocus)
                order.append(widget->objectName());
            widget = widget->nextInFocusChain();
        } while (widget != Edit("editUrl") && order.size() < 20);
        QCOMPARE(order, (QStringList{QStringLiteral("editUrl"), QStringLiteral("editSubjekt"),
                                     QStringLiteral("editOsoba"), QStringLiteral("editHeslo"),
                                     QStringLiteral("editHeslo2"), QStringLiteral("cbxPolitika"),
                                     QStringLiteral("BitBtnCancel"), QStringLiteral("BitBtnOK"),
                                     QStringLiteral("cbxVerzia")}));
    }

    void unknownPolicyAndVersionSelectNothing() {
        WriteSetting(Orv, QStringLiteral("SignaturePolicy"), QStringLiteral("urn:oid:iná"));
        WriteSetting(Orv, QStringLiteral("VerziaPodaja"), QStringLiteral("9.9"));
        Fix->CreateCore();
        Open();
        QCOMPARE(Combo("cbxPolitika")->currentIndex(), -1);
        QCOMPARE(Combo("cbxVerzia")->currentIndex(), -1);
        PressOk();
        QCOMPARE(Dialog->result(), int(QDialog::Accepted));
        QCOMPARE(Stored("SignaturePolicy"), QString());
        QCOMPARE(Stored("SignatureAlgorithm"), QStringLiteral("sha256"));
        QCOMPARE(Stored("VerziaPodaja"), QStringLiteral("0.1"));
    }

    void noSignerInstalledGivesAnEmptyList() {
        Fix->SetMachineHive(QByteArray());
        Open();
        QCOMPARE(Combo("cbxPolitika")->count(), 0);
        QVERIFY(TDialogs::Shown().isEmpty());
        PressOk();
        QCOMPARE(Stored("SignaturePolicy"), QString());
        QCOMPARE(Stored("SignatureAlgorithm"), QStringLiteral("sha256"));
    }

    void policyGivesItsAlgorithm_data() {
        QTest::addColumn<QString>("policy");
        QTest::addColumn<QString>("algorithm");
        QTest::newRow("xmlenc sha256") << PolicySha256 << QStringLiteral("sha256");
        QTest::newRow("xmldsig sha1")
            << QStringLiteral("urn:oid:test.sha1") << QStringLiteral("sha1");
        QTest::newRow("no #: the whole value")
            << QStringLiteral("urn:oid:test.bez-mriezky") << QStringLiteral("sha512");
        QTest::newRow("no value") << QStringLiteral("urn:oid:test.bez-hodnoty")
                                  << QStringLiteral("sha256");
        QTest::newRow("not installed") << QStringLiteral("urn:oid:nie") << QStringLiteral("sha256");
    }

    void policyGivesItsAlgorithm() {
        QFETCH(QString, policy);
        QFETCH(QString, algorithm);
        QCOMPARE(PolicyAlgorithm(policy), algorithm);
        Open();
        const int index = Combo("cbxPolitika")->findText(policy);
        if (index < 0)
            return;
        Combo("cbxPolitika")->setCurrentIndex(index);
        Combo("cbxVerzia")->setCurrentIndex(2);
        PressOk();
        QCOMPARE(Dialog->result(), int(QDialog::Accepted));
        QCOMPARE(Stored("SignaturePolicy"), policy);
        QCOMPARE(Stored("SignatureAlgorithm"), algorithm);
        QCOMPARE(Stored("VerziaPodaja"), QStringLiteral("3.0"));
        QCOMPARE(DMORV().SignatureAlgorithm, algorithm);
    }

    void mismatchedPasswords_data() {
        QTest::addColumn<QString>("heslo");
        QTest::addColumn<QString>("potvrdenie");
        QTest::newRow("only the first") << QStringLiteral("tajne") << QString();
        QTest::newRow("only the second") << QString() << QStringLiteral("tajne");
        QTest::newRow("letter case") << QStringLiteral("tajne") << QStringLiteral("Tajne");
        QTest::newRow("trailing space") << QStringLiteral("tajne") << QStringLiteral("tajne ");
    }

    void mismatchedPasswords() {
        QFETCH(QString, heslo);
        QFETCH(QString, potvrdenie);
        const TDMORV* core = &DMORV();
        Open();
        Dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(Dialog.get()));
        Edit("editUrl")->setFocus();
        Edit("editHeslo")->setText(heslo);
        Edit("editHeslo2")->setText(potvrdenie);
        PressOk();
        QCOMPARE(ShownErrors(), QStringList{QStringLiteral("Zadané heslá sa nezhodujú!")});
        QCOMPARE(QApplication::focusWidget(), Edit("editHeslo"));
        QCOMPARE(Fix->Requests(QStringLiteral("CheckLogin")), 0);
        QCOMPARE(Edit("editHeslo")->text(), heslo);
        ExpectUnchanged(core, Fix->Url());
    }

    void urlOfAnotherSchemeIsRefused() {
        const TDMORV* core = &DMORV();
        Open();
        Edit("editUrl")->setText(QStringLiteral("ftp://127.0.0.1/TirsaOrvWeb/PortalService.svc"));
        PressOk();
        QCOMPARE(ShownErrors(),
                 QStringList{QStringLiteral("Invalid url 'ftp://127.0.0.1/TirsaOrvWeb/"
                                            "PortalService.svc' - only supports 'http' and "
                                            "'https' schemes.")});
        QCOMPARE(Fix->Requests(QStringLiteral("CheckLogin")), 0);
        ExpectUnchanged(core, Fix->Url());
    }

    void refusedLoginStoresNothing() {
        const TDMORV* core = &DMORV();
        Open();
        Edit("editHeslo")->setText(QStringLiteral("zlé heslo"));
        Edit("editHeslo2")->setText(QStringLiteral("zlé heslo"));
        PressOk();
        QCOMPARE(ShownErrors().size(), 1);
        QVERIFY2(
            ShownErrors().first().startsWith(QStringLiteral("Chyba pri komunikácii s ORV:\r\n")),
            qPrintable(ShownErrors().first()));
        QCOMPARE(Fix->Requests(QStringLiteral("CheckLogin")), 1);
        QCOMPARE(Stored("Heslo"), TDMORV::HashHeslo(QString::fromUtf8(Heslo)));
        ExpectUnchanged(core, Fix->Url());
    }

    void unreachableUrlKeepsTheOldCore() {
        const TDMORV* core = &DMORV();
        Fix->Server().Stop();
        Open();
        PressOk();
        QCOMPARE(ShownErrors().size(), 1);
        ExpectUnchanged(core, Fix->Url());
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

    void emptyPasswordsKeepTheStoredDigest() {
        const TDMORV* core = &DMORV();
        const QString digest = DMORV().Heslo;
        Open();
        PressOk();
        QVERIFY(TDialogs::Shown().isEmpty());
        QCOMPARE(Dialog->result(), int(QDialog::Accepted));
        QCOMPARE(Fix->Requests(QStringLiteral("CheckLogin")), 1);
        QCOMPARE(Stored("Heslo"), digest);
        QCOMPARE(Stored("SignaturePolicy"), PolicySha256);
        QCOMPARE(Stored("SignatureAlgorithm"), QStringLiteral("sha256"));
        QVERIFY(&DMORV() != core);
        QCOMPARE(DMORV().Heslo, digest);
    }

    void newSettingsTakeEffectAtOnce() {
        // A second portal, with another person for the subject.
        Sim::TSimServerOptions options;
        options.DbPath = Fix->TempPath(QStringLiteral("druhy.db")).toStdString();
        Sim::TSimServer other(std::move(options));
        other.Start();
        other.Database().AddAccount({Subjekt, "jan", Sim::HesloDigest("Nové heslo")});
        const QString otherUrl = QString::fromStdString(other.Url());

        Open();
        Edit("editUrl")->setText(otherUrl);
        Edit("editOsoba")->setText(QStringLiteral("jan"));
        Edit("editHeslo")->setText(QStringLiteral("Nové heslo"));
        Edit("editHeslo2")->setText(QStringLiteral("Nové heslo"));
        PressOk();
        QVERIFY2(TDialogs::Shown().isEmpty(), qPrintable(ShownErrors().join(u'|')));
        QCOMPARE(Dialog->result(), int(QDialog::Accepted));
        QCOMPARE(Stored("Url"), otherUrl);
        QCOMPARE(Stored("Osoba"), QStringLiteral("jan"));
        QCOMPARE(Stored("Heslo"), TDMORV::HashHeslo(QStringLiteral("Nové heslo")));
        QCOMPARE(Fix->Requests(QStringLiteral("CheckLogin")), 0);
        // The application's new core talks to the new portal.
        QCOMPARE(DMORV().Url, otherUrl);
        DMORV().EnsureLogin();
        other.Stop();
    }

    void failedStoreLeavesTheCoreAsItWas() {
        TFaultyRegistry faulty(Fix->FileRegistryRef());
        faulty.FailWriteOf = u"Heslo";
        const TRegistryOverride use(faulty);
        const TDMORV* core = &DMORV();
        const QString digest = DMORV().Heslo;
        Open();
        Combo("cbxVerzia")->setCurrentIndex(2);
        PressOk();
        QCOMPARE(ShownErrors(), QStringList{QStringLiteral("Failed to set data for 'Heslo'")});
        QCOMPARE(&DMORV(), core);
        QCOMPARE(DMORV().Heslo, digest);
        QCOMPARE(DMORV().VerziaPodaja, QStringLiteral("0.1"));
        QVERIFY(Dialog->isVisible());
    }

    void failedReplacementKeepsTheOldCore() {
        TFaultyRegistry faulty(Fix->FileRegistryRef());
        faulty.FailReadsAfterWrite = true;
        const TRegistryOverride use(faulty);
        const TDMORV* core = &DMORV();
        Open();
        Combo("cbxVerzia")->setCurrentIndex(1);
        PressOk();
        QCOMPARE(ShownErrors().size(), 1);
        QCOMPARE(&DMORV(), core);
        QCOMPARE(DMORV().VerziaPodaja, QStringLiteral("0.1"));
        QVERIFY(Dialog->isVisible());
        // The old core still works.
        DMORV().EnsureLogin();
    }

    void cancelLeavesEverything() {
        const TDMORV* core = &DMORV();
        Open();
        Edit("editUrl")->setText(QStringLiteral("http://127.0.0.1:1/x"));
        Edit("editHeslo")->setText(QStringLiteral("x"));
        Find<QPushButton>("BitBtnCancel")->click();
        QCOMPARE(Dialog->result(), int(QDialog::Rejected));
        QVERIFY(!Dialog->isVisible());
        QCOMPARE(&DMORV(), core);
        QCOMPARE(Stored("Url"), Fix->Url());
        QCOMPARE(Fix->Requests(QStringLiteral("CheckLogin")), 0);
    }
};

QTEST_MAIN(TestFrmORVKonfig)
#include "tst_frmorvkonfig.moc"
