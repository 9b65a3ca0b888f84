// The EPH submission against recording test components and a scripted
// portal: what reaches each component, in which order, when each object
// lives, and every failure the user can meet on the way.

#include "OrvConfig.h"
#include "UBusyCursor.h"
#include "UDMORV.h"
#include "UEphVersion.h"
#include "UErrorOf.h"
#include "UFakeClock.h"
#include "UOrvError.h"
#include "UPortalAnswers.h"
#include "USystemText.h"
#include "UTempRegistry.h"
#include "UTestComponents.h"
#include "UTestHttpServer.h"
#include "UTextFile.h"

#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <optional>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace {

const QString Eph = QStringLiteral("<EPH xmlns=\"urn:x\">\r\n<Meno>Ďurica</Meno>\r\n</EPH>\r\n");
const QString Signed = QStringLiteral("<ds:Signature Id=\"s\">podpísané</ds:Signature>");
const QString SubmissionData = QStringLiteral("<Data typ=\"KT\"/>");
// Long enough for several Base64 lines, with letters beyond ASCII.
const QString FinalDocument =
    QStringLiteral("<Podanie>") + QString(60, QChar(u'ž')) + QStringLiteral("</Podanie>\r\n");

TDateTime At(int year, int month, int day, int hour, int minute, int second, int ms = 0) {
    return EncodeDateTime({year, month, day, hour, minute, second, ms});
}

QByteArray Accepted() {
    return PortalAnswer("PodajPodanie", "<PodajPodanieResult>0</PodajPodanieResult>" + Popis(""));
}

// The wait cursor's Begin and End, in the same log as the component calls,
// with how many requests the portal had seen by then.
class TLoggingBusy : public IBusyIndicator {
public:
    TLoggingBusy(TCallLog& log, const TTestHttpServer& server)
        : Log(log)
        , Server(server) {}
    void Begin() override {
        Log.Calls << QStringLiteral("Busy.Begin");
        SentAtBegin = Server.RequestCount();
    }
    void End() override {
        Log.Calls << QStringLiteral("Busy.End");
        SentAtEnd = Server.RequestCount();
    }
    int SentAtBegin = -1;
    int SentAtEnd = -1;

private:
    TCallLog& Log;
    const TTestHttpServer& Server;
};

// Where the first call that is key (a bare "Object.Create" or
// "Object.Release"), or begins with key (a "Method(" call), stands; -1 when
// there is none.
qsizetype Position(const QStringList& calls, const QString& key) {
    for (qsizetype i = 0; i < calls.size(); ++i)
        if (key.endsWith(u'(') ? calls.at(i).startsWith(key) : calls.at(i) == key)
            return i;
    return -1;
}

// An object that offers none of the signer's interfaces.
class TForeignObject final : public TComObject<IDispatch> {};

// The text of one request field as sent, character references resolved.
QString SentField(const QByteArray& body, const char* name) {
    QString fields = QString::fromUtf8(RequestFields(body, "PodajPodanie"));
    const QRegularExpression element(
        QStringLiteral("<(?:\\w+:)?%1>(.*)</(?:\\w+:)?%1>").arg(QLatin1String(name)),
        QRegularExpression::DotMatchesEverythingOption |
            QRegularExpression::InvertedGreedinessOption);
    const QRegularExpressionMatch match = element.match(fields);
    if (!match.hasMatch())
        return QStringLiteral("<no %1>").arg(QLatin1String(name));
    return match.captured(1).replace(QLatin1String("&#13;"), QLatin1String("\r"));
}

QString FormsUri(const char* path) {
    return QStringLiteral("http://") + QLatin1String(OrvConfig::FormsHost) + QLatin1String(path);
}

} // namespace

Q_DECLARE_METATYPE(TScriptedAnswer)

class TTestPodaj : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Server = std::make_unique<TTestHttpServer>(); }
    void cleanupTestCase() { Server.reset(); }
    void init();
    void cleanup();

    void callSequenceAndLifetimes();
    void argumentsReachTheComponents();
    void requestFields();
    void podanieB64IsTheFinalDocumentsUtf8();
    void nonEmptyDataObjectsPass_data();
    void nonEmptyDataObjectsPass();
    void addDataObjectStatusIsNotExamined();
    void failures_data();
    void failures();
    void componentNotRegistered();
    void componentWithoutInterface();
    void portalFailures_data();
    void portalFailures();

    void versionData_data();
    void versionData();
    void objectIdentifierFiltersButComposeGetsTheTypedId_data();
    void objectIdentifierFiltersButComposeGetsTheTypedId();
    void fileIsReadAsTextWithCrLf();
    void missingFileFailsBeforeAnyComponent();

    void toObjectId_data();
    void toObjectId();
    void timeStamp_data();
    void timeStamp();
    void decodeTextFile_data();
    void decodeTextFile();
    void readTextFileFailures();

