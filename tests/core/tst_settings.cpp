#include "UErrorOf.h"
#include "UOrvError.h"
#include "URegFileParser.h"
#include "UTempRegistry.h"
#include "UWinRegistry.h"

#include <QTest>

#include <functional>
#include <thread>

namespace {

const QString Orv = QStringLiteral("ORV");

const TRegistryPath OrvPath = {u"SOFTWARE", u"Kelmar Tirsa, a.s.", u"ORV Duriza", u"ORV"};

TRegFile ParseUser(const TTempRegistry& registry) {
    return ParseRegFile(u"HKEY_CURRENT_USER", registry.UserText().toStdString(), "user.reg");
}

} // namespace

class TTestSettings : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readAbsentGivesDefaultAndCreatesKeyPath();
    void readEmptyValueIsNotTheDefault();
    void roundTrip_data();
    void roundTrip();
    void storedTypes_data();
    void storedTypes();
    void valueNamesIgnoreLetterCase();
    void writeKeepsOtherValuesAndSections();
    void unparsableFileIsReportedAndKept_data();
    void unparsableFileIsReportedAndKept();
    void unwritableStore();
    void twoWritersLoseNothing();
    void otherUserKeys();
    void everyUserAccessTellsTheStoresTroubleAlike_data();
    void everyUserAccessTellsTheStoresTroubleAlike();
    void machineHive();
    void machineHiveIsOnlyRead();
};

void TTestSettings::readAbsentGivesDefaultAndCreatesKeyPath() {
    const TTempRegistry registry;
    QCOMPARE(ReadSetting(Orv, QStringLiteral("Url"), QStringLiteral("fallback")),
             QStringLiteral("fallback"));
    const TRegFile file = ParseUser(registry);
    QVERIFY(file.KeyExists(OrvPath));
    QCOMPARE(file.SubKeys({u"SOFTWARE"}), std::vector<std::u16string>{u"Kelmar Tirsa, a.s."});
    QVERIFY(!registry.UserText().contains("\"Url\""));
    QVERIFY(registry.UserText().contains(
        "[HKEY_CURRENT_USER\\SOFTWARE\\Kelmar Tirsa, a.s.\\ORV Duriza\\ORV]\r\n"));

    // A second read finds the path and leaves the file as it is.
    const QByteArray before = registry.UserText();
    QCOMPARE(ReadSetting(Orv, QStringLiteral("Osoba"), QString()), QString());
    QCOMPARE(registry.UserText(), before);
}

void TTestSettings::readEmptyValueIsNotTheDefault() {
    const TTempRegistry registry;
    registry.SetUserText(OrvSection("\"Url\"=\"\"\r\n"));
    QCOMPARE(ReadSetting(Orv, QStringLiteral("Url"), QStringLiteral("default")), QString());
}

void TTestSettings::roundTrip_data() {
    QTest::addColumn<QString>("value");
    QTest::newRow("empty") << QString();
    QTest::newRow("plain") << QStringLiteral(
        "https://portal.example/TirsaOrvWeb/PortalService.svc");
    QTest::newRow("quotes and backslashes") << QStringLiteral(R"(C:\a "b" \\c\)");
    QTest::newRow("diacritics") << QStringLiteral("Ľudovít Štúr, Žilina");
    QTest::newRow("outer spaces") << QStringLiteral("  a  ");
    QTest::newRow("line breaks") << QStringLiteral("a\r\nb\nc\rd");
    QTest::newRow("outside the BMP") << QString::fromUtf8("\xF0\x9F\x93\xAE");
    QTest::newRow("semicolon and brackets") << QStringLiteral(";[x]=\"@");
}

