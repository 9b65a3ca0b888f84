#include "UPortalTestData.h"

#include "UFakeClock.h"
#include "USoapFault.h"
#include "USoapReader.h"
#include "UXmlOwners.h"

#include <QTest>

using namespace PortalService;

namespace {

// Decodes body as the response of the named type; true when a message came.
bool DecodeAs(const QString& type, const QByteArray& body) {
    if (type == u"CheckLoginResponse") {
        return ReadSoapResponse<CheckLoginResponse>(body) != nullptr;
    }
    if (type == u"GetPodanieResponse") {
        return ReadSoapResponse<GetPodanieResponse>(body) != nullptr;
    }
    if (type == u"GetSuborPisomnostiResponse") {
        return ReadSoapResponse<GetSuborPisomnostiResponse>(body) != nullptr;
    }
    if (type == u"ListPodanieResponse") {
        return ReadSoapResponse<ListPodanieResponse>(body) != nullptr;
    }
    qFatal("unknown type %s", qPrintable(type));
}

TDateTime Local(int year, int month, int day, int hour, int minute = 0, int second = 0) {
    return EncodeDateTime({year, month, day, hour, minute, second, 0});
}

QByteArray PodanieXml(int i) {
    return QByteArrayLiteral("<a:Podanie><a:dataField i:nil=\"true\"/>"
                             "<a:datumACasPrijatiaField>2024-03-01T10:00:00Z"
                             "</a:datumACasPrijatiaField><a:identifikatorPodaniaField>P-") +
           QByteArray::number(i) +
           QByteArrayLiteral(
               "</a:identifikatorPodaniaField><a:obalkaField><a:dokumentField>"
               "<a:PodanieObalkaDokument><a:hlavnyDokumentField>true"
               "</a:hlavnyDokumentField><a:objektField><a:PodanieObalkaDokumentObjekt>"
               "<a:identifikatorObjektuField>O-") +
           QByteArray::number(i) +
           QByteArrayLiteral("</a:identifikatorObjektuField></a:PodanieObalkaDokumentObjekt>"
                             "</a:objektField></a:PodanieObalkaDokument></a:dokumentField>"
                             "</a:obalkaField></a:Podanie>");
}

} // namespace

class TestSoapReader : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void failures_data();
    void failures();
    void faultCarriesCodeActorAndDetail();
    void faultCodeWithUnresolvedPrefixIsKeptAsText();
    void noMessage_data();
    void noMessage();
    void byteOrderMarkDecodes();
    void headerEntriesWithoutMustUnderstandAreIgnored();
    void messageElementOfAnyNameIsRead();
    void fieldsInOtherNamespacesAreRead();
    void fieldNamesInOtherLetterCaseAreNotRead();
    void firstMatchingChildWinsWhateverTheOrder();
    void absentNilAndEmptyDiffer();
    void booleanLiterals_data();
    void booleanLiterals();
    void integers_data();
    void integers();
    void nestedPodanieIsRead();
    void nestedSuborPisomnostiIsRead();
    void suborPisomnostiIgnoresIdentifikatorPodaniaField();
    void arrayItemsOfAnyNameAreRead();
    void typObjektuItemsAreEmpty();
    void rawXmlKeepsEmbeddedDocumentUnchanged();
    void rawXmlWithCommentBesideStaysEmpty();
    void rawXmlDeclaresInheritedNamespaces();
    void thousandItemsAreRead();
};