private:
    TDMORV& Core() { return *CoreObject; }
    TCallLog& Log() { return Components->Log; }
    TComponentScript& Script() { return Components->Script; }
    void Serve(const QByteArray& body) {
        TTestHttpAnswer answer;
        answer.Body = body;
        Server->Enqueue(answer);
    }
    void Podpis(const QString& objectId = QStringLiteral("EPH_S_1_20240131093005"),
                const QString& ephId = QStringLiteral("Hárok-1")) {
        Core().PodpisAPodaj(objectId, QStringLiteral("KT_PODAJ_v01"), QStringLiteral("Popis"),
                            QStringLiteral("urn:ns"), Eph, QStringLiteral("http://f/x.xsd"),
                            QStringLiteral("<xsd/>"), QStringLiteral("http://f/x.xslt"),
                            QStringLiteral("<xsl/>"), ephId);
    }
    // The calls with the signer's data-object check left out: the test signer
    // cannot know the object beforehand.
    QStringList Calls() const {
        QStringList calls = Components->Log.Calls;
        calls.replaceInStrings(QStringLiteral("|other)"), QStringLiteral(")"));
        return calls;
    }
    QString WriteFile(const QByteArray& bytes) {
        const QString path = Dir->filePath(QStringLiteral("eph.xml"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(bytes) != bytes.size())
            qFatal("cannot write the EPH file");
        return path;
    }

    std::unique_ptr<TTestHttpServer> Server;
    std::optional<TTempRegistry> Settings;
    std::optional<TTestComponents> Components;
    std::optional<TLoggingBusy> Busy;
    std::optional<QTemporaryDir> Dir;
    std::unique_ptr<TDMORV> CoreObject;
};

void TTestPodaj::init() {
    Settings.emplace();
    Settings->SetUserText(OrvSection("\"Subjekt\"=\"SUBJ\"\r\n\"Osoba\"=\"jan\"\r\n"
                                     "\"Heslo\"=\"H+/=\"\r\n\"SignatureAlgorithm\"=\"sha256\"\r\n"
                                     "\"SignaturePolicy\"=\"urn:oid:1.2.3\"\r\n"));
    Server->ClearRequests();
    Components.emplace();
    Script().Answers[QStringLiteral("SignedDocument")].Text = Signed;
    Script().Answers[QStringLiteral("CreateSubmission")].Text = SubmissionData;
    Script().Answers[QStringLiteral("ComposeSubmission")].Text = FinalDocument;
    Busy.emplace(Log(), *Server);
    SetBusyIndicator(&*Busy);
    Dir.emplace();
    CoreObject = std::make_unique<TDMORV>(nullptr, Server->Url());
}

// Whatever happened, every component object is gone and the cursor restored.
void TTestPodaj::cleanup() {
    SetBusyIndicator(nullptr);
    QCOMPARE(Log().Destroyed, Log().Created);
    QCOMPARE(Log().Calls.count(QStringLiteral("Busy.Begin")),
             Log().Calls.count(QStringLiteral("Busy.End")));
    CoreObject.reset();
    Busy.reset();
    Components.reset();
    Settings.reset();
    Dir.reset();
}

