// The EPH submission end to end: the sample of each version signed by the
// stand-in signer through the signer host and sent to the simulator over
// HTTP, then listed and opened again.

#include "UDMORV.h"
#include "UErrorOf.h"
#include "UOrvError.h"
#include "USignerHost.h"
#include "USimCrypto.h"
#include "USimServer.h"
#include "USimSignatureCheck.h"
#include "UTempRegistry.h"
#include "UTestHttpServer.h"
#include "UTestPki.h"
#include "UXadesVerifier.h"
#include "UXmlSafe.h"

#include <QRegularExpression>
#include <QUrl>

#include <QTest>
#include <httplib.h>

#include <functional>
#include <optional>

namespace {

struct TSignedContent {
    QString SignatureId;
    QString DigestAlgorithm;
    QString PolicyIdentifier;
};

// Raises TOrvError when the content holds no signature that verifies with
// a certificate issued by trustedPem.
TSignedContent VerifySignedContent(const QString& content, const QByteArray& trustedPem) {
    const TXmlDocPtr doc = ParseXmlSafely(content, QStringLiteral("podanie"));
    const TXadesVerified verified = VerifyXades(doc.get(), FindSignature(doc.get()), trustedPem);
    return {verified.SignatureId, verified.DigestAlgorithm, verified.PolicyIdentifier};
}

const QString PolicyId = QStringLiteral("urn:oid:1.3.158.48207315.0.0.1.10.4.0.11.1");
const QString KeyPassword = QStringLiteral("kľúč-1");
const QByteArray PolicyDigest = "Qm9ndXMgcG9saWN5IGRpZ2VzdCBmb3IgdGVzdHMgb25seSE=";

// The request with one letter of the signed EPH changed, as a party between
// the client and the portal could change it.
QByteArray Altered(const QByteArray& body) {
    const qsizetype start = body.indexOf("<podanieB64>") + 12;
    const qsizetype end = body.indexOf("</podanieB64>");
    QByteArray base64 = body.mid(start, end - start);
    base64.replace("&#13;", "").replace("\n", "");
    QByteArray document = QByteArray::fromBase64(base64);
    document.replace("Košice", "Kosice");
    return body.left(start) + document.toBase64() + body.mid(end);
}

QString Sample(const char* name) {
    return QStringLiteral(ORV_EXAMPLES_DIR "/") + QLatin1String(name);
}

QString EphIdInside(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing sample");
    const QString text = QString::fromUtf8(file.readAll());
    return QRegularExpression(QStringLiteral("<EPHID>([^<]*)</EPHID>")).match(text).captured(1);
}

class TScriptedPrompt final : public ISignerPasswordPrompt {
public:
    std::optional<QString> AskPassword(const TSignerPrompt& prompt) override {
        Shown = prompt;
        ++Asked;
        return Answer;
    }
    std::optional<QString> Answer = KeyPassword;
    TSignerPrompt Shown;
    int Asked = 0;
};

} // namespace

class TTestPodajSim : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void samplesAreSubmittedListedAndOpened_data();
    void samplesAreSubmittedListedAndOpened();
    void declinedSigningSendsNothing();
    void documentTheSchemaRefusesSendsNothing();
    void portalRefusesADocumentOfAnotherVersion();
    void portalRefusesASignatureAlteredInTransit();

private:
    int PodaniaCount() {
        const auto rows = Core->ListPodanie(QString(), 0, 0);
        return rows ? int(rows->size()) : -1;
    }

    TTestPki Pki;
    std::optional<TTempRegistry> Settings;
    std::unique_ptr<Sim::TSimServer> Server;
    std::shared_ptr<TScriptedPrompt> Prompt;
    std::optional<TSignerHost> Signer;
    std::unique_ptr<TDMORV> Core;
};

