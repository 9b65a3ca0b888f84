#include "OrvConfig.h"
#include "UDMORV.h"
#include "UErrorOf.h"
#include "UOrvError.h"
#include "UReferenceDigest.h"
#include "URegFileParser.h"
#include "UTempRegistry.h"
#include "UWinRegistry.h"

#include <QPointer>
#include <QRegularExpression>
#include <QTest>

#include <functional>

namespace {

const TRegistryPath OrvPath = {u"SOFTWARE", u"Kelmar Tirsa, a.s.", u"ORV Duriza", u"ORV"};

const QStringList SettingNames = {QStringLiteral("Url"),
                                  QStringLiteral("Subjekt"),
                                  QStringLiteral("Osoba"),
                                  QStringLiteral("Heslo"),
                                  QStringLiteral("SignatureAlgorithm"),
                                  QStringLiteral("SignaturePolicy"),
                                  QStringLiteral("VerziaPodaja")};

QString ReferenceHeslo(const QByteArray& bytes) {
    return QString::fromLatin1(ReferenceDigest::Base64(ReferenceDigest::Sha256(bytes)));
}

// Records the order of writes and fails the one named FailName.
class TRecordingRegistry : public IRegistry {
public:
    explicit TRecordingRegistry(IRegistry& inner)
        : Inner(inner) {}

    std::optional<TRegistryValue> ReadUserValue(const TRegistryPath& path,
                                                const std::u16string& name) override {
        return Inner.ReadUserValue(path, name);
    }
    void WriteUserValue(const TRegistryPath& path, const std::u16string& name,
                        const TRegistryValue& value) override {
        Written.append(QString::fromStdU16String(name));
        if (name == FailName)
            throw TRegistryError(TRegistryError::TKind::WriteFailed, {}, 0, TRegistryFault::None,
                                 "denied");
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

    IRegistry& Inner;
    std::u16string FailName;
    QStringList Written;
};

} // namespace

class TTestDMORV : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void loadResourceText_data();
    void loadResourceText();
    void missingResource();
    void firstStart();
    void embeddedTextsAreLoaded();
    void emptyStoredUrlGoesToTestEndpoint();
    void urlConstructorKeepsTypedUrlInMemory_data();
    void urlConstructorKeepsTypedUrlInMemory();
    void invalidUrlLeavesNoCore_data();
    void invalidUrlLeavesNoCore();
    void invalidStoredTypeFailsCreation();
    void ownerDestroysCore();
    void saveSettingsRoundTrip();
    void saveSettingsStopsAtFailedWrite();
    void hashHeslo_data();
    void hashHeslo();
    void hashHesloKnownDigests();
};

void TTestDMORV::loadResourceText_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::newRow("byte-order mark dropped") << "bom-lf" << QStringLiteral("a\r\nb\r\n");
    QTest::newRow("LF, no final line end") << "lf-no-final" << QStringLiteral("a\r\nb\r\n");
    QTest::newRow("lone CR") << "cr" << QStringLiteral("a\r\nb\r\n");
    QTest::newRow("mixed") << "mixed" << QStringLiteral("a\r\nb\r\nc\r\nd\r\n");
    QTest::newRow("final CR LF kept once") << "crlf-final" << QStringLiteral("a\r\nb\r\n");
    QTest::newRow("stops at NUL") << "nul-inside" << QStringLiteral("a\r\nb\r\n");
    QTest::newRow("empty") << "empty" << QString();
    QTest::newRow("only a byte-order mark") << "bom-only" << QString();
    QTest::newRow("blank lines") << "blank-lines" << QStringLiteral("\r\n\r\n");
    QTest::newRow("CR before CR LF") << "cr-crlf" << QStringLiteral("a\r\n\r\nb\r\n");
    QTest::newRow("UTF-8") << "diacritics" << QStringLiteral("Žluťoučký kôň\r\n");
    QTest::newRow("second mark is text") << "bom-twice" << QStringLiteral("\xFEFFx\r\n");
}

