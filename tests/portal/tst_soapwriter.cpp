#include "OrvConfig.h"
#include "UFakeClock.h"
#include "USafeXml.h"
#include "USoapWriter.h"
#include "UXmlOwners.h"

#include "UOrvError.h"

#include <QTest>

using namespace PortalService;

namespace {

QByteArray Envelope(const QByteArray& message, const QByteArray& fields) {
    return "<?xml version=\"1.0\"?><SOAP-ENV:Envelope "
           "xmlns:SOAP-ENV=\"http://schemas.xmlsoap.org/soap/envelope/\" "
           "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" "
           "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><SOAP-ENV:Body><" +
           message + " xmlns=\"" + QByteArray(OrvConfig::ContractNamespace) + "\">" + fields +
           "</" + message + "></SOAP-ENV:Body></SOAP-ENV:Envelope>";
}

PortalService::ListPodanie SixFields() {
    PortalService::ListPodanie request;
    request.heslo = QStringLiteral("H+/=");
    request.osoba = QStringLiteral("OS");
    request.subjekt = QStringLiteral("SU");
    request.sortColumn = SortColumnPodanie::DatumACasPrijatia;
    request.sortType = SortType::Desc;
    request.maxRows = 100;
    return request;
}

} // namespace

class TestSoapWriter : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void checkLogin();
    void listPodanieWithTheSixAlwaysSetFields();
    void listPodanieWithEveryField();
    void listSuborPisomnostiWithEveryField();
    void otherRequests();
    void emptyTextIsSentUnsetIsNot();
    void zeroAndFalseAreSent();
    void markupIsEscaped();
    void enumerationLiterals();
    void charactersXmlCannotCarryAreRefused_data();
    void charactersXmlCannotCarryAreRefused();
    void everyEnvelopeIsWellFormed();
};

void TestSoapWriter::checkLogin() {
    PortalService::CheckLogin request;
    request.subjekt = QStringLiteral("12345678");
    request.osoba = QStringLiteral("jan.novak");
    request.heslo = QStringLiteral("n4bQgYhMfWWaL+qgxVrQFaO/TxsrC4Is0V1sFbDwCgg=");
    QCOMPARE(WriteSoapRequest(request),
             Envelope("CheckLogin", "<subjekt>12345678</subjekt><osoba>jan.novak</osoba>"
                                    "<heslo>n4bQgYhMfWWaL+qgxVrQFaO/TxsrC4Is0V1sFbDwCgg=</heslo>"));
    QCOMPARE(OperationName<PortalService::CheckLogin>(), "CheckLogin");
}

void TestSoapWriter::listPodanieWithTheSixAlwaysSetFields() {
    // Set in reverse order: the wire order is the field order, not the order of assignment.
    QCOMPARE(WriteSoapRequest(SixFields()),
             Envelope("ListPodanie", "<maxRows>100</maxRows><sortType>Desc</sortType>"
                                     "<sortColumn>DatumACasPrijatia</sortColumn>"
                                     "<subjekt>SU</subjekt><osoba>OS</osoba><heslo>H+/=</heslo>"));
}

void TestSoapWriter::listPodanieWithEveryField() {
    TFakeClock clock(0, 60);
    PortalService::ListPodanie request = SixFields();
    request.dtFromUtc = EncodeDateTime({2024, 3, 1, 0, 0, 0, 0});
    request.dtToUtc = EncodeDateTime({2024, 3, 31, 23, 59, 59, 999});
    request.identifikatorBiznisPripadu = QStringLiteral("BP-1");
    request.sortType = SortType::Asc;
    request.sortColumn = SortColumnPodanie::identifikatorBiznisPripadu;
    QCOMPARE(WriteSoapRequest(request),
             Envelope("ListPodanie", "<dtFromUtc>2024-03-01T00:00:00.000+01:00</dtFromUtc>"
                                     "<dtToUtc>2024-03-31T23:59:59.999+01:00</dtToUtc>"
                                     "<identifikatorBiznisPripadu>BP-1</identifikatorBiznisPripadu>"
                                     "<maxRows>100</maxRows><sortType>Asc</sortType>"
                                     "<sortColumn>identifikatorBiznisPripadu</sortColumn>"
                                     "<subjekt>SU</subjekt><osoba>OS</osoba><heslo>H+/=</heslo>"));
}

