// The EPH submission's signing and sending through the system's COM, with
// the test signer DLL as the three components and a scripted transport as
// the portal: the order of the calls, the lifetimes of the objects and every
// failure the user can meet on the way.

#include "UBusyCursor.h"
#include "UComBase.h"
#include "UDMORV.h"
#include "UErrorOf.h"
#include "UPortalAnswers.h"
#include "UTestSignerSession.h"

#include <QTest>

#include <deque>
#include <memory>
#include <optional>

namespace {

const QString Eph = QStringLiteral("<EPH xmlns=\"urn:x\">\r\n<Meno>Ďurica</Meno>\r\n</EPH>\r\n");
const QString Signed = QStringLiteral("<ds:Signature Id=\"s\">podpísané</ds:Signature>");
const QString SubmissionData = QStringLiteral("<Data typ=\"KT\"/>");
// Several Base64 lines, letters beyond ASCII and beyond the basic plane.
const QString FinalDocument = QStringLiteral("<Podanie>") + QString(60, QChar(u'ž')) +
                              QString::fromUtf16(u"\U0001F4E8") + QStringLiteral("</Podanie>\r\n");

QByteArray Accepted() {
    return PortalAnswer("PodajPodanie", "<PodajPodanieResult>0</PodajPodanieResult>" + Popis(""));
}

// The portal: records each post in the log and answers from a queue.
class TScriptedTransport final : public ITransport {
public:
    TScriptedTransport(const TTestSignerSession& session, std::deque<THttpResponse>& answers,
                       QList<QByteArray>& bodies)
        : Session(session)
        , Answers(answers)
        , Bodies(bodies) {}

    THttpResponse Post(const THttpRequest& request) override {
        Session.Note(
            QStringLiteral("Portal.Post(%1)").arg(QString::fromLatin1(request.SoapAction)));
        Bodies.append(request.Body);
        if (Answers.empty())
            throw TOrvError(QStringLiteral("Spojenie zlyhalo - URL:%1").arg(request.Url));
        THttpResponse answer = std::move(Answers.front());
        Answers.pop_front();
        return answer;
    }

private:
    const TTestSignerSession& Session;
    std::deque<THttpResponse>& Answers;
    QList<QByteArray>& Bodies;
};

// The wait cursor's Begin and End, in the same log as the component calls.
class TLoggingBusy final : public IBusyIndicator {
public:
    explicit TLoggingBusy(const TTestSignerSession& session)
        : Session(session) {}
    void Begin() override { Session.Note(QStringLiteral("Busy.Begin")); }
    void End() override { Session.Note(QStringLiteral("Busy.End")); }

private:
    const TTestSignerSession& Session;
};

// The text of one request field as sent.
QString SentField(const QByteArray& body, const char* name) {
    const QString fields = QString::fromUtf8(RequestFields(body, "PodajPodanie"));
    const QRegularExpression element(
        QStringLiteral("<(?:\\w+:)?%1>(.*)</(?:\\w+:)?%1>").arg(QLatin1String(name)),
        QRegularExpression::DotMatchesEverythingOption |
            QRegularExpression::InvertedGreedinessOption);
    const QRegularExpressionMatch match = element.match(fields);
    if (!match.hasMatch())
        return QStringLiteral("<no %1>").arg(QLatin1String(name));
    return match.captured(1).replace(QLatin1String("&#13;"), QLatin1String("\r"));
}

const QString PluginId = QStringLiteral("{3DDEDCC5-856F-496A-A3B2-29A198C3B6D0}");
const QString SignerId = QStringLiteral("{99A7C5AE-CC31-4804-8ADD-F7848AC13143}");
const QString ToolsId = QStringLiteral("{08EE3998-E42D-4FBD-9B4A-6CA3D425DD56}");

} // namespace

class tst_PodajCom : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void callSequenceAndLifetimes();
    void dataObjectOutlivesTheSigning();
    void requestCarriesTheFinalDocument();
    void nonEmptyDataObjectsPass_data();
    void nonEmptyDataObjectsPass();
    void addDataObjectStatusIsNotExamined();
    void failures_data();
    void failures();
    void portalFailures_data();
    void portalFailures();
    void fileIsReadAsText();

private:
    void Podpis() {
        Core->PodpisAPodaj(QStringLiteral("EPH_SUBJ_H1_20240131093005"),
                           QStringLiteral("KT_PODAJ_v01"), QStringLiteral("Popis"),
                           QStringLiteral("urn:ns"), Eph, QStringLiteral("http://f/x.xsd"),
                           QStringLiteral("<xsd/>"), QStringLiteral("http://f/x.xslt"),
                           QStringLiteral("<xsl/>"), QStringLiteral("Hárok-1"));
    }
    void Serve(const QByteArray& body, int status = 200) {
        Answers.push_back({status, status == 200 ? "OK" : "Internal Server Error",
                           "text/xml; charset=utf-8", body});
    }
    QStringList Log() const { return Session->Log(); }

    std::optional<TTestSignerSession> Session;
    std::optional<TLoggingBusy> Busy;
    std::deque<THttpResponse> Answers;
    QList<QByteArray> Bodies;
    std::unique_ptr<TDMORV> Core;
};