void TTestSettings::roundTrip() {
    QFETCH(QString, value);
    const TTempRegistry registry;
    WriteSetting(Orv, QStringLiteral("Subjekt"), value);
    QCOMPARE(ReadSetting(Orv, QStringLiteral("Subjekt"), QStringLiteral("default")), value);
    // Stored as a string value with its terminating NUL.
    const TRegFile file = ParseUser(registry);
    const TRegistryValue* stored = file.FindValue(OrvPath, u"Subjekt");
    QVERIFY(stored);
    QCOMPARE(stored->Type, std::uint32_t(RegSz));
    QCOMPARE(stored->Data, RegistryStringData(value.toStdU16String()));
}

void TTestSettings::storedTypes_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("error");
    const QString invalid = QStringLiteral("Invalid data type for 'Url'");
    QTest::newRow("dword") << QByteArray("\"Url\"=dword:00000001") << QString() << invalid;
    QTest::newRow("binary") << QByteArray("\"Url\"=hex:68,00,00,00") << QString() << invalid;
    QTest::newRow("qword") << QByteArray("\"Url\"=hex(b):01,00,00,00,00,00,00,00") << QString()
                           << invalid;
    QTest::newRow("multi string") << QByteArray("\"Url\"=hex(7):61,00,00,00,00,00") << QString()
                                  << invalid;
    QTest::newRow("zero-length dword reads empty")
        << QByteArray("\"Url\"=hex(4):") << QString() << NoError;
    QTest::newRow("expandable string, not expanded")
        << QByteArray("\"Url\"=hex(2):25,00,48,00,4f,00,4d,00,45,00,25,00,00,00")
        << QStringLiteral("%HOME%") << NoError;
    QTest::newRow("string up to its first NUL")
        << QByteArray("\"Url\"=hex(1):61,00,00,00,62,00,00,00") << QStringLiteral("a") << NoError;
    QTest::newRow("string without NUL")
        << QByteArray("\"Url\"=hex(1):61,00,62,00") << QStringLiteral("ab") << NoError;
    QTest::newRow("continued byte list") << QByteArray("\"Url\"=hex(2):61,00,\\\r\n  62,00,00,00")
                                         << QStringLiteral("ab") << NoError;
}

void TTestSettings::storedTypes() {
    QFETCH(QByteArray, line);
    QFETCH(QString, value);
    QFETCH(QString, error);
    const TTempRegistry registry;
    registry.SetUserText(OrvSection(line + "\r\n"));
    QString read;
    QCOMPARE(ErrorOf([&] { read = ReadSetting(Orv, QStringLiteral("Url"), QStringLiteral("d")); }),
             error);
    QCOMPARE(read, value);
}

void TTestSettings::valueNamesIgnoreLetterCase() {
    const TTempRegistry registry;
    registry.SetUserText(
        "Windows Registry Editor Version 5.00\r\n\r\n"
        "[hkey_current_user\\software\\KELMAR TIRSA, A.S.\\orv duriza\\orv]\r\n\"URL\"=\"x\"\r\n");
    QCOMPARE(ReadSetting(Orv, QStringLiteral("Url"), QString()), QStringLiteral("x"));
    WriteSetting(Orv, QStringLiteral("url"), QStringLiteral("y"));
    QCOMPARE(ReadSetting(Orv, QStringLiteral("Url"), QString()), QStringLiteral("y"));
    QCOMPARE(registry.UserText().count("\"URL\""), 1);
}

void TTestSettings::writeKeepsOtherValuesAndSections() {
    const TTempRegistry registry;
    WriteSetting(Orv, QStringLiteral("Url"), QStringLiteral("u"));
    WriteSetting(QStringLiteral("EPH"), QStringLiteral("Subor"), QStringLiteral("/tmp/a.xml"));
    WriteSetting(Orv, QStringLiteral("Osoba"), QStringLiteral("o"));
    WriteSetting(Orv, QStringLiteral("Url"), QStringLiteral("v"));
    QCOMPARE(ReadSetting(Orv, QStringLiteral("Url"), QString()), QStringLiteral("v"));
    QCOMPARE(ReadSetting(Orv, QStringLiteral("Osoba"), QString()), QStringLiteral("o"));
    QCOMPARE(ReadSetting(QStringLiteral("EPH"), QStringLiteral("Subor"), QString()),
             QStringLiteral("/tmp/a.xml"));
}