void TTestPodajSim::initTestCase() {
    Settings.emplace();
    const QString keyFile = Settings->Dir.filePath(QStringLiteral("signer.p12"));
    TTempRegistry::Write(keyFile, Pki.Pkcs12(KeyPassword, false));
    Settings->SetUserText(OrvSection("\"Subjekt\"=\"S-PODAJ\"\r\n\"Osoba\"=\"eva\"\r\n"
                                     "\"SignatureAlgorithm\"=\"sha256\"\r\n\"SignaturePolicy\"=\"" +
                                     PolicyId.toUtf8() + "\"\r\n") +
                          "[HKEY_CURRENT_USER\\SOFTWARE\\Nomir\\DSigXades]\r\n\"Pkcs12File\"=\"" +
                          keyFile.toUtf8() + "\"\r\n");
    Settings->SetMachineText(
        "Windows Registry Editor Version 5.00\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Nomir\\DSigXades\\SignaturePolicies]\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Nomir\\DSigXades\\SignaturePolicies\\" +
        PolicyId.toUtf8() +
        "]\r\n\"DigestAlgUri\"=\"http://www.w3.org/2001/04/xmlenc#sha256\"\r\n"
        "\"PolicyDigest\"=\"" +
        PolicyDigest + "\"\r\n");

    // The portal checks the signature and the schema of every submission.
    Sim::TSimSignatureCheckOptions check;
    check.TrustedPem = Pki.CaPem().toStdString();
    check.Policies = {{PolicyId.toStdString(), PolicyDigest.toStdString()}};
    check.SchemaDir = ORV_FORMS_DIR;
    Sim::TSimServerOptions options;
    options.Portal.SubmissionCheck = std::make_shared<Sim::TSimSignatureCheck>(check);
    options.DbPath =
        QFile::encodeName(Settings->Dir.filePath(QStringLiteral("portal.db"))).toStdString();
    Server = std::make_unique<Sim::TSimServer>(options);
    Server->Database().AddAccount({"S-PODAJ", "eva", Sim::HesloDigest("Eva-heslo")});
    Server->Start();

    Prompt = std::make_shared<TScriptedPrompt>();
    Signer.emplace(Prompt);
    Core = std::make_unique<TDMORV>(nullptr, QString::fromStdString(Server->Url()));
    Core->Heslo = TDMORV::HashHeslo(QStringLiteral("Eva-heslo"));
}

void TTestPodajSim::cleanupTestCase() {
    Core.reset();
    Signer.reset();
    Server.reset();
    Settings.reset();
}

void TTestPodajSim::init() {
    Prompt->Answer = KeyPassword;
    Prompt->Asked = 0;
}

void TTestPodajSim::samplesAreSubmittedListedAndOpened_data() {
    QTest::addColumn<int>("verzia");
    QTest::addColumn<QString>("sample");
    QTest::addColumn<QString>("typPodania");
    QTest::newRow("0.1") << 1 << Sample("eph-v01.xml") << QStringLiteral("KT_PODAJ_v01");
    QTest::newRow("2.0") << 2 << Sample("eph-v02.xml") << QStringLiteral("KT_PODAJ_v02");
    QTest::newRow("3.0") << 3 << Sample("eph-v03.xml") << QStringLiteral("KT_PODAJ_v03");
}

void TTestPodajSim::samplesAreSubmittedListedAndOpened() {
    QFETCH(int, verzia);
    QFETCH(QString, sample);
    QFETCH(QString, typPodania);
    const QString ephId = EphIdInside(sample);
    QVERIFY(!ephId.isEmpty());
    const int before = PodaniaCount();

    if (verzia == 1)
        Core->PodajEPHv01(ephId, sample);
    else if (verzia == 2)
        Core->PodajEPHv02(ephId, sample);
    else
        Core->PodajEPHv03(ephId, sample);

    // The person saw what they signed.
    QCOMPARE(Prompt->Asked, 1);
    QVERIFY(Prompt->Shown.CertificateSubject.contains(QLatin1String(TTestPki::SignerName)));
    QVERIFY(!Prompt->Shown.Rendering.isEmpty());

    const auto rows = Core->ListPodanie(QString(), 0, 0);
    QVERIFY(rows);
    QCOMPARE(int(rows->size()), before + 1);
    const TPodanie& row = rows->first(); // newest first
    QCOMPARE(row.KodTypuPodania, typPodania);
    QCOMPARE(row.KodSluzby, QStringLiteral("KT_HromadnyPodaj"));
    QCOMPARE(row.IdSubjektu, QStringLiteral("S-PODAJ"));
    QCOMPARE(row.StavOverenia, QStringLiteral("Overené"));

    TPodanie opened;
    Core->GetPodanie(row.IdPodania, opened);
    QVERIFY(opened.Obsah.contains(ephId));
    // The signature still verifies in the content as delivered: the portal's
    // envelope around it must not have renamed its namespaces.
    TSignedContent fetched;
    QCOMPARE(ErrorOf([&] { fetched = VerifySignedContent(opened.Obsah, Pki.CaPem()); }), NoError);
    QVERIFY(fetched.SignatureId.endsWith(QStringLiteral("_sgn")));
    QVERIFY(!opened.Obsah.contains(QLatin1String("default:")));
    // What the portal received carries a signature that verifies.
    const auto stored = Server->Database().GetPodanie(row.IdPodania.toStdString(), {"S-PODAJ"});
    QVERIFY(stored);
    const TSignedContent verified =
        VerifySignedContent(QString::fromStdString(stored->Document), Pki.CaPem());
    QVERIFY(verified.SignatureId.startsWith(QStringLiteral("EPH_S-PODAJ_")));
    QVERIFY(verified.SignatureId.endsWith(QStringLiteral("_sgn")));
    QCOMPARE(verified.DigestAlgorithm, QStringLiteral("sha256"));
    QCOMPARE(verified.PolicyIdentifier, PolicyId);
}