void TTestPodaj::callSequenceAndLifetimes() {
    Serve(Accepted());
    Podpis();
    const QStringList calls = Calls();
    const QString eph = Eph;
    // Every call once, with what it is given, and nothing else.
    const QStringList expected{
        QStringLiteral("XmlPlugin.Create"),
        QStringLiteral("XmlPlugin.CreateDataObject(EPH_S_1_20240131093005|Popis|%1|<xsd/>|"
                       "urn:ns|http://f/x.xsd|<xsl/>|http://f/x.xslt)")
            .arg(eph),
        QStringLiteral("Xades.Create"),
        QStringLiteral("Xades.AddDataObject(9)"),
        QStringLiteral("Xades.SignObjects(EPH_S_1_20240131093005_sgn|sha256|urn:oid:1.2.3)"),
        QStringLiteral("Xades.SignedDocument()"),
        QStringLiteral("XmlPlugin.Release"),
        QStringLiteral("Xades.Release"),
        QStringLiteral("Mes.Create"),
        QStringLiteral("Mes.LoadSignedDocument(%1)").arg(Signed),
        QStringLiteral("Mes.CreateSubmission(http://f/x.xsd|KT_PODAJ_v01|Popis)"),
        QStringLiteral("Mes.SetSubmissionData(%1)").arg(SubmissionData),
        QStringLiteral("Mes.ComposeSubmission(urn:ns|KT_PODAJ_v01|Popis|SUBJ|Hárok-1)"),
        QStringLiteral("Mes.Release"),
        QStringLiteral("Busy.Begin"),
        QStringLiteral("Busy.End"),
    };
    for (const QString& call : expected)
        QVERIFY2(calls.count(call) == 1, qPrintable(call));
    QCOMPARE(calls.size(), expected.size());

    // Only the order that matters: each step takes what the one before gave,
    // each object lives from before its first call to after its last, the
    // signing objects are gone before the tools object comes, and the wait
    // cursor covers the sending alone.
    const QList<QStringList> chains{
        {QStringLiteral("XmlPlugin.CreateDataObject("), QStringLiteral("Xades.AddDataObject("),
         QStringLiteral("Xades.SignObjects("), QStringLiteral("Xades.SignedDocument("),
         QStringLiteral("Mes.LoadSignedDocument("), QStringLiteral("Mes.CreateSubmission("),
         QStringLiteral("Mes.SetSubmissionData("), QStringLiteral("Mes.ComposeSubmission(")},
        {QStringLiteral("XmlPlugin.Create"), QStringLiteral("XmlPlugin.CreateDataObject(")},
        {QStringLiteral("Xades.Create"), QStringLiteral("Xades.AddDataObject(")},
        {QStringLiteral("Xades.SignedDocument("), QStringLiteral("XmlPlugin.Release"),
         QStringLiteral("Mes.Create")},
        {QStringLiteral("Xades.SignedDocument("), QStringLiteral("Xades.Release"),
         QStringLiteral("Mes.Create")},
        {QStringLiteral("Mes.Create"), QStringLiteral("Mes.LoadSignedDocument(")},
        {QStringLiteral("Mes.ComposeSubmission("), QStringLiteral("Mes.Release"),
         QStringLiteral("Busy.Begin"), QStringLiteral("Busy.End")},
    };
    for (const QStringList& chain : chains) {
        for (qsizetype i = 1; i < chain.size(); ++i)
            QVERIFY2(Position(calls, chain.at(i - 1)) < Position(calls, chain.at(i)),
                     qPrintable(chain.at(i - 1) + QStringLiteral(" before ") + chain.at(i)));
    }
    QCOMPARE(calls.last(), QStringLiteral("Busy.End"));
    // The request goes last, under the wait cursor.
    QCOMPARE(Busy->SentAtBegin, 0);
    QCOMPARE(Busy->SentAtEnd, 1);
    // Plug-in, signer, tools and the one data object.
    QCOMPARE(Log().Created, 4);
    QCOMPARE(Server->RequestCount(), 1);
}

void TTestPodaj::argumentsReachTheComponents() {
    // Arguments 1, 3, 5, 7, 4, 6, 9, 8 reach CreateDataObject, each distinct.
    Serve(Accepted());
    Core().PodpisAPodaj(QStringLiteral("a1"), QStringLiteral("a2"), QStringLiteral("a3"),
                        QStringLiteral("a4"), QStringLiteral("a5"), QStringLiteral("a6"),
                        QStringLiteral("a7"), QStringLiteral("a8"), QStringLiteral("a9"),
                        QStringLiteral("a10"));
    const QStringList calls = Calls();
    QVERIFY(calls.contains(QStringLiteral("XmlPlugin.CreateDataObject(a1|a3|a5|a7|a4|a6|a9|a8)")));
    QVERIFY(calls.contains(QStringLiteral("Xades.SignObjects(a1_sgn|sha256|urn:oid:1.2.3)")));
    QVERIFY(calls.contains(QStringLiteral("Mes.CreateSubmission(a6|a2|a3)")));
    QVERIFY(calls.contains(QStringLiteral("Mes.ComposeSubmission(a4|a2|a3|SUBJ|a10)")));
    QCOMPARE(SentField(Server->LastRequest().Body, "typPodania"), QStringLiteral("a2"));
}