void TestSoapReader::failures_data() {
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("message");

    const QString login = QStringLiteral("CheckLoginResponse");
    QTest::newRow("not well-formed")
        << "not-well-formed.xml" << login
        << "Opening and ending tag mismatch: CheckLoginResult line 1 and popisChyby";
    QTest::newRow("invalid character reference")
        << "invalid-char-reference.xml" << login << "xmlParseCharRef: invalid xmlChar value 24";
    QTest::newRow("undefined entity")
        << "undefined-entity.xml" << login << "Entity 'nbsp' not defined";
    QTest::newRow("undeclared prefix") << "undeclared-prefix.xml" << login
                                       << "Namespace prefix a on CheckLoginResponse is not defined";
    const QString noDtd =
        QStringLiteral("The response holds a document type declaration, which SOAP does not allow");
    QTest::newRow("internal entities") << "doctype-internal-entities.xml" << login << noDtd;
    QTest::newRow("external entity") << "doctype-external-entity.xml" << login << noDtd;
    QTest::newRow("html document element")
        << "document-element-html.xml" << login
        << "DocumentElement http://schemas.xmlsoap.org/soap/envelope/:Envelope expected, :html "
           "found";
    QTest::newRow("soap 1.2 envelope")
        << "document-element-soap12.xml" << login
        << "DocumentElement http://schemas.xmlsoap.org/soap/envelope/:Envelope expected, "
           "http://www.w3.org/2003/05/soap-envelope:Envelope found";
    const QString invalid = QStringLiteral("Invalid SOAP response");
    QTest::newRow("envelope without children") << "envelope-no-children.xml" << login << invalid;
    QTest::newRow("two bodies") << "envelope-two-bodies.xml" << login << invalid;
    QTest::newRow("two headers") << "envelope-two-headers.xml" << login << invalid;
    QTest::newRow("no body") << "envelope-no-body.xml" << login << invalid;
    QTest::newRow("mustUnderstand 1")
        << "header-must-understand-1.xml" << login
        << "Soap header Security with attribute 'mustUnderstand' set to true was not handled";
    QTest::newRow("mustUnderstand true")
        << "header-must-understand-true.xml" << login
        << "Soap header Action with attribute 'mustUnderstand' set to true was not handled";
    QTest::newRow("fault") << "fault-status200.xml" << login
                           << QString::fromUtf8("Chyba servera: objekt nebol nájdený");
    QTest::newRow("fault children in other case")
        << "fault-children-other-case.xml" << login << "Server is busy";
    QTest::newRow("fault without faultstring") << "fault-without-faultstring.xml" << login << "";
    QTest::newRow("fault after a comment")
        << "fault-after-comment.xml" << login << "Gateway timeout";
    QTest::newRow("invalid integer")
        << "invalid-integer.xml" << login << "Invalid property element: zero";
    QTest::newRow("integer overflow")
        << "integer-overflow.xml" << login << "Invalid property element: 2147483648";
    QTest::newRow("empty integer") << "empty-integer.xml" << login << "Invalid property element: ";
    QTest::newRow("invalid boolean") << "invalid-boolean.xml"
                                     << "GetSuborPisomnostiResponse"
                                     << "Invalid property element: yes";
    QTest::newRow("invalid date-time") << "invalid-datetime.xml"
                                       << "GetPodanieResponse"
                                       << "Invalid property element: 2024-02-30T10:00:00";
}

void TestSoapReader::failures() {
    QFETCH(QString, fixture);
    QFETCH(QString, type);
    QFETCH(QString, message);
    bool raised = false;
    try {
        DecodeAs(type, PortalFixture(fixture));
    } catch (const TOrvError& error) {
        raised = true;
        QCOMPARE(error.message(), message);
    }
    QVERIFY2(raised, "decoding did not fail");
}

void TestSoapReader::faultCarriesCodeActorAndDetail() {
    try {
        ReadSoapResponse<CheckLoginResponse>(PortalFixture(QStringLiteral("fault-status200.xml")));
        QFAIL("no fault raised");
    } catch (const TSoapFault& fault) {
        QCOMPARE(fault.FaultCode, QStringLiteral("a:InternalServiceFault"));
        QCOMPARE(fault.FaultActor, QStringLiteral("urn:portal"));
        QCOMPARE(fault.Detail, QStringLiteral("<detail><ExceptionDetail xmlns=\"urn:d\"><Message>"
                                              "not found</Message></ExceptionDetail></detail>"));
    }
}