void TTestSettings::unparsableFileIsReportedAndKept_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("line");
    const QByteArray header = "Windows Registry Editor Version 5.00\r\n\r\n";
    const QByteArray key = "[HKEY_CURRENT_USER\\SOFTWARE\\Kelmar Tirsa, a.s.\\ORV Duriza\\ORV]\r\n";
    QTest::newRow("no header") << QByteArray("[HKEY_CURRENT_USER\\SOFTWARE]\r\n") << 1;
    QTest::newRow("unescaped backslash") << header + key + "\"Url\"=\"C:\\x\"\r\n" << 4;
    QTest::newRow("unterminated text") << header + key + "\"Url\"=\"abc\r\n" << 4;
    QTest::newRow("bad dword") << header + key + "\"Url\"=dword:xyz\r\n" << 4;
    QTest::newRow("bad byte list") << header + key + "\"Url\"=hex:1,2\r\n" << 4;
    QTest::newRow("deletion") << header + key + "\"Url\"=-\r\n" << 4;
    QTest::newRow("key deletion") << header + "[-HKEY_CURRENT_USER\\SOFTWARE]\r\n" << 3;
    QTest::newRow("other hive") << header + "[HKEY_LOCAL_MACHINE\\SOFTWARE]\r\n" << 3;
    QTest::newRow("value before any key") << header + "\"Url\"=\"x\"\r\n" << 3;
    QTest::newRow("stray text") << header + key + "Url=x\r\n" << 4;
    QTest::newRow("not UTF-8") << header + key + "\"Url\"=\"\xE1\"\r\n" << 4;
    QTest::newRow("empty key level") << header + "[HKEY_CURRENT_USER\\\\SOFTWARE]\r\n" << 3;
}

void TTestSettings::unparsableFileIsReportedAndKept() {
#ifdef Q_OS_WIN
    QSKIP("The registry holds no text to be malformed");
#else
    QFETCH(QByteArray, text);
    QFETCH(int, line);
    const TTempRegistry registry;
    registry.SetUserText(text);

    const QString readError = ErrorOf([] { ReadSetting(Orv, QStringLiteral("Url"), QString()); });
    QVERIFY2(readError.contains(registry.UserFile()), qPrintable(readError));
    QVERIFY2(readError.contains(QStringLiteral("riadok %1:").arg(line)), qPrintable(readError));

    const QString writeError =
        ErrorOf([] { WriteSetting(Orv, QStringLiteral("Url"), QStringLiteral("x")); });
    QCOMPARE(writeError, readError);
    QCOMPARE(registry.UserText(), text);
#endif
}

void TTestSettings::unwritableStore() {
    // A file where the store's folder should be cannot be worked around, not
    // even with administrator rights.
#ifdef Q_OS_WIN
    QSKIP("The registry has no folder to be taken by a file");
#else
    const TTempRegistry registry;
    TTempRegistry::Write(QFileInfo(registry.UserFile()).absolutePath(), "not a folder");

    QCOMPARE(ReadSetting(Orv, QStringLiteral("Url"), QStringLiteral("d")), QStringLiteral("d"));
    QCOMPARE(ErrorOf([] { WriteSetting(Orv, QStringLiteral("Url"), QStringLiteral("x")); }),
             QStringLiteral("Failed to set data for 'Url'"));
#endif
}