void TestSoapWriter::listSuborPisomnostiWithEveryField() {
    TFakeClock clock(0, 0);
    PortalService::ListSuborPisomnosti request;
    request.dtFromUtc = EncodeDateTime({2024, 1, 1, 0, 0, 0, 0});
    request.dtToUtc = EncodeDateTime({2024, 1, 2, 0, 0, 0, 0});
    request.identifikatorBiznisPripadu = QStringLiteral("BP");
    request.precitany = true;
    request.maxRows = 5;
    request.sortType = SortType::Desc;
    request.sortColumn = SortColumnSuborPisomnosti::Precitany;
    request.subjekt = QStringLiteral("S");
    request.osoba = QStringLiteral("O");
    request.heslo = QStringLiteral("H");
    QCOMPARE(WriteSoapRequest(request),
             Envelope("ListSuborPisomnosti",
                      "<dtFromUtc>2024-01-01T00:00:00.000Z</dtFromUtc>"
                      "<dtToUtc>2024-01-02T00:00:00.000Z</dtToUtc>"
                      "<identifikatorBiznisPripadu>BP</identifikatorBiznisPripadu>"
                      "<precitany>true</precitany><maxRows>5</maxRows><sortType>Desc</sortType>"
                      "<sortColumn>Precitany</sortColumn><subjekt>S</subjekt><osoba>O</osoba>"
                      "<heslo>H</heslo>"));
}

void TestSoapWriter::otherRequests() {
    PortalService::PodajPodanie podaj;
    podaj.podanieB64 = QStringLiteral("PD94bWwg");
    podaj.sluzba = QStringLiteral("EPH");
    podaj.typPodania = QStringLiteral("EPHv03");
    podaj.subjekt = QStringLiteral("S");
    podaj.osoba = QStringLiteral("O");
    podaj.heslo = QStringLiteral("H");
    QCOMPARE(WriteSoapRequest(podaj),
             Envelope("PodajPodanie", "<podanieB64>PD94bWwg</podanieB64><sluzba>EPH</sluzba>"
                                      "<typPodania>EPHv03</typPodania><subjekt>S</subjekt>"
                                      "<osoba>O</osoba><heslo>H</heslo>"));

    PortalService::GetPodanie getPodanie;
    getPodanie.heslo = QStringLiteral("H");
    getPodanie.osoba = QStringLiteral("O");
    getPodanie.IdentifikatorPodania = QStringLiteral("P-1");
    QCOMPARE(WriteSoapRequest(getPodanie),
             Envelope("GetPodanie", "<IdentifikatorPodania>P-1</IdentifikatorPodania>"
                                    "<osoba>O</osoba><heslo>H</heslo>"));

    PortalService::GetSuborPisomnosti getSubor;
    getSubor.IdentifikatorSuborPisomnosti = QStringLiteral("SP-1");
    getSubor.osoba = QStringLiteral("O");
    getSubor.heslo = QStringLiteral("H");
    getSubor.nastavPrecitany = true;
    QCOMPARE(WriteSoapRequest(getSubor),
             Envelope("GetSuborPisomnosti",
                      "<IdentifikatorSuborPisomnosti>SP-1</IdentifikatorSuborPisomnosti>"
                      "<osoba>O</osoba><heslo>H</heslo><nastavPrecitany>true</nastavPrecitany>"));

    PortalService::GetPortalMaxRows maxRows;
    maxRows.osoba = QStringLiteral("O");
    QCOMPARE(WriteSoapRequest(maxRows), Envelope("GetPortalMaxRows", "<osoba>O</osoba>"));

    PortalService::ListTypObjektu typy;
    QCOMPARE(WriteSoapRequest(typy), Envelope("ListTypObjektu", ""));
}

void TestSoapWriter::emptyTextIsSentUnsetIsNot() {
    PortalService::CheckLogin request;
    request.subjekt = QStringLiteral("S");
    request.osoba = QStringLiteral("O");
    QCOMPARE(WriteSoapRequest(request),
             Envelope("CheckLogin", "<subjekt>S</subjekt><osoba>O</osoba>"));
    request.heslo = QString();
    QCOMPARE(WriteSoapRequest(request),
             Envelope("CheckLogin", "<subjekt>S</subjekt><osoba>O</osoba><heslo/>"));
}

void TestSoapWriter::zeroAndFalseAreSent() {
    PortalService::ListSuborPisomnosti request;
    request.precitany = false;
    request.maxRows = 0;
    request.sortType = SortType::Asc;
    QCOMPARE(WriteSoapRequest(request),
             Envelope("ListSuborPisomnosti", "<precitany>false</precitany><maxRows>0</maxRows>"
                                             "<sortType>Asc</sortType>"));
    request.maxRows = -2147483647 - 1;
    QVERIFY(WriteSoapRequest(request).contains("<maxRows>-2147483648</maxRows>"));
}