void TestSoapReader::faultCodeWithUnresolvedPrefixIsKeptAsText() {
    try {
        ReadSoapResponse<CheckLoginResponse>(
            PortalFixture(QStringLiteral("fault-unresolved-faultcode.xml")));
        QFAIL("no fault raised");
    } catch (const TSoapFault& fault) {
        QCOMPARE(fault.message(), QString::fromUtf8("Neplatné prihlasovacie údaje"));
        QCOMPARE(fault.FaultCode, QStringLiteral("q:Client"));
        QVERIFY(fault.Detail.isEmpty());
    }
}

void TestSoapReader::noMessage_data() {
    QTest::addColumn<QString>("fixture");
    QTest::newRow("empty body") << "body-empty.xml";
    QTest::newRow("body with a comment only") << "body-only-comment.xml";
    QTest::newRow("two elements") << "body-two-elements.xml";
}

void TestSoapReader::noMessage() {
    QFETCH(QString, fixture);
    QVERIFY(ReadSoapResponse<CheckLoginResponse>(PortalFixture(fixture)) == nullptr);
}

void TestSoapReader::byteOrderMarkDecodes() {
    const QByteArray body = PortalFixture(QStringLiteral("checklogin-bom.xml"));
    QVERIFY(body.startsWith("\xEF\xBB\xBF"));
    const auto response = ReadSoapResponse<CheckLoginResponse>(body);
    QVERIFY(response);
    QCOMPARE(response->CheckLoginResult, 3);
    QCOMPARE(response->popisChyby, QString::fromUtf8("Nesprávne heslo"));
}

void TestSoapReader::headerEntriesWithoutMustUnderstandAreIgnored() {
    const auto response = ReadSoapResponse<CheckLoginResponse>(
        PortalFixture(QStringLiteral("header-ignored-entries.xml")));
    QVERIFY(response);
    QCOMPARE(response->CheckLoginResult, 5);
}

void TestSoapReader::messageElementOfAnyNameIsRead() {
    const auto response = ReadSoapResponse<CheckLoginResponse>(
        PortalFixture(QStringLiteral("message-other-name.xml")));
    QVERIFY(response);
    QCOMPARE(response->CheckLoginResult, 42);
    QCOMPARE(response->popisChyby, QStringLiteral("renamed"));
}

void TestSoapReader::fieldsInOtherNamespacesAreRead() {
    const auto response = ReadSoapResponse<CheckLoginResponse>(
        PortalFixture(QStringLiteral("fields-other-namespace-and-prefix.xml")));
    QVERIFY(response);
    QCOMPARE(response->CheckLoginResult, 7);
    QCOMPARE(response->popisChyby, QStringLiteral("from elsewhere"));
}

void TestSoapReader::fieldNamesInOtherLetterCaseAreNotRead() {
    const auto response = ReadSoapResponse<CheckLoginResponse>(
        PortalFixture(QStringLiteral("fields-other-letter-case.xml")));
    QVERIFY(response);
    QCOMPARE(response->CheckLoginResult, 0);
    QVERIFY(response->popisChyby.isEmpty());
}

void TestSoapReader::firstMatchingChildWinsWhateverTheOrder() {
    // The repeated CheckLoginResult holds an invalid number: it must not be read.
    const auto response = ReadSoapResponse<CheckLoginResponse>(
        PortalFixture(QStringLiteral("fields-reversed-and-repeated.xml")));
    QVERIFY(response);
    QCOMPARE(response->CheckLoginResult, 4);
    QCOMPARE(response->popisChyby, QStringLiteral("first"));
}