void tst_PodajCom::initTestCase() {
    QCOMPARE(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    Session.emplace();
    Busy.emplace(*Session);
    SetBusyIndicator(&*Busy);
}

void tst_PodajCom::cleanupTestCase() {
    SetBusyIndicator(nullptr);
    Busy.reset();
    Session.reset();
    CoUninitialize();
}

void tst_PodajCom::init() {
    Session->Clear();
    Session->Answer(QStringLiteral("Xades.SignedDocument"), {{QStringLiteral("text"), Signed}});
    Session->Answer(QStringLiteral("Mes.CreateSubmission"),
                    {{QStringLiteral("text"), SubmissionData}});
    Session->Answer(QStringLiteral("Mes.ComposeSubmission"),
                    {{QStringLiteral("text"), FinalDocument}});
    Answers.clear();
    Bodies.clear();
    const QString url = QStringLiteral("http://127.0.0.1:9/TirsaOrvWeb/PortalService.svc");
    Core = std::make_unique<TDMORV>(nullptr, url);
    // The portal through the scripted transport, bound as the core binds it.
    auto proxy = std::make_unique<TPortalProxy>(
        std::make_unique<TScriptedTransport>(*Session, Answers, Bodies));
    Core->Portal = &BindPortal(*proxy, url);
    proxy->LiteralParams = true;
    Core->PortalProxy = std::move(proxy);
    Core->Subjekt = QStringLiteral("SUBJ");
    Core->Osoba = QStringLiteral("jan");
    Core->Heslo = QStringLiteral("H+/=");
    Core->SignatureAlgorithm = QStringLiteral("sha256");
    Core->SignaturePolicy = QStringLiteral("urn:oid:1.2.3");
}

// Whatever happened, every object of the DLL is gone and the cursor restored.
void tst_PodajCom::cleanup() {
    Core.reset();
    for (const char* name : {"XmlPlugin", "Xades", "Mes", "DataObject"}) {
        const QString component = QLatin1String(name);
        QCOMPARE(Session->Count(component + QStringLiteral(".Release")),
                 Session->Count(component + QStringLiteral(".Create")));
    }
    QCOMPARE(Session->Count(QStringLiteral("Busy.Begin")),
             Session->Count(QStringLiteral("Busy.End")));
}

void tst_PodajCom::callSequenceAndLifetimes() {
    Serve(Accepted());
    Podpis();
    const auto esc = &TTestSignerSession::EscapeArgument;
    QCOMPARE(Log(),
             (QStringList{
                 QStringLiteral("XmlPlugin.Create"),
                 QStringLiteral("XmlPlugin.CreateDataObject(EPH_SUBJ_H1_20240131093005|Popis|%1|"
                                "<xsd/>|urn:ns|http://f/x.xsd|<xsl/>|http://f/x.xslt)")
                     .arg(esc(Eph)),
                 QStringLiteral("DataObject.Create"),
                 QStringLiteral("Xades.Create"),
                 QStringLiteral("Xades.AddDataObject(9|same)"),
                 QStringLiteral(
                     "Xades.SignObjects(EPH_SUBJ_H1_20240131093005_sgn|sha256|urn:oid:1.2.3)"),
                 QStringLiteral("Xades.SignedDocument()"),
                 QStringLiteral("XmlPlugin.Release"),
                 // The signer held the data object until it went itself.
                 QStringLiteral("DataObject.Release"),
                 QStringLiteral("Xades.Release"),
                 QStringLiteral("Mes.Create"),
                 QStringLiteral("Mes.LoadSignedDocument(%1)").arg(esc(Signed)),
                 QStringLiteral("Mes.CreateSubmission(http://f/x.xsd|KT_PODAJ_v01|Popis)"),
                 QStringLiteral("Mes.SetSubmissionData(%1)").arg(esc(SubmissionData)),
                 QStringLiteral("Mes.ComposeSubmission(urn:ns|KT_PODAJ_v01|Popis|SUBJ|Hárok-1)"),
                 QStringLiteral("Mes.Release"),
                 QStringLiteral("Busy.Begin"),
                 QStringLiteral("Portal.Post(%1/IPortal/PodajPodanie)")
                     .arg(QLatin1String(OrvConfig::ContractNamespace)),
                 QStringLiteral("Busy.End"),
             }));
}

void tst_PodajCom::dataObjectOutlivesTheSigning() {
    // A signer that keeps no reference of its own still signs a live object.
    Session->Answer(QStringLiteral("Xades"), {{QStringLiteral("keep"), QStringLiteral("0")}});
    Serve(Accepted());
    Podpis();
    const QStringList log = Log();
    const qsizetype released = log.indexOf(QStringLiteral("DataObject.Release"));
    QVERIFY(released >
            log.indexOf(QStringLiteral(
                "Xades.SignObjects(EPH_SUBJ_H1_20240131093005_sgn|sha256|urn:oid:1.2.3)")));
    QVERIFY(released < log.indexOf(QStringLiteral("Xades.Release")));
}

void tst_PodajCom::requestCarriesTheFinalDocument() {
    Serve(Accepted());
    Podpis();
    QCOMPARE(Bodies.size(), 1);
    const QByteArray body = Bodies.first();
    const QString sent = SentField(body, "podanieB64");
    const QStringList lines = sent.split(QStringLiteral("\r\n"));
    QVERIFY(lines.size() > 2);
    for (qsizetype i = 0; i + 1 < lines.size(); ++i)
        QCOMPARE(lines.at(i).size(), 76);
    // What the tools component gave, to the last character, as UTF-8.
    QCOMPARE(QByteArray::fromBase64(sent.toLatin1()), FinalDocument.toUtf8());
    QCOMPARE(SentField(body, "sluzba"), QStringLiteral("KT_HromadnyPodaj"));
    QCOMPARE(SentField(body, "typPodania"), QStringLiteral("KT_PODAJ_v01"));
    QCOMPARE(SentField(body, "subjekt"), QStringLiteral("SUBJ"));
    QCOMPARE(SentField(body, "osoba"), QStringLiteral("jan"));
    QCOMPARE(SentField(body, "heslo"), QStringLiteral("H+/="));
}

void tst_PodajCom::nonEmptyDataObjectsPass_data() {
    QTest::addColumn<int>("type");
    QTest::newRow("null") << int{VT_NULL};
    QTest::newRow("text") << int{VT_BSTR};
}

void tst_PodajCom::nonEmptyDataObjectsPass() {
    QFETCH(int, type);
    Session->Answer(QStringLiteral("XmlPlugin.CreateDataObject"),
                    {{QStringLiteral("vt"), QString::number(type)}});
    Serve(Accepted());
    Podpis();
    QVERIFY(Log().contains(QStringLiteral("Xades.AddDataObject(%1|other)").arg(type)));
    QCOMPARE(Bodies.size(), 1);
}

void tst_PodajCom::addDataObjectStatusIsNotExamined() {
    Session->Answer(QStringLiteral("Xades.AddDataObject"),
                    {{QStringLiteral("status"), QStringLiteral("-7")}});
    Serve(Accepted());
    Podpis();
    QCOMPARE(Bodies.size(), 1);
}

void tst_PodajCom::failures_data() {
    QTest::addColumn<QStringList>("script"); // lines as the DLL reads them
    QTest::addColumn<int>("hr");             // "%1" in the message: the system's text for it
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("toolsMade"); // the tools object came into being

    QTest::newRow("empty data object")
        << QStringList{QStringLiteral("XmlPlugin.CreateDataObject\tvt=0")} << 0
        << QStringLiteral("Nepodarilo sa vytvoriť objekt podania!") << false;
    QTest::newRow("component's description, trailing blanks and stops removed")
        << QStringList{QStringLiteral(
               "XmlPlugin.CreateDataObject\thr=80004005\tdesc=Schéma sa nedá načítať. \\r\\n\\t.")}
        << 0 << QStringLiteral("Schéma sa nedá načítať") << false;
    QTest::newRow("no description: the system's text")
        << QStringList{QStringLiteral("Xades.AddDataObject\thr=80070057")} << int{E_INVALIDARG}
        << QStringLiteral("%1") << false;
    QTest::newRow("description of a signer that says it leaves none")
        << QStringList{QStringLiteral("Xades\terrorinfo=no"),
                       QStringLiteral("Xades.AddDataObject\thr=80070057\tdesc=Cudzí text")}
        << int{E_INVALIDARG} << QStringLiteral("%1") << false;
    QTest::newRow("a code the system does not know")
        << QStringList{QStringLiteral("Xades.SignedDocument\thr=a0041234")} << 0
        << QStringLiteral("OLE error a0041234") << false;
    QTest::newRow("signing refused, positive")
        << QStringList{QStringLiteral("Xades.SignObjects\tstatus=5"),
                       QStringLiteral("Xades.LastErrorText\ttext=Certifikát vypršal")}
        << 0 << QStringLiteral("ORV: Certifikát vypršal") << false;
    QTest::newRow("signing refused, negative, no text")
        << QStringList{QStringLiteral("Xades.SignObjects\tstatus=-1")} << 0
        << QStringLiteral("ORV: ") << false;
    QTest::newRow("submission refused: the tools' reason is not read")
        << QStringList{QStringLiteral("Mes.CreateSubmission\tstatus=2\ttext=<Data/>"),
                       QStringLiteral("Mes.LastError\ttext=Vlastný dôvod")}
        << 0 << QStringLiteral("ORV: Nepodarilo sa vytvoriť podanie!") << true;
    QTest::newRow("signed document refused")
        << QStringList{QStringLiteral(
               "Mes.LoadSignedDocument\thr=80070005\tdesc=Dokument nie je podpísaný")}
        << 0 << QStringLiteral("Dokument nie je podpísaný") << true;
    QTest::newRow("description of tools without ISupportErrorInfo")
        << QStringList{QStringLiteral("Mes\terrorinfo=none"),
                       QStringLiteral("Mes.ComposeSubmission\thr=8007000e\tdesc=Cudzí text")}
        << int{E_OUTOFMEMORY} << QStringLiteral("%1") << true;
    QTest::newRow("plug-in not installed")
        << QStringList{QStringLiteral("XmlPlugin\tgetclass=80040154")} << int{REGDB_E_CLASSNOTREG}
        << QStringLiteral("%1, ClassID: ") + PluginId << false;
    QTest::newRow("signer fails to start")
        << QStringList{QStringLiteral("Xades\tcreate=80080005")} << int{CO_E_SERVER_EXEC_FAILURE}
        << QStringLiteral("%1, ClassID: ") + SignerId << false;
    QTest::newRow("tools not installed")
        << QStringList{QStringLiteral("Mes\tgetclass=80040154")} << int{REGDB_E_CLASSNOTREG}
        << QStringLiteral("%1, ClassID: ") + ToolsId << false;
    QTest::newRow("signer without its interface")
        << QStringList{QStringLiteral("Xades\tiface=0")} << 0
        << QStringLiteral("Interface not supported") << false;
}

void tst_PodajCom::failures() {
    QFETCH(QStringList, script);
    QFETCH(int, hr);
    QFETCH(QString, message);
    QFETCH(bool, toolsMade);
    for (const QString& line : script)
        Session->AnswerLine(line);
    if (message.contains(QStringLiteral("%1")))
        message = message.arg(SystemTextOr(hr));
    QCOMPARE(ErrorOf([&] { Podpis(); }), message);
    // Nothing sent, the wait cursor never shown; the failing stage's objects
    // went with it (checked in cleanup) and the next stage never began.
    QVERIFY(Bodies.isEmpty());
    const QStringList log = Log();
    QVERIFY(!log.contains(QStringLiteral("Busy.Begin")));
    QCOMPARE(log.contains(QStringLiteral("Mes.Create")), toolsMade);
}

void tst_PodajCom::portalFailures_data() {
    QTest::addColumn<bool>("answered");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    QTest::newRow("refused with a description")
        << true
        << PortalAnswer("PodajPodanie", "<PodajPodanieResult>1</PodajPodanieResult>" +
                                            Popis("Podpis nie je platný"))
        << 200 << QStringLiteral("Chyba pri komunikácii s OVR: Podpis nie je platný");
    QTest::newRow("SOAP fault") << true
                                << SoapEnvelope(
                                       "<s:Fault><faultcode>s:Server</faultcode>"
                                       "<faultstring>Služba nebeží</faultstring></s:Fault>")
                                << 500 << QStringLiteral("Služba nebeží");
    QTest::newRow("transport error unchanged")
        << false << QByteArray() << 0
        << QStringLiteral(
               "Spojenie zlyhalo - URL:http://127.0.0.1:9/TirsaOrvWeb/PortalService.svc");
}

void tst_PodajCom::portalFailures() {
    QFETCH(bool, answered);
    QFETCH(QByteArray, body);
    QFETCH(int, status);
    QFETCH(QString, message);
    if (answered)
        Serve(body, status);
    QCOMPARE(ErrorOf([&] { Podpis(); }), message);
    QCOMPARE(Bodies.size(), 1);
    QCOMPARE(Log().last(), QStringLiteral("Busy.End"));
}

void tst_PodajCom::fileIsReadAsText() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("hárok.xml"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("\xEF\xBB\xBF<EPH>\n<a>\xC5\xBE</a></EPH>");
    file.close();
    Serve(Accepted());
    Core->PodajEPHv02(QStringLiteral("X"), path);
    QVERIFY(Log()
                .filter(QStringLiteral("XmlPlugin.CreateDataObject("))
                .value(0)
                .contains(QStringLiteral("|<EPH>\\r\\n<a>ž</a></EPH>\\r\\n|")));
}

QTEST_GUILESS_MAIN(tst_PodajCom)
#include "tst_podaj_com.moc"