void TTestPodaj::requestFields() {
    Serve(Accepted());
    Podpis();
    const QByteArray body = Server->LastRequest().Body;
    QCOMPARE(Server->LastRequest().Header("SOAPAction"),
             QByteArray("\"") + OrvConfig::ContractNamespace + "/IPortal/PodajPodanie\"");
    QCOMPARE(SentField(body, "sluzba"), QStringLiteral("KT_HromadnyPodaj"));
    QCOMPARE(SentField(body, "typPodania"), QStringLiteral("KT_PODAJ_v01"));
    QCOMPARE(SentField(body, "subjekt"), QStringLiteral("SUBJ"));
    QCOMPARE(SentField(body, "osoba"), QStringLiteral("jan"));
    QCOMPARE(SentField(body, "heslo"), QStringLiteral("H+/="));
    // In the order the contract lists them.
    const QByteArray fields = RequestFields(body, "PodajPodanie");
    qsizetype last = -1;
    for (const char* name : {"podanieB64", "sluzba", "typPodania", "subjekt", "osoba", "heslo"}) {
        const qsizetype at = fields.indexOf(QByteArray("<") + name);
        QVERIFY2(at > last, name);
        last = at;
    }
}

void TTestPodaj::podanieB64IsTheFinalDocumentsUtf8() {
    Serve(Accepted());
    Podpis();
    const QString sent = SentField(Server->LastRequest().Body, "podanieB64");
    const QStringList lines = sent.split(QStringLiteral("\r\n"));
    QVERIFY(lines.size() > 2);
    for (qsizetype i = 0; i + 1 < lines.size(); ++i)
        QCOMPARE(lines.at(i).size(), 76);
    QVERIFY(!sent.contains(QLatin1Char('\n') + QString(QLatin1Char('\r'))));
    const QByteArray decoded = QByteArray::fromBase64(sent.toLatin1());
    QCOMPARE(decoded, FinalDocument.toUtf8());
    QVERIFY(!decoded.startsWith("\xEF\xBB\xBF"));
}

void TTestPodaj::nonEmptyDataObjectsPass_data() {
    QTest::addColumn<int>("type");
    QTest::newRow("null") << int(VT_NULL);
    QTest::newRow("text") << int(VT_BSTR);
    QTest::newRow("object") << int(VT_DISPATCH);
}

void TTestPodaj::nonEmptyDataObjectsPass() {
    QFETCH(int, type);
    Script().Answers[QStringLiteral("CreateDataObject")].VariantType = VARTYPE(type);
    Serve(Accepted());
    Podpis();
    QVERIFY(Calls().contains(QStringLiteral("Xades.AddDataObject(%1)").arg(type)));
    QCOMPARE(Server->RequestCount(), 1);
}

void TTestPodaj::addDataObjectStatusIsNotExamined() {
    Script().Answers[QStringLiteral("AddDataObject")].Status = -7;
    Serve(Accepted());
    Podpis();
    QCOMPARE(Server->RequestCount(), 1);
}

void TTestPodaj::failures_data() {
    QTest::addColumn<QString>("method");
    QTest::addColumn<TScriptedAnswer>("answer");
    QTest::addColumn<QString>("message");

    TScriptedAnswer empty;
    empty.VariantType = VT_EMPTY;
    QTest::newRow("empty data object")
        << "CreateDataObject" << empty << QStringLiteral("Nepodarilo sa vytvoriť objekt podania!");

    QTest::newRow("HRESULT with the component's text, trailing blanks and stops removed")
        << "CreateDataObject" << Failing(E_FAIL, QStringLiteral("Schéma sa nedá načítať. \r\n\t."))
        << QStringLiteral("Schéma sa nedá načítať");
    QTest::newRow("HRESULT without text: the system's")
        << "AddDataObject" << Failing(E_INVALIDARG)
        << ComTextOr(E_INVALIDARG, "The parameter is incorrect");
    QTest::newRow("HRESULT the system does not know")
        << "SignedDocument" << Failing(HRESULT(0x8004D00Au))
        << QStringLiteral("OLE error 8004d00a");

    TScriptedAnswer refused;
    refused.Status = 5;
    QTest::newRow("SignObjects positive") << "SignObjects" << refused << QStringLiteral("ORV: ");
    refused.Status = -1;
    QTest::newRow("SignObjects negative") << "SignObjects" << refused << QStringLiteral("ORV: ");

    TScriptedAnswer notSubmitted;
    notSubmitted.Status = 2;
    notSubmitted.Text = QStringLiteral("<Data/>");
    QTest::newRow("CreateSubmission status")
        << "CreateSubmission" << notSubmitted
        << QStringLiteral("ORV: Nepodarilo sa vytvoriť podanie!");
    QTest::newRow("LoadSignedDocument HRESULT")
        << "LoadSignedDocument"
        << Failing(E_ACCESSDENIED, QStringLiteral("Dokument nie je podpísaný"))
        << QStringLiteral("Dokument nie je podpísaný");
    QTest::newRow("ComposeSubmission HRESULT")
        << "ComposeSubmission" << Failing(E_OUTOFMEMORY)
        << ComTextOr(E_OUTOFMEMORY,
                     "Not enough memory resources are available to complete this operation");
}