void TestSoapReader::absentNilAndEmptyDiffer() {
    const auto response =
        ReadSoapResponse<ListPodanieResponse>(PortalFixture(QStringLiteral("list-nil-fields.xml")));
    QVERIFY(response);
    QVERIFY(response->popisChyby.isEmpty());
    const ArrayOfPodanie& items = response->ListPodanieResult;
    QCOMPARE(items.size(), size_t(4));

    const Podanie& nil = items[0];
    QCOMPARE(nil.identifikatorPodaniaField, QStringLiteral("nil-all"));
    QVERIFY(nil.dataField.IsEmpty());
    QCOMPARE(nil.datumACasPrijatiaField, 0.0);
    QVERIFY(nil.descriptionField.isEmpty());
    QVERIFY(!nil.obalkaField);
    QVERIFY(!nil.podavajucaOsobaField);

    // An empty object element is an object with empty fields, not none.
    const Podanie& empty = items[1];
    QCOMPARE(empty.identifikatorPodaniaField, QStringLiteral("empty-all"));
    QVERIFY(empty.dataField.IsEmpty());
    QVERIFY(empty.obalkaField);
    QVERIFY(empty.obalkaField->dokumentField.empty());
    QVERIFY(empty.obalkaField->pocetDokumentovField.isEmpty());
    QVERIFY(empty.podavajucaOsobaField);
    QVERIFY(empty.podavajucaOsobaField->menoField.isEmpty());

    const Podanie& absent = items[2];
    QCOMPARE(absent.identifikatorPodaniaField, QStringLiteral("absent-all"));
    QVERIFY(!absent.obalkaField);
    QVERIFY(!absent.podavajucaOsobaField);
    QVERIFY(absent.dataField.IsEmpty());

    // A nil item still takes its place in the list, with nothing read into it.
    QVERIFY(items[3].identifikatorPodaniaField.isEmpty());
}

void TestSoapReader::booleanLiterals_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("value");
    QTest::newRow("true") << QByteArray("true") << true;
    QTest::newRow("TRUE") << QByteArray("TRUE") << true;
    QTest::newRow("1") << QByteArray("1") << true;
    QTest::newRow("false") << QByteArray("false") << false;
    QTest::newRow("False") << QByteArray("False") << false;
    QTest::newRow("0") << QByteArray("0") << false;
    QTest::newRow("padded") << QByteArray(" true\n") << true;
}

void TestSoapReader::booleanLiterals() {
    QFETCH(QByteArray, text);
    QFETCH(bool, value);
    const QByteArray body =
        "<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\"><s:Body><R><"
        "GetSuborPisomnostiResult><precitanyField>" +
        text + "</precitanyField></GetSuborPisomnostiResult></R></s:Body></s:Envelope>";
    const auto response = ReadSoapResponse<GetSuborPisomnostiResponse>(body);
    QVERIFY(response && response->GetSuborPisomnostiResult);
    QCOMPARE(response->GetSuborPisomnostiResult->precitanyField, value);
}

void TestSoapReader::integers_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("zero") << QByteArray("0") << 0;
    QTest::newRow("negative") << QByteArray("-12") << -12;
    QTest::newRow("plus sign") << QByteArray("+7") << 7;
    QTest::newRow("leading zeros") << QByteArray("000000000042") << 42;
    QTest::newRow("padded") << QByteArray("\n 3 ") << 3;
    QTest::newRow("largest") << QByteArray("2147483647") << 2147483647;
    QTest::newRow("smallest") << QByteArray("-2147483648") << int(-2147483647 - 1);
}

void TestSoapReader::integers() {
    QFETCH(QByteArray, text);
    QFETCH(int, value);
    const QByteArray body = "<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\">"
                            "<s:Body><R><PodajPodanieResult>" +
                            text + "</PodajPodanieResult></R></s:Body></s:Envelope>";
    const auto response = ReadSoapResponse<PodajPodanieResponse>(body);
    QVERIFY(response);
    QCOMPARE(response->PodajPodanieResult, value);
}

