#include "URegFileParser.h"
#include "URegFileWriter.h"

#include <QTest>

namespace {

const std::u16string Hive = u"HKEY_CURRENT_USER";

TRegFile Parse(const QByteArray& text) {
    return ParseRegFile(Hive, std::string_view(text.constData(), std::size_t(text.size())),
                        "test.reg");
}

TRegistryValue Bytes(std::uint32_t type, std::vector<std::uint8_t> data) {
    return TRegistryValue{type, std::move(data)};
}

} // namespace

Q_DECLARE_METATYPE(TRegistryValue)

class TTestRegFile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void formatsAsRegistryExport();
    void valuesSurviveFormatting_data();
    void valuesSurviveFormatting();
    void readsRegeditExports_data();
    void readsRegeditExports();
    void keysAndSubkeys();
};

void TTestRegFile::formatsAsRegistryExport() {
    TRegFile file(Hive);
    file.SetValue({u"SOFTWARE", u"A"}, u"Text",
                  TRegistryValue{RegSz, RegistryStringData(u"a\"b\\c")});
    file.SetValue({u"SOFTWARE", u"A"}, u"", TRegistryValue{RegSz, RegistryStringData(u"d")});
    file.SetValue({u"SOFTWARE", u"A"}, u"Number", Bytes(RegDword, {0x2a, 0, 0, 0}));
    file.SetValue({u"SOFTWARE", u"A"}, u"Path", Bytes(RegExpandSz, {0x25, 0, 0, 0}));
    file.SetValue({u"SOFTWARE", u"A"}, u"Raw", Bytes(RegBinary, {0xde, 0xad}));
    file.SetValue({u"SOFTWARE", u"A"}, u"Big", Bytes(RegQword, {1, 0, 0, 0, 0, 0, 0, 0}));
    const std::string expected = "Windows Registry Editor Version 5.00\r\n"
                                 "\r\n"
                                 "[HKEY_CURRENT_USER\\SOFTWARE]\r\n"
                                 "\r\n"
                                 "[HKEY_CURRENT_USER\\SOFTWARE\\A]\r\n"
                                 "\"Text\"=\"a\\\"b\\\\c\"\r\n"
                                 "@=\"d\"\r\n"
                                 "\"Number\"=dword:0000002a\r\n"
                                 "\"Path\"=hex(2):25,00,00,00\r\n"
                                 "\"Raw\"=hex:de,ad\r\n"
                                 "\"Big\"=hex(b):01,00,00,00,00,00,00,00\r\n"
                                 "\r\n";
    QCOMPARE(QString::fromStdString(FormatRegFile(file)), QString::fromStdString(expected));
}

void TTestRegFile::valuesSurviveFormatting_data() {
    QTest::addColumn<TRegistryValue>("value");
    QTest::newRow("string") << TRegistryValue{RegSz, RegistryStringData(u"Žltý kôň")};
    QTest::newRow("empty string") << TRegistryValue{RegSz, RegistryStringData(u"")};
    QTest::newRow("string with line break") << TRegistryValue{RegSz, RegistryStringData(u"a\r\nb")};
    QTest::newRow("string with inner NUL") << Bytes(RegSz, {0x61, 0, 0, 0, 0x62, 0, 0, 0});
    QTest::newRow("string without NUL") << Bytes(RegSz, {0x61, 0});
    QTest::newRow("string, odd length") << Bytes(RegSz, {0x61, 0, 0});
    QTest::newRow("lone surrogate") << Bytes(RegSz, {0x00, 0xd8, 0, 0});
    QTest::newRow("zero-length string") << Bytes(RegSz, {});
    QTest::newRow("dword") << Bytes(RegDword, {1, 2, 3, 4});
    QTest::newRow("short dword") << Bytes(RegDword, {1});
    QTest::newRow("none") << Bytes(RegNone, {});
    QTest::newRow("type beyond the known ones") << Bytes(0x12345678, {9});
    std::vector<std::uint8_t> many(300);
    for (std::size_t i = 0; i < many.size(); ++i)
        many[i] = static_cast<std::uint8_t>(i);
    QTest::newRow("long binary") << Bytes(RegBinary, many);
}

void TTestRegFile::valuesSurviveFormatting() {
    QFETCH(TRegistryValue, value);
    TRegFile file(Hive);
    file.SetValue({u"K"}, u"v", value);
    const std::string text = FormatRegFile(file);
    const TRegFile again = ParseRegFile(Hive, text, "x.reg");
    const TRegistryValue* read = again.FindValue({u"K"}, u"v");
    QVERIFY(read);
    QCOMPARE(read->Type, value.Type);
    QCOMPARE(read->Data, value.Data);
    QCOMPARE(FormatRegFile(again), text);
}

void TTestRegFile::readsRegeditExports_data() {
    QTest::addColumn<QByteArray>("text");
    const QString source = QStringLiteral("\xFEFF"
                                          "Windows Registry Editor Version 5.00\r\n\r\n"
                                          "; exported\r\n"
                                          "[HKEY_CURRENT_USER\\Software\\X]\r\n"
                                          "\"Name\"=\"Hodnota š\"\r\n");
    QByteArray utf16;
    for (const QChar c : source) {
        utf16.append(char(c.unicode() & 0xFF));
        utf16.append(char(c.unicode() >> 8));
    }
    QTest::newRow("UTF-16 with byte-order mark") << utf16;
    QTest::newRow("UTF-8 with byte-order mark") << source.toUtf8();
    QTest::newRow("LF line ends") << source.mid(1).toUtf8().replace("\r\n", "\n");
    QTest::newRow("REGEDIT4, blanks around =")
        << QByteArray("REGEDIT4\n[HKEY_CURRENT_USER\\Software\\X]\n\"Name\" = \"Hodnota "
                      "\xC5\xA1\"  \n");
}

void TTestRegFile::readsRegeditExports() {
    QFETCH(QByteArray, text);
    const TRegFile file = Parse(text);
    const TRegistryValue* value = file.FindValue({u"SOFTWARE", u"x"}, u"NAME");
    QVERIFY(value);
    QCOMPARE(value->Data, RegistryStringData(u"Hodnota š"));
}

void TTestRegFile::keysAndSubkeys() {
    const TRegFile file = Parse("Windows Registry Editor Version 5.00\r\n"
                                "[HKEY_CURRENT_USER\\A\\B\\C]\r\n"
                                "[HKEY_CURRENT_USER\\A\\D]\r\n"
                                "[HKEY_CURRENT_USER\\a\\b]\r\n");
    QVERIFY(file.KeyExists({u"A"}));
    QVERIFY(file.KeyExists({u"A", u"B"}));
    QVERIFY(!file.KeyExists({u"A", u"C"}));
    QCOMPARE(file.SubKeys({u"A"}), (std::vector<std::u16string>{u"B", u"D"}));
    QCOMPARE(file.SubKeys({u"A", u"B", u"C"}), std::vector<std::u16string>{});
    // Implied levels are written out, as an export lists every key.
    QVERIFY(FormatRegFile(file).find("[HKEY_CURRENT_USER\\A\\B]\r\n") != std::string::npos);
}

QTEST_GUILESS_MAIN(TTestRegFile)
#include "tst_regfile.moc"