void TTestPodaj::failures() {
    QFETCH(QString, method);
    QFETCH(TScriptedAnswer, answer);
    QFETCH(QString, message);
    Script().Answers[method] = answer;
    QCOMPARE(ErrorOf([&] { Podpis(); }), message);
    // Nothing is sent, the wait cursor never showed, and the failing stage's
    // components went with it.
    QCOMPARE(Server->RequestCount(), 0);
    QVERIFY(!Log().Calls.contains(QStringLiteral("Busy.Begin")));
    const bool stage1 = method != u"CreateSubmission" && method != u"LoadSignedDocument" &&
                        method != u"ComposeSubmission";
    QCOMPARE(Log().Calls.contains(QStringLiteral("Mes.Create")), !stage1);
    // The failing call is the last one made, a refused signing read for its
    // reason; only releases follow.
    const QStringList calls = Log().Calls;
    qsizetype failed = calls.size() - 1;
    while (failed >= 0 && !calls.at(failed).contains(u'.' + method + u'('))
        --failed;
    QVERIFY(failed >= 0);
    if (method == u"SignObjects")
        QCOMPARE(calls.value(++failed), QStringLiteral("Xades.LastErrorText()"));
    for (qsizetype i = failed + 1; i < calls.size(); ++i)
        QVERIFY2(calls.at(i).endsWith(QLatin1String(".Release")), qPrintable(calls.at(i)));
    // The signer object comes only with the first call to it.
    QCOMPARE(calls.contains(QStringLiteral("Xades.Create")), method != u"CreateDataObject");
}

void TTestPodaj::componentNotRegistered() {
    UnregisterComClass(CLSID_XmlPlugin);
    QCOMPARE(ErrorOf([&] { Podpis(); }),
             ComTextOr(REGDB_E_CLASSNOTREG, "Class not registered") +
                 QStringLiteral(", ClassID: {3DDEDCC5-856F-496A-A3B2-29A198C3B6D0}"));
    QCOMPARE(Log().Created, 0);
    QCOMPARE(Server->RequestCount(), 0);
}

void TTestPodaj::componentWithoutInterface() {
    const TComClassRegistration foreign(CLSID_CXadesSigAtl, [](IUnknown** object) {
        *object = MakeComObject<TForeignObject>().Detach();
        return S_OK;
    });
    QCOMPARE(ErrorOf([&] { Podpis(); }), QStringLiteral("Interface not supported"));
    QCOMPARE(Log().Calls.last(), QStringLiteral("XmlPlugin.Release"));
    QCOMPARE(Server->RequestCount(), 0);
}

void TTestPodaj::portalFailures_data() {
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    QTest::newRow("refused") << PortalAnswer("PodajPodanie",
                                             "<PodajPodanieResult>1</PodajPodanieResult>" +
                                                 Popis("Podpis nie je platný"))
                             << 200
                             << QStringLiteral("Chyba pri komunikácii s OVR: Podpis nie je platný");
    QTest::newRow("refused without description")
        << PortalAnswer("PodajPodanie", "<PodajPodanieResult>-3</PodajPodanieResult>") << 200
        << QStringLiteral("Chyba pri komunikácii s OVR: ");
    QTest::newRow("0 with a description is success")
        << PortalAnswer("PodajPodanie",
                        "<PodajPodanieResult>0</PodajPodanieResult>" + Popis("Poznámka"))
        << 200 << QString();
    QTest::newRow("no response element")
        << SoapEnvelope("") << 200
        << QStringLiteral("Chyba pri komunikácii s ORV:\r\nPodajPodanie()");
    QTest::newRow("SOAP fault") << SoapEnvelope(
                                       "<s:Fault><faultcode>s:Server</faultcode>"
                                       "<faultstring>Služba nebeží</faultstring></s:Fault>")
                                << 500 << QStringLiteral("Služba nebeží");
}