void TestSoapReader::nestedPodanieIsRead() {
    TFakeClock clock(0, 60);
    const auto response =
        ReadSoapResponse<GetPodanieResponse>(PortalFixture(QStringLiteral("get-podanie-full.xml")));
    QVERIFY(response && response->GetPodanieResult);
    const Podanie& p = *response->GetPodanieResult;
    QCOMPARE(p.dataField.Xml(), QStringLiteral("<eph:EPH xmlns:eph=\"urn:test:eph\" verzia=\"3\">"
                                               "<eph:Zasielka id=\"1\">RR123456789SK</eph:Zasielka>"
                                               "</eph:EPH>"));
    QCOMPARE(p.datumACasPrijatiaField, Local(2024, 3, 1, 10));
    QCOMPARE(p.descriptionField, QStringLiteral("Podanie EPH"));
    QCOMPARE(p.identifikatorBiznisPripaduField, QStringLiteral("BP-1"));
    QCOMPARE(p.identifikatorPodaniaField, QStringLiteral("P-100"));
    QCOMPARE(p.identifikatorSubjektuField, QStringLiteral("SUBJ-9"));
    QCOMPARE(p.kodSluzbyField, QStringLiteral("EPH"));
    QCOMPARE(p.kodTypuPodaniaField, QStringLiteral("EPHv03"));
    QCOMPARE(p.stavOvereniaField, QString::fromUtf8("Overené"));
    QCOMPARE(p.stavPodaniaField, QString::fromUtf8("Prijaté"));

    QVERIFY(p.podavajucaOsobaField);
    QCOMPARE(p.podavajucaOsobaField->identifikatorOsobyField, QStringLiteral("OS-5"));
    QCOMPARE(p.podavajucaOsobaField->menoField, QString::fromUtf8("Ján"));
    QCOMPARE(p.podavajucaOsobaField->priezviskoField, QString::fromUtf8("Nováček"));

    QVERIFY(p.obalkaField);
    const PodanieObalka& obalka = *p.obalkaField;
    QCOMPARE(obalka.pocetAutorizaciiField, QStringLiteral("1"));
    QCOMPARE(obalka.pocetDokumentovField, QStringLiteral("2"));
    QCOMPARE(obalka.pocetObjektovField, QStringLiteral("3"));
    QCOMPARE(obalka.dokumentField.size(), size_t(2));
    const PodanieObalkaDokument& hlavny = obalka.dokumentField[0];
    QCOMPARE(hlavny.descriptionField, QString::fromUtf8("Hlavný dokument"));
    QVERIFY(hlavny.hlavnyDokumentField);
    QCOMPARE(hlavny.identifikatorDokumentuField, QStringLiteral("D-1"));
    QCOMPARE(hlavny.kodTypuDokumentuField, QStringLiteral("XML"));
    QCOMPARE(hlavny.objektField.size(), size_t(2));
    // The objects' dataField content is skipped, invalid values and all.
    QVERIFY(hlavny.objektField[0].hlavnyObjektField);
    QCOMPARE(hlavny.objektField[0].identifikatorObjektuField, QStringLiteral("O-1"));
    QCOMPARE(hlavny.objektField[0].kodTypuObjektuField, QStringLiteral("EPH"));
    QVERIFY(!hlavny.objektField[1].hlavnyObjektField);
    QCOMPARE(hlavny.objektField[1].identifikatorObjektuField, QStringLiteral("O-2"));
    const PodanieObalkaDokument& priloha = obalka.dokumentField[1];
    QVERIFY(!priloha.hlavnyDokumentField);
    QCOMPARE(priloha.identifikatorDokumentuField, QStringLiteral("D-2"));
    QVERIFY(priloha.objektField.empty());
}