void TTestDMORV::loadResourceText() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    QCOMPARE(TDMORV::LoadResourceText(name), text);
}

void TTestDMORV::missingResource() {
    QCOMPARE(ErrorOf([] { TDMORV::LoadResourceText(QStringLiteral("PODAJ_XSD_V9")); }),
             QStringLiteral("Resource PODAJ_XSD_V9 not found"));
}

void TTestDMORV::firstStart() {
    const TTempRegistry registry;
    const TDMORV core(nullptr);
    QCOMPARE(core.Url, QString::fromLatin1(OrvConfig::ProductionEndpoint));
    QCOMPARE(core.Subjekt, QString());
    QCOMPARE(core.Osoba, QString());
    QCOMPARE(core.Heslo, QString());
    QCOMPARE(core.SignatureAlgorithm, QStringLiteral("sha1"));
    QCOMPARE(core.SignaturePolicy, QStringLiteral("urn:oid:1.3.158.48207315.0.0.1.10.4.0.11.1"));
    QCOMPARE(core.VerziaPodaja, QStringLiteral("0.1"));

    const TRegFile file =
        ParseRegFile(u"HKEY_CURRENT_USER", registry.UserText().toStdString(), "user.reg");
    QVERIFY(file.KeyExists(OrvPath));
    for (const QString& name : SettingNames)
        QVERIFY2(!file.FindValue(OrvPath, name.toStdU16String()), qPrintable(name));

    QVERIFY(core.PortalProxy);
    QCOMPARE(core.PortalProxy->URL(), core.Url);
    // The portal's limits, which the proxy hands to every request: 10 s to
    // connect, 15 min each for sending and receiving.
    QCOMPARE(core.PortalProxy->Timeouts.ConnectMs, 10L * 1000);
    QCOMPARE(core.PortalProxy->Timeouts.SendMs, 15L * 60 * 1000);
    QCOMPARE(core.PortalProxy->Timeouts.ReceiveMs, 15L * 60 * 1000);
    QVERIFY(core.PortalProxy->LiteralParams);
    QCOMPARE(core.Portal, &core.PortalProxy->Portal());
}

void TTestDMORV::embeddedTextsAreLoaded() {
    const TTempRegistry registry;
    const TDMORV core(nullptr);
    const QList<QPair<QString, QString>> texts = {
        {QStringLiteral("PODAJ_XSD"), core.PodajXsd},
        {QStringLiteral("PODAJ_XSLT"), core.PodajXslt},
        {QStringLiteral("PODAJ_XSD_V2"), core.PodajXsdV2},
        {QStringLiteral("PODAJ_XSLT_V2"), core.PodajXsltV2},
        {QStringLiteral("PODAJ_XSD_V3"), core.PodajXsdV3},
        {QStringLiteral("PODAJ_XSLT_V3"), core.PodajXsltV3},
        {QStringLiteral("REPORTRQ_XSD"), core.ReportRqXsd},
        {QStringLiteral("REPORTRQ_XSLT"), core.ReportRqXslt}};
    for (const auto& [name, text] : texts) {
        QCOMPARE(text, TDMORV::LoadResourceText(name));
        QVERIFY2(text.startsWith(u'<'), qPrintable(name));
        QVERIFY2(text.endsWith(QStringLiteral(">\r\n")), qPrintable(name));
        QVERIFY2(!text.contains(QRegularExpression(QStringLiteral("\r(?!\n)|(?<!\r)\n"))),
                 qPrintable(name));
    }
    QVERIFY(core.PodajXsd.contains(QStringLiteral("/DUNOR/Formulare/Podaj_v01")));
    QVERIFY(core.PodajXsdV3.contains(QStringLiteral("/DUNOR/Formulare/Podaj_v03")));
}