void TestSoapWriter::markupIsEscaped() {
    PortalService::CheckLogin request;
    request.subjekt = QStringLiteral("a<b>&c\"d'e]]>");
    request.osoba = QString::fromUtf8("Ľubomír Šťastný\tx\ny");
    // CR is sent as a reference, or the portal's parser would make it LF.
    request.heslo = QStringLiteral("line1\r\nline2");
    QCOMPARE(WriteSoapRequest(request),
             Envelope("CheckLogin", "<subjekt>a&lt;b&gt;&amp;c\"d'e]]&gt;</subjekt>"
                                    "<osoba>\xC4\xBDubom\xC3\xADr \xC5\xA0\xC5\xA5\x61stn\xC3\xBD"
                                    "\tx\ny</osoba><heslo>line1&#13;\nline2</heslo>"));
}

void TestSoapWriter::enumerationLiterals() {
    PortalService::ListPodanie podanie;
    const std::pair<SortColumnPodanie, const char*> columns[] = {
        {SortColumnPodanie::identifikatorBiznisPripadu, "identifikatorBiznisPripadu"},
        {SortColumnPodanie::DatumACasPrijatia, "DatumACasPrijatia"},
        {SortColumnPodanie::KodTypuHlavnehoObjektu, "KodTypuHlavnehoObjektu"},
        {SortColumnPodanie::StavPodania, "StavPodania"}};
    for (const auto& [column, name] : columns) {
        podanie.sortColumn = column;
        QCOMPARE(WriteSoapRequest(podanie),
                 Envelope("ListPodanie", "<sortColumn>" + QByteArray(name) + "</sortColumn>"));
    }
    PortalService::ListSuborPisomnosti subor;
    subor.sortColumn = SortColumnSuborPisomnosti::KodTypuHlavnehoObjektu;
    QVERIFY(WriteSoapRequest(subor).contains("<sortColumn>KodTypuHlavnehoObjektu</sortColumn>"));
    subor.sortColumn = SortColumnSuborPisomnosti::identifikatorBiznisPripadu;
    QVERIFY(
        WriteSoapRequest(subor).contains("<sortColumn>identifikatorBiznisPripadu</sortColumn>"));
}

void TestSoapWriter::charactersXmlCannotCarryAreRefused_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("control character") << QString(QChar(0x01));
    QTest::newRow("NUL") << QStringLiteral("a") + QChar(0) + QStringLiteral("b");
    QTest::newRow("lone high surrogate") << QString(QChar(0xD800));
    QTest::newRow("lone low surrogate") << QString(QChar(0xDC00)) + QStringLiteral("x");
    QTest::newRow("U+FFFE") << QString(QChar(0xFFFE));
}

void TestSoapWriter::charactersXmlCannotCarryAreRefused() {
    QFETCH(QString, text);
    PortalService::CheckLogin request;
    request.osoba = text;
    QVERIFY_THROWS_EXCEPTION(TOrvError, WriteSoapRequest(request));

    // A character outside the BMP is fine.
    request.osoba = QString::fromUtf8("\xF0\x9F\x93\xA8");
    QVERIFY(WriteSoapRequest(request).contains("<osoba>\xF0\x9F\x93\xA8</osoba>"));
}

void TestSoapWriter::everyEnvelopeIsWellFormed() {
    TFakeClock clock(0, -300);
    PortalService::ListPodanie request = SixFields();
    request.dtFromUtc = EncodeDateTime({2024, 3, 1, 0, 0, 0, 0});
    request.subjekt = QStringLiteral("<&>\r\n\"'");
    const TXmlDocPtr doc = ParseUntrustedXml(WriteSoapRequest(request));
    const xmlNode* envelope = xmlDocGetRootElement(doc.get());
    QVERIFY(envelope);
    const xmlNode* body = xmlFirstElementChild(const_cast<xmlNode*>(envelope));
    QVERIFY(body && !xmlNextElementSibling(const_cast<xmlNode*>(body)));
    const xmlNode* message = xmlFirstElementChild(const_cast<xmlNode*>(body));
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(message->ns->href)),
             QByteArray(OrvConfig::ContractNamespace));
    const xmlNode* subjekt = message->children;
    while (subjekt && xmlStrcmp(subjekt->name, reinterpret_cast<const xmlChar*>("subjekt"))) {
        subjekt = subjekt->next;
    }
    QVERIFY(subjekt);
    const std::unique_ptr<xmlChar, decltype(xmlFree)> content(xmlNodeGetContent(subjekt), xmlFree);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(content.get())), QByteArray("<&>\r\n\"'"));
}

QTEST_GUILESS_MAIN(TestSoapWriter)
#include "tst_soapwriter.moc"