void TestSoapReader::nestedSuborPisomnostiIsRead() {
    TFakeClock clock(0, 120);
    const auto response = ReadSoapResponse<GetSuborPisomnostiResponse>(
        PortalFixture(QStringLiteral("get-subor-full.xml")));
    QVERIFY(response && response->GetSuborPisomnostiResult);
    const SuborPisomnosti& s = *response->GetSuborPisomnostiResult;
    QCOMPARE(s.dataField.Xml(),
             QString::fromUtf8("<Oznamenie xmlns=\"urn:test:oznamenie\">Doručené</Oznamenie>"));
    QCOMPARE(s.datumACasVytvoreniaField, Local(2024, 7, 15, 10, 30, 15));
    QCOMPARE(s.descriptionField, QString::fromUtf8("Oznámenie"));
    QCOMPARE(s.identifikatorBiznisPripaduField, QStringLiteral("BP-2"));
    QCOMPARE(s.identifikatorPodania, QStringLiteral("P-100"));
    QCOMPARE(s.identifikatorSubjektuField, QStringLiteral("SUBJ-9"));
    QCOMPARE(s.identifikatorSuborPisomnostiField, QStringLiteral("SP-3"));
    QCOMPARE(s.kodTypuSluzbyField, QStringLiteral("EPH"));
    QCOMPARE(s.kodTypuSuboruPisomnostiField, QStringLiteral("OZN"));
    QVERIFY(s.precitanyField);
    QVERIFY(s.obalkaField);
    QCOMPARE(s.obalkaField->pocetDokumentovField, QStringLiteral("1"));
    QCOMPARE(s.obalkaField->pocetObjektovField, QStringLiteral("1"));
    QCOMPARE(s.obalkaField->dokumentField.size(), size_t(1));
    const SuborPisomnostiObalkaDokument& dokument = s.obalkaField->dokumentField[0];
    QVERIFY(dokument.hlavnyDokumentField);
    QCOMPARE(dokument.kodTypuDokumentuField, QStringLiteral("XML"));
    QCOMPARE(dokument.objektField.size(), size_t(1));
    QVERIFY(dokument.objektField[0].hlavnyObjektField);
    QCOMPARE(dokument.objektField[0].kodTypuObjektuField, QStringLiteral("XML"));
}

void TestSoapReader::suborPisomnostiIgnoresIdentifikatorPodaniaField() {
    const auto response = ReadSoapResponse<GetSuborPisomnostiResponse>(
        PortalFixture(QStringLiteral("subor-identifikatorPodaniaField.xml")));
    QVERIFY(response && response->GetSuborPisomnostiResult);
    QVERIFY(response->GetSuborPisomnostiResult->identifikatorPodania.isEmpty());
    QCOMPARE(response->GetSuborPisomnostiResult->identifikatorSuborPisomnostiField,
             QStringLiteral("SP-1"));
}

void TestSoapReader::arrayItemsOfAnyNameAreRead() {
    const auto response = ReadSoapResponse<ListSuborPisomnostiResponse>(
        PortalFixture(QStringLiteral("list-items-any-name.xml")));
    QVERIFY(response);
    const ArrayOfSuborPisomnosti& items = response->ListSuborPisomnostiResult;
    QCOMPARE(items.size(), size_t(3));
    QCOMPARE(items[0].identifikatorSuborPisomnostiField, QStringLiteral("1"));
    QCOMPARE(items[1].identifikatorSuborPisomnostiField, QStringLiteral("2"));
    QCOMPARE(items[2].identifikatorSuborPisomnostiField, QStringLiteral("3"));

    const auto empty =
        ReadSoapResponse<ListPodanieResponse>(PortalFixture(QStringLiteral("list-empty.xml")));
    QVERIFY(empty);
    QVERIFY(empty->ListPodanieResult.empty());
}

void TestSoapReader::typObjektuItemsAreEmpty() {
    const auto response = ReadSoapResponse<ListTypObjektuResponse>(
        PortalFixture(QStringLiteral("list-typobjektu.xml")));
    QVERIFY(response);
    QCOMPARE(response->ListTypObjektuResult.size(), size_t(3));
}