void TTestSettings::twoWritersLoseNothing() {
    const TTempRegistry registry;
    constexpr int PerWriter = 25;
    // Each writer has its own store object on the same hive, as two running
    // programs do.
    const auto writer = [&](char16_t prefix) {
        const std::unique_ptr<IRegistry> store = registry.NewStore();
        for (int i = 0; i < PerWriter; ++i) {
            const std::u16string name = prefix + QString::number(i).toStdU16String();
            store->WriteUserValue(OrvPath, name, TRegistryValue{RegSz, RegistryStringData(name)});
        }
    };
    std::thread first(writer, u'a');
    std::thread second(writer, u'b');
    first.join();
    second.join();

    const TRegFile file = ParseUser(registry);
    for (const char16_t prefix : {u'a', u'b'}) {
        for (int i = 0; i < PerWriter; ++i) {
            const std::u16string name = prefix + QString::number(i).toStdU16String();
            const TRegistryValue* value = file.FindValue(OrvPath, name);
            QVERIFY2(value, qPrintable(QString::fromStdU16String(name)));
            QCOMPARE(value->Data, RegistryStringData(name));
        }
    }
#ifndef Q_OS_WIN
    QVERIFY(!QFileInfo::exists(registry.UserFile() + QStringLiteral(".new")));
#endif
}

void TTestSettings::otherUserKeys() {
    const TTempRegistry registry;
    const QString key = QStringLiteral("SOFTWARE\\Iny\\Program");
#ifdef Q_OS_WIN
    // The registry outlives the test: the key goes before and after.
    RegDeleteTreeW(HKEY_CURRENT_USER, L"SOFTWARE\\Iny");
#endif
    QCOMPARE(ReadUserKeyValue(key, QStringLiteral("Name")), std::nullopt);
    WriteUserKeyValue(key, QStringLiteral("Name"), QStringLiteral("hodnota"));
    QCOMPARE(ReadUserKeyValue(key, QStringLiteral("NAME")), QStringLiteral("hodnota"));
#ifdef Q_OS_WIN
    // What the hive holds beyond the settings is the file store's to show.
    RegDeleteTreeW(HKEY_CURRENT_USER, L"SOFTWARE\\Iny");
    return;
#endif
    const TRegFile file = ParseUser(registry);
    const TRegistryValue* stored = file.FindValue({u"SOFTWARE", u"Iny", u"Program"}, u"Name");
    QVERIFY(stored);
    QCOMPARE(stored->Type, std::uint32_t(RegSz));
    QCOMPARE(stored->Data, RegistryStringData(u"hodnota"));
    QVERIFY(!file.KeyExists({u"SOFTWARE", u"Kelmar Tirsa, a.s."}));

    registry.SetUserText("Windows Registry Editor Version 5.00\r\n\r\n"
                         "[HKEY_CURRENT_USER\\SOFTWARE\\Iny\\Program]\r\n"
                         "\"Name\"=dword:00000001\r\n");
    QCOMPARE(ErrorOf([&] { ReadUserKeyValue(key, QStringLiteral("Name")); }),
             QStringLiteral("Invalid data type for 'Name'"));
}

// The settings and any other key of the user's hive go through one store:
// the same trouble reads the same, whichever way it is met.
void TTestSettings::everyUserAccessTellsTheStoresTroubleAlike_data() {
    QTest::addColumn<QString>("access");
    for (const char* access :
         {"ReadSetting", "WriteSetting", "ReadUserKeyValue", "WriteUserKeyValue"})
        QTest::newRow(access) << QString::fromLatin1(access);
}