void TTestDMORV::emptyStoredUrlGoesToTestEndpoint() {
    const TTempRegistry registry;
    registry.SetUserText(OrvSection("\"Url\"=\"\"\r\n"));
    const TDMORV core(nullptr);
    QCOMPARE(core.Url, QString());
    QCOMPARE(core.PortalProxy->URL(), QString::fromLatin1(OrvConfig::TestEndpoint));
}

void TTestDMORV::urlConstructorKeepsTypedUrlInMemory_data() {
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("endpoint");
    QTest::newRow("typed") << QStringLiteral("http://127.0.0.1:1/x")
                           << QStringLiteral("http://127.0.0.1:1/x");
    QTest::newRow("empty") << QString() << QString::fromLatin1(OrvConfig::TestEndpoint);
}

void TTestDMORV::urlConstructorKeepsTypedUrlInMemory() {
    QFETCH(QString, url);
    QFETCH(QString, endpoint);
    const TTempRegistry registry;
    registry.SetUserText(OrvSection("\"Url\"=\"https://stored.example/s\"\r\n"
                                    "\"Subjekt\"=\"S1\"\r\n"));
    const QByteArray before = registry.UserText();
    const TDMORV application(nullptr);
    {
        const TDMORV temporary(nullptr, url);
        QCOMPARE(temporary.Url, url);
        QCOMPARE(temporary.Subjekt, QStringLiteral("S1"));
        QCOMPARE(temporary.PortalProxy->URL(), endpoint);
    }
    QCOMPARE(application.Url, QStringLiteral("https://stored.example/s"));
    QCOMPARE(application.PortalProxy->URL(), QStringLiteral("https://stored.example/s"));
    QCOMPARE(registry.UserText(), before);
}

void TTestDMORV::invalidUrlLeavesNoCore_data() {
    QTest::addColumn<QString>("url");
    QTest::newRow("ftp") << QStringLiteral("ftp://portal.example/x");
    QTest::newRow("no scheme") << QStringLiteral("portal.example/x");
    QTest::newRow("unparsable") << QStringLiteral("http://[::1");
}

void TTestDMORV::invalidUrlLeavesNoCore() {
    QFETCH(QString, url);
    const TTempRegistry registry;
    QObject owner;
    QCOMPARE(
        ErrorOf([&] { TDMORV core(&owner, url); }),
        QStringLiteral("Invalid url '%1' - only supports 'http' and 'https' schemes").arg(url));
    QVERIFY(owner.children().isEmpty());

    // The same stored address fails the normal constructor.
    WriteSetting(QStringLiteral("ORV"), QStringLiteral("Url"), url);
    QCOMPARE(
        ErrorOf([&] { TDMORV core(&owner); }),
        QStringLiteral("Invalid url '%1' - only supports 'http' and 'https' schemes").arg(url));
}

void TTestDMORV::invalidStoredTypeFailsCreation() {
    const TTempRegistry registry;
    registry.SetUserText(OrvSection("\"Osoba\"=dword:00000007\r\n"));
    QCOMPARE(ErrorOf([] { TDMORV core(nullptr); }),
             QStringLiteral("Invalid data type for 'Osoba'"));
}

void TTestDMORV::ownerDestroysCore() {
    const TTempRegistry registry;
    QPointer<TDMORV> core;
    {
        QObject owner;
        core = new TDMORV(&owner);
        QVERIFY(core);
    }
    QVERIFY(!core);
}