void TTestPodaj::portalFailures() {
    QFETCH(QByteArray, body);
    QFETCH(int, status);
    QFETCH(QString, message);
    TTestHttpAnswer answer;
    answer.Body = body;
    answer.Status = status;
    answer.Reason = status == 200 ? "OK" : "Internal Server Error";
    Server->Enqueue(answer);
    QCOMPARE(ErrorOf([&] { Podpis(); }), message.isNull() ? NoError : message);
    QCOMPARE(Server->RequestCount(), 1);
    QCOMPARE(Log().Calls.last(), QStringLiteral("Busy.End"));
}

void TTestPodaj::versionData_data() {
    QTest::addColumn<int>("verzia");
    QTest::addColumn<QString>("popis");
    QTest::addColumn<QString>("namespaceUri");
    QTest::addColumn<QString>("xsdUri");
    QTest::addColumn<QString>("xsltUri");
    QTest::addColumn<QString>("typPodania");
    QTest::newRow("0.1") << 1 << QStringLiteral("Elektronický podací poštový hárok")
                         << FormsUri("/DUNOR/Formulare/Podaj_v01")
                         << FormsUri("/DUNOR/Formulare/xsd/Podaj_v01.xsd")
                         << FormsUri("/DUNOR/Formulare/xslt/Podaj_v01.xslt")
                         << QStringLiteral("KT_PODAJ_v01");
    QTest::newRow("2.0") << 2 << QStringLiteral("ElektronickyPodaciPostovyHarok_v02")
                         << FormsUri("/DUNOR/Formulare/Podaj_v02")
                         << FormsUri("/DUNOR/Formulare/xsd/Podaj_v02.xsd")
                         << FormsUri("/DUNOR/Formulare/xslt/Podaj_v02.xslt")
                         << QStringLiteral("KT_PODAJ_v02");
    QTest::newRow("3.0") << 3 << QStringLiteral("ElektronickyPodaciPostovyHarok_v03")
                         << FormsUri("/DUNOR/Formulare/Podaj_v03")
                         << FormsUri("/DUNOR/Formulare/xsd/Podaj_v03.xsd")
                         << FormsUri("/DUNOR/Formulare/xslt/Podaj_v03.xslt")
                         << QStringLiteral("KT_PODAJ_v03");
}

void TTestPodaj::versionData() {
    QFETCH(int, verzia);
    QFETCH(QString, popis);
    QFETCH(QString, namespaceUri);
    QFETCH(QString, xsdUri);
    QFETCH(QString, xsltUri);
    QFETCH(QString, typPodania);
    const TFakeClock clock(At(2024, 1, 31, 9, 30, 5));
    const QString path = WriteFile(Eph.toUtf8());
    Serve(Accepted());
    const QString id = QStringLiteral("H1");
    const QString objectId = QStringLiteral("EPH_SUBJ_H1_20240131093005");
    QString xsd;
    QString xslt;
    if (verzia == 1) {
        Core().PodajEPHv01(id, path);
        xsd = Core().PodajXsd;
        xslt = Core().PodajXslt;
    } else if (verzia == 2) {
        Core().PodajEPHv02(id, path);
        xsd = Core().PodajXsdV2;
        xslt = Core().PodajXsltV2;
    } else {
        Core().PodajEPHv03(id, path);
        xsd = Core().PodajXsdV3;
        xslt = Core().PodajXsltV3;
    }
    const QStringList calls = Calls();
    QVERIFY(
        calls.contains(QStringList{objectId, popis, Eph, xsd, namespaceUri, xsdUri, xslt, xsltUri}
                           .join(u'|')
                           .prepend(QStringLiteral("XmlPlugin.CreateDataObject("))
                           .append(u')')));
    QVERIFY(calls.contains(
        QStringLiteral("Mes.CreateSubmission(%1|%2|%3)").arg(xsdUri, typPodania, popis)));
    QVERIFY(calls.contains(QStringLiteral("Mes.ComposeSubmission(%1|%2|%3|SUBJ|H1)")
                               .arg(namespaceUri, typPodania, popis)));
    QCOMPARE(SentField(Server->LastRequest().Body, "typPodania"), typPodania);
    QCOMPARE(SentField(Server->LastRequest().Body, "sluzba"), QStringLiteral("KT_HromadnyPodaj"));
    // The namespace is the target namespace of the schema that travels with it.
    QVERIFY(xsd.contains(QStringLiteral("targetNamespace=\"%1\"").arg(namespaceUri)));
}