void TTestSettings::everyUserAccessTellsTheStoresTroubleAlike() {
#ifdef Q_OS_WIN
    QSKIP("A damaged or unwritable settings file is the file store's trouble; the registry has "
          "no such file");
#else
    QFETCH(QString, access);
    const auto run = [&] {
        const QString key = QStringLiteral("SOFTWARE\\Iny");
        const QString name = QStringLiteral("Url");
        if (access == QLatin1String("ReadSetting"))
            ReadSetting(Orv, name, QString());
        else if (access == QLatin1String("WriteSetting"))
            WriteSetting(Orv, name, QStringLiteral("x"));
        else if (access == QLatin1String("ReadUserKeyValue"))
            ReadUserKeyValue(key, name);
        else
            WriteUserKeyValue(key, name, QStringLiteral("x"));
    };
    {
        const TTempRegistry registry;
        const QByteArray damaged = "Windows Registry Editor Version 5.00\r\n\r\n\"Url\"=\"x\"\r\n";
        registry.SetUserText(damaged);
        QCOMPARE(ErrorOf(run),
                 QStringLiteral("Súbor nastavení \"%1\" je poškodený, riadok 3: hodnota pred "
                                "prvým kľúčom")
                     .arg(registry.UserFile()));
        QCOMPARE(registry.UserText(), damaged);
    }
    if (access.startsWith(QLatin1String("Write"))) {
        const TTempRegistry registry;
        TTempRegistry::Write(QFileInfo(registry.UserFile()).absolutePath(), "not a folder");
        QCOMPARE(ErrorOf(run), QStringLiteral("Failed to set data for 'Url'"));
    }
#endif
}

void TTestSettings::machineHive() {
    const TTempRegistry registry;
    const QString policies = QStringLiteral("SOFTWARE\\Nomir\\DSigXades\\SignaturePolicies");
    QVERIFY(!MachineKeyExists(policies));
    QVERIFY(MachineSubKeys(policies).isEmpty());
    QCOMPARE(ReadMachineValue(policies + QStringLiteral("\\x"), QStringLiteral("DigestAlgUri")),
             std::nullopt);

    registry.SetMachineText(
        "Windows Registry Editor Version 5.00\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Nomir\\DSigXades\\SignaturePolicies\\urn:oid:2]\r\n"
        "\"DigestAlgUri\"=\"http://www.w3.org/2001/04/xmlenc#sha256\"\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Nomir\\DSigXades\\SignaturePolicies\\urn:oid:1]\r\n"
        "\"Count\"=dword:00000002\r\n");
    QVERIFY(MachineKeyExists(policies));
    QVERIFY(MachineKeyExists(QStringLiteral("SOFTWARE\\Nomir")));
#ifdef Q_OS_WIN
    // The registry lists subkeys by name, the file in its own order.
    QCOMPARE(MachineSubKeys(policies),
             QStringList({QStringLiteral("urn:oid:1"), QStringLiteral("urn:oid:2")}));
#else
    QCOMPARE(MachineSubKeys(policies),
             QStringList({QStringLiteral("urn:oid:2"), QStringLiteral("urn:oid:1")}));
#endif
    QCOMPARE(
        ReadMachineValue(policies + QStringLiteral("\\urn:oid:2"), QStringLiteral("DigestAlgUri")),
        QStringLiteral("http://www.w3.org/2001/04/xmlenc#sha256"));
    QCOMPARE(
        ReadMachineValue(policies + QStringLiteral("\\urn:oid:1"), QStringLiteral("DigestAlgUri")),
        std::nullopt);
    QCOMPARE(ErrorOf([&] {
                 ReadMachineValue(policies + QStringLiteral("\\urn:oid:1"),
                                  QStringLiteral("Count"));
             }),
             QStringLiteral("Invalid data type for 'Count'"));
}

void TTestSettings::machineHiveIsOnlyRead() {
#ifdef Q_OS_WIN
    QSKIP("The registry holds no text to be malformed");
#else
    const TTempRegistry registry;
    MachineSubKeys(QStringLiteral("SOFTWARE"));
    QVERIFY(!QFileInfo::exists(registry.MachineFile()));
    registry.SetMachineText("garbage\r\n");
    const QString error = ErrorOf([] { MachineKeyExists(QStringLiteral("SOFTWARE")); });
    QVERIFY2(error.contains(registry.MachineFile()), qPrintable(error));
#endif
}

QTEST_GUILESS_MAIN(TTestSettings)
#include "tst_settings.moc"