void TTestDMORV::saveSettingsRoundTrip() {
    const TTempRegistry registry;
    {
        TDMORV core(nullptr);
        core.Url = QStringLiteral("http://127.0.0.1:8080/TirsaOrvWeb/PortalService.svc");
        core.Subjekt = QString();
        core.Osoba = QStringLiteral("Osoba \"1\"");
        core.Heslo = TDMORV::HashHeslo(QStringLiteral("tajné"));
        core.SignatureAlgorithm = QStringLiteral("sha256");
        core.SignaturePolicy = QString();
        core.VerziaPodaja = QStringLiteral("3.0");
        core.SaveSettings();
    }
    const TDMORV again(nullptr);
    QCOMPARE(again.Url, QStringLiteral("http://127.0.0.1:8080/TirsaOrvWeb/PortalService.svc"));
    QCOMPARE(again.Subjekt, QString());
    QCOMPARE(again.Osoba, QStringLiteral("Osoba \"1\""));
    QCOMPARE(again.Heslo, TDMORV::HashHeslo(QStringLiteral("tajné")));
    QCOMPARE(again.SignatureAlgorithm, QStringLiteral("sha256"));
    QCOMPARE(again.SignaturePolicy, QString()); // empty, not the default
    QCOMPARE(again.VerziaPodaja, QStringLiteral("3.0"));
}

void TTestDMORV::saveSettingsStopsAtFailedWrite() {
    const TTempRegistry files;
    TRecordingRegistry recording(Registry());
    const TRegistryOverride override(recording);
    TDMORV core(nullptr);
    core.Url = QStringLiteral("http://a.example/");
    core.Subjekt = QStringLiteral("S");
    core.Osoba = QStringLiteral("O");
    core.Heslo = QStringLiteral("H");
    recording.FailName = u"Heslo";
    QCOMPARE(ErrorOf([&] { core.SaveSettings(); }),
             QStringLiteral("Failed to set data for 'Heslo'"));
    QCOMPARE(recording.Written, SettingNames.mid(0, 4));
    QCOMPARE(ReadSetting(QStringLiteral("ORV"), QStringLiteral("Osoba"), QString()),
             QStringLiteral("O"));
    QCOMPARE(ReadSetting(QStringLiteral("ORV"), QStringLiteral("Heslo"), QStringLiteral("none")),
             QStringLiteral("none"));

    recording.FailName.clear();
    recording.Written.clear();
    core.SaveSettings();
    QCOMPARE(recording.Written, SettingNames);
}

void TTestDMORV::hashHeslo_data() {
    QTest::addColumn<QString>("heslo");
    QTest::newRow("lower case") << QStringLiteral("heslo");
    QTest::newRow("upper case") << QStringLiteral("Heslo");
    QTest::newRow("trailing space") << QStringLiteral("heslo ");
    QTest::newRow("diacritics") << QStringLiteral("áčďéíľňóšťúýž");
    QTest::newRow("outside the BMP") << QString::fromUtf8("\xF0\x9F\x94\x91");
    QTest::newRow("empty") << QString();
}

void TTestDMORV::hashHeslo() {
    QFETCH(QString, heslo);
    const QString digest = TDMORV::HashHeslo(heslo);
    QCOMPARE(digest, ReferenceHeslo(heslo.toUtf8()));
    QCOMPARE(digest.size(), 44);
    QVERIFY(digest.endsWith(u'=') && !digest.endsWith(QStringLiteral("==")));
}

void TTestDMORV::hashHesloKnownDigests() {
    QCOMPARE(TDMORV::HashHeslo(QString()),
             QStringLiteral("47DEQpj8HBSa+/TImW+5JCeuQeRkm5NMpJWZG3hSuFU="));
    QCOMPARE(TDMORV::HashHeslo(QStringLiteral("abc")),
             QStringLiteral("ungWv48Bz+pBQUDeXa4iI7ADYaOWF3qctBD/YfIAFa0="));
    // á is hashed as the two bytes C3 A1, not as one byte of a code page.
    QCOMPARE(TDMORV::HashHeslo(QStringLiteral("á")), ReferenceHeslo("\xC3\xA1"));
    QVERIFY(TDMORV::HashHeslo(QStringLiteral("á")) != ReferenceHeslo("\xE1"));
}

QTEST_GUILESS_MAIN(TTestDMORV)
#include "tst_dmorv.moc"