void TTestPodaj::objectIdentifierFiltersButComposeGetsTheTypedId_data() {
    QTest::addColumn<QString>("subjekt");
    QTest::addColumn<QString>("ephId");
    QTest::addColumn<QString>("objectId");
    QTest::newRow("diacritics and a space") << "abc 12"
                                            << "Hárok-1"
                                            << "EPH_ABC12_HROK-1_20240131093005";
    QTest::newRow("empty identifier") << "abc 12"
                                      << ""
                                      << "EPH_ABC12__20240131093005";
    QTest::newRow("slashes and dots") << "s/1"
                                      << "a.b/c\\d"
                                      << "EPH_S1_A.BCD_20240131093005";
}

void TTestPodaj::objectIdentifierFiltersButComposeGetsTheTypedId() {
    QFETCH(QString, subjekt);
    QFETCH(QString, ephId);
    QFETCH(QString, objectId);
    // The milliseconds do not reach the time stamp.
    const TFakeClock clock(At(2024, 1, 31, 9, 30, 5, 999));
    Core().Subjekt = subjekt;
    Serve(Accepted());
    Core().PodajEPHv01(ephId, WriteFile(Eph.toUtf8()));
    const QStringList calls = Calls();
    QVERIFY(calls.filter(QStringLiteral("XmlPlugin.CreateDataObject(%1|").arg(objectId)).size() ==
            1);
    QVERIFY(calls.contains(
        QStringLiteral("Xades.SignObjects(%1_sgn|sha256|urn:oid:1.2.3)").arg(objectId)));
    QCOMPARE(calls.filter(QStringLiteral("Mes.ComposeSubmission(")).value(0).section(u'|', 3),
             subjekt + u'|' + ephId + u')');
    QCOMPARE(SentField(Server->LastRequest().Body, "subjekt"), subjekt);
}

void TTestPodaj::fileIsReadAsTextWithCrLf() {
    Serve(Accepted());
    Core().PodajEPHv02(QStringLiteral("X"), WriteFile("\xEF\xBB\xBF<EPH>\n<a>\xC5\xBE</a></EPH>"));
    QVERIFY(Calls()
                .filter(QStringLiteral("CreateDataObject"))
                .value(0)
                .contains(QStringLiteral("|<EPH>\r\n<a>ž</a></EPH>\r\n|")));
}

void TTestPodaj::missingFileFailsBeforeAnyComponent() {
    const QString path = Dir->filePath(QStringLiteral("chyba.xml"));
    QCOMPARE(
        ErrorOf([&] { Core().PodajEPHv03(QStringLiteral("X"), path); }),
        QStringLiteral("Cannot open file \"%1\". %2")
            .arg(QDir::toNativeSeparators(path), OpenReasonOr(path, "No such file or directory")));
    QCOMPARE(Log().Created, 0);
    QCOMPARE(Server->RequestCount(), 0);
    QVERIFY(Log().Calls.isEmpty());
}

void TTestPodaj::toObjectId_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("id");
    QTest::newRow("lower case raised") << "eph_abc"
                                       << "EPH_ABC";
    QTest::newRow("kept as they are") << "AZ09.-_"
                                      << "AZ09.-_";
    QTest::newRow("diacritics dropped") << "ŽltýKôň"
                                        << "LTK";
    QTest::newRow("blanks and separators dropped") << "a b/c\\d:e\te"
                                                   << "ABCDEE";
    QTest::newRow("non-ASCII letters and digits dropped") << "ａ١ß"
                                                          << "";
    QTest::newRow("empty") << ""
                           << "";
}

void TTestPodaj::toObjectId() {
    QFETCH(QString, text);
    QFETCH(QString, id);
    QCOMPARE(ToObjectId(text), id);
}

void TTestPodaj::timeStamp_data() {
    QTest::addColumn<TDateTime>("local");
    QTest::addColumn<QString>("stamp");
    QTest::newRow("example") << At(2024, 1, 31, 9, 30, 5) << "20240131093005";
    QTest::newRow("milliseconds dropped") << At(2024, 12, 31, 23, 59, 59, 999) << "20241231235959";
    QTest::newRow("midnight") << At(2025, 3, 1, 0, 0, 0) << "20250301000000";
}

void TTestPodaj::timeStamp() {
    QFETCH(TDateTime, local);
    QFETCH(QString, stamp);
    QCOMPARE(EphTimeStamp(local), stamp);
}