void TestSoapReader::rawXmlKeepsEmbeddedDocumentUnchanged() {
    const auto response = ReadSoapResponse<GetSuborPisomnostiResponse>(
        PortalFixture(QStringLiteral("raw-xml-indented.xml")));
    QVERIFY(response && response->GetSuborPisomnostiResult);
    const SuborPisomnosti& s = *response->GetSuborPisomnostiResult;
    QCOMPARE(s.identifikatorSuborPisomnostiField, QStringLiteral("SP-7"));
    QVERIFY(!s.dataField.IsEmpty());
    QCOMPARE(s.dataField.Node()->type, XML_ELEMENT_NODE);
    // Indentation, comment, CDATA and processing instruction inside the
    // embedded document stay exactly as sent.
    QCOMPARE(s.dataField.Xml(),
             QString::fromUtf8("<doc:Dokument xmlns:doc=\"urn:test:dokument\" verzia=\"1.0\">\n"
                               "            <doc:Hlavicka>\n"
                               "              <doc:Nazov>Oznámenie &amp; výzva</doc:Nazov>\n"
                               "            </doc:Hlavicka>\n"
                               "            <!-- podpis nasleduje -->\n"
                               "            <doc:Telo><![CDATA[<b>nie je značka</b>]]></doc:Telo>\n"
                               "            <?spracovanie krok=\"2\"?>\n"
                               "          </doc:Dokument>"));
}

void TestSoapReader::rawXmlWithCommentBesideStaysEmpty() {
    const auto response = ReadSoapResponse<GetPodanieResponse>(
        PortalFixture(QStringLiteral("raw-xml-comment-beside.xml")));
    QVERIFY(response && response->GetPodanieResult);
    QVERIFY(response->GetPodanieResult->dataField.IsEmpty());
    QVERIFY(response->GetPodanieResult->dataField.Xml().isEmpty());
    QCOMPARE(response->GetPodanieResult->identifikatorPodaniaField, QStringLiteral("P-2"));
}

void TestSoapReader::rawXmlDeclaresInheritedNamespaces() {
    const auto response = ReadSoapResponse<GetPodanieResponse>(
        PortalFixture(QStringLiteral("raw-xml-inherited-namespace.xml")));
    QVERIFY(response && response->GetPodanieResult);
    QCOMPARE(response->GetPodanieResult->dataField.Xml(),
             QStringLiteral("<a:Embedded xmlns:a=\"http://schemas.datacontract.org/2004/07/\" "
                            "xmlns=\"urn:test:contract\" a:kind=\"x\"><Inner/></a:Embedded>"));
}

void TestSoapReader::thousandItemsAreRead() {
    TFakeClock clock(0, 0);
    QByteArray body = "<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\"><s:Body>"
                      "<ListPodanieResponse xmlns=\"urn:test:contract\"><ListPodanieResult "
                      "xmlns:a=\"http://schemas.datacontract.org/2004/07/\" "
                      "xmlns:i=\"http://www.w3.org/2001/XMLSchema-instance\">";
    for (int i = 0; i < 1000; ++i) {
        body += PodanieXml(i);
    }
    body += "</ListPodanieResult><popisChyby/></ListPodanieResponse></s:Body></s:Envelope>";

    const auto response = ReadSoapResponse<ListPodanieResponse>(body);
    QVERIFY(response);
    const ArrayOfPodanie& items = response->ListPodanieResult;
    QCOMPARE(items.size(), size_t(1000));
    for (int i : {0, 1, 499, 999}) {
        const Podanie& p = items[size_t(i)];
        QCOMPARE(p.identifikatorPodaniaField, QStringLiteral("P-%1").arg(i));
        QCOMPARE(p.datumACasPrijatiaField, Local(2024, 3, 1, 10));
        QVERIFY(p.obalkaField);
        QCOMPARE(p.obalkaField->dokumentField.at(0).objektField.at(0).identifikatorObjektuField,
                 QStringLiteral("O-%1").arg(i));
    }
}

QTEST_GUILESS_MAIN(TestSoapReader)
#include "tst_soapreader.moc"