void TTestPodajSim::declinedSigningSendsNothing() {
    Prompt->Answer.reset();
    const int before = PodaniaCount();
    const QString error =
        ErrorOf([&] { Core->PodajEPHv03(QStringLiteral("X"), Sample("eph-v03.xml")); });
    QVERIFY2(error.startsWith(QStringLiteral("ORV: ")) && error.size() > 5, qPrintable(error));
    QCOMPARE(PodaniaCount(), before);
}

void TTestPodajSim::documentTheSchemaRefusesSendsNothing() {
    // The v03 sample under the v01 schema: another namespace.
    const int before = PodaniaCount();
    QCOMPARE(ErrorOf([&] { Core->PodajEPHv01(QStringLiteral("X"), Sample("eph-v03.xml")); }),
             QStringLiteral("Nepodarilo sa vytvoriť objekt podania!"));
    QCOMPARE(Prompt->Asked, 0);
    QCOMPARE(PodaniaCount(), before);
}

void TTestPodajSim::portalRefusesADocumentOfAnotherVersion() {
    // Signed as a valid v01 sheet, but sent as v03: the portal's schema says no.
    QFile file(Sample("eph-v01.xml"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const int before = PodaniaCount();
    const TEphVersionData v01 = EphVersionData(TEphVerzia::V01);
    const QString error = ErrorOf([&] {
        Core->PodpisAPodaj(QStringLiteral("EPH_X_1"), QStringLiteral("KT_PODAJ_v03"), v01.Popis,
                           v01.NamespaceUri, QString::fromUtf8(file.readAll()), v01.XsdUri,
                           Core->PodajXsd, v01.XsltUri, Core->PodajXslt, QStringLiteral("1"));
    });
    QVERIFY2(error.startsWith(QStringLiteral("Chyba pri komunikácii s OVR: ")) && error.size() > 30,
             qPrintable(error));
    QCOMPARE(PodaniaCount(), before);
}

void TTestPodajSim::portalRefusesASignatureAlteredInTransit() {
    const QUrl target(QString::fromStdString(Server->Url()));
    TTestHttpServer relay;
    relay.SetResponder([&](const TTestHttpRequest& request) {
        httplib::Client portal("127.0.0.1", target.port());
        httplib::Headers headers{{"SOAPAction", request.Header("SOAPAction").toStdString()}};
        const QByteArray body = Altered(request.Body);
        const auto reply = portal.Post(target.path().toStdString(), headers, body.toStdString(),
                                       request.Header("Content-Type").toStdString());
        TTestHttpAnswer answer;
        answer.Status = reply ? reply->status : 502;
        answer.Body = reply ? QByteArray::fromStdString(reply->body) : QByteArray();
        return answer;
    });
    TDMORV core(nullptr, relay.Url());
    core.Heslo = Core->Heslo;
    const int before = PodaniaCount();
    const QString error =
        ErrorOf([&] { core.PodajEPHv03(QStringLiteral("X"), Sample("eph-v03.xml")); });
    QVERIFY2(error.startsWith(QStringLiteral("Chyba pri komunikácii s OVR: ")) && error.size() > 30,
             qPrintable(error));
    QCOMPARE(relay.RequestCount(), 1);
    QCOMPARE(PodaniaCount(), before);
}

QTEST_GUILESS_MAIN(TTestPodajSim)
#include "tst_podaj_sim.moc"