void TTestPodaj::decodeTextFile_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("byte-order mark skipped") << QByteArray("\xEF\xBB\xBF<a/>\r\n") << "<a/>\r\n";
    QTest::newRow("same without the mark") << QByteArray("<a/>\r\n") << "<a/>\r\n";
    QTest::newRow("second mark is text")
        << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFx") << QStringLiteral("\uFEFFx\r\n");
    QTest::newRow("LF") << QByteArray("a\nb\n") << "a\r\nb\r\n";
    QTest::newRow("lone CR") << QByteArray("a\rb") << "a\r\nb\r\n";
    QTest::newRow("CR before CR LF") << QByteArray("a\r\r\nb") << "a\r\n\r\nb\r\n";
    QTest::newRow("final line end added") << QByteArray("a\r\nb") << "a\r\nb\r\n";
    QTest::newRow("blank lines kept") << QByteArray("\n\na\n\n") << "\r\n\r\na\r\n\r\n";
    QTest::newRow("NUL ends the text") << QByteArray("ab\0cd\ne", 7) << "ab\r\n";
    QTest::newRow("empty") << QByteArray() << "";
    QTest::newRow("mark only") << QByteArray("\xEF\xBB\xBF") << "";
    QTest::newRow("letters beyond ASCII") << QByteArray("\xC5\xBD\xC3\xA1") << "Žá\r\n";
    QTest::newRow("single-byte code page") << QByteArray("<a>\x9E\xE1</a>\r\n") << "";
    QTest::newRow("UTF-16 with mark") << QByteArray("\xFF\xFE<\0a\0", 6) << "";
    QTest::newRow("sequence cut at the end") << QByteArray("ok\xC5") << "";
    QTest::newRow("overlong form") << QByteArray("\xC0\xAF") << "";
    QTest::newRow("encoded surrogate") << QByteArray("\xED\xA0\x80") << "";
    QTest::newRow("invalid after a NUL still empties") << QByteArray("a\0\xFF", 3) << "";
}

void TTestPodaj::decodeTextFile() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(DecodeTextFile(bytes), text);
    QCOMPARE(ReadTextFile(WriteFile(bytes)), text);
}

void TTestPodaj::readTextFileFailures() {
    const QString missing = Dir->filePath(QStringLiteral("nie.xml"));
    QCOMPARE(ErrorOf([&] { ReadTextFile(missing); }),
             QStringLiteral("Cannot open file \"%1\". %2")
                 .arg(QDir::toNativeSeparators(missing),
                      OpenReasonOr(missing, "No such file or directory")));
    QCOMPARE(ErrorOf([&] { ReadTextFile(QString()); }),
             QStringLiteral("Cannot open file \"\". %1")
                 .arg(OpenReasonOr(QString(), "No such file or directory")));
    QCOMPARE(ErrorOf([&] { ReadTextFile(Dir->path()); }),
             QStringLiteral("Cannot open file \"%1\". %2")
                 .arg(QDir::toNativeSeparators(Dir->path()),
                      OpenReasonOr(Dir->path(), "Is a directory")));
    // A relative path is reported in full.
    const QString previous = QDir::currentPath();
    QDir::setCurrent(Dir->path());
    const QString relative = ErrorOf([&] { ReadTextFile(QStringLiteral("iny.xml")); });
    QDir::setCurrent(previous);
    const QString full = QDir(Dir->path()).filePath(QStringLiteral("iny.xml"));
    QCOMPARE(relative, QStringLiteral("Cannot open file \"%1\". %2")
                           .arg(QDir::toNativeSeparators(full),
                                OpenReasonOr(full, "No such file or directory")));
#ifndef Q_OS_WIN
    // A writer holding the file locked keeps it from being read; another
    // reader does not.
    const QString path = WriteFile("<a/>");
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR);
    QVERIFY(fd >= 0);
    QCOMPARE(::flock(fd, LOCK_EX), 0);
    QCOMPARE(ErrorOf([&] { ReadTextFile(path); }),
             QStringLiteral("Cannot open file \"%1\". The process cannot access the file because "
                            "it is being used by another process.")
                 .arg(path));
    QCOMPARE(::flock(fd, LOCK_SH), 0);
    QCOMPARE(ReadTextFile(path), QStringLiteral("<a/>\r\n"));
    ::close(fd);
#endif
}

QTEST_GUILESS_MAIN(TTestPodaj)
#include "tst_podaj.moc"
