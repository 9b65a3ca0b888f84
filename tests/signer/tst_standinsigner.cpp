#include "UTestPki.h"

#include "Nomir_Zep_DSigXadesAtl_TLB.h"
#include "Nomir_Zep_DSigXades_XmlPlugin_TLB.h"
#include "Nomir_Zep_Tools_TLB.h"
#include "UOrvError.h"
#include "USignerComponents.h"
#include "UXadesVerifier.h"
#include "UXmlSafe.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

#include <optional>

namespace {

const QString PolicyId = QStringLiteral("urn:oid:1.3.158.48207315.0.0.1.10.4.0.11.1");
const QString PolicyDigest = QStringLiteral("q1w2e3r4t5y6u7i8o9p0q1w2e3r4t5y6u7i8o9p0asd=");
const QString Sha256Uri = QStringLiteral("http://www.w3.org/2001/04/xmlenc#sha256");
const QString Namespace = QStringLiteral("urn:orv-test:podaj");

QString Fixture(const char* name) {
    QFile file(QStringLiteral(ORV_TEST_DATA_DIR "/signer/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", name);
    return QString::fromUtf8(file.readAll());
}

class TTestEnvironment final : public ISignerEnvironment {
public:
    TSignerSettings Settings() override { return SignerSettings; }
    std::optional<QString> AskPassword(const TSigningConsent& consent) override {
        Shown = consent;
        ++Asked;
        return Answer;
    }
    QDateTime Now() override { return QDateTime(QDate(2024, 1, 31), QTime(8, 30, 5), Qt::UTC); }

    TSignerSettings SignerSettings;
    std::optional<QString> Answer;
    TSigningConsent Shown;
    int Asked = 0;
};

struct TSignResult {
    std::int32_t Status = -1;
    QString ErrorText;
    QString Document;
};

} // namespace

class tst_StandInSigner : public QObject {
    Q_OBJECT

private:
    TTestPki Pki;
    QTemporaryDir Dir;
    std::shared_ptr<TTestEnvironment> Environment;
    std::optional<TSignerComponents> Components;
    QString Xsd = Fixture("podaj-test.xsd");
    QString Xslt = Fixture("podaj-test.xslt");
    QString ValidEph = Fixture("eph-valid.xml");

    QString WriteKeyFile(const char* name, const QByteArray& bytes) {
        const QString path = Dir.filePath(QLatin1String(name));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", name);
        return path;
    }

    TVariant DataObject(TXmlPlugin& plugin, const QString& eph,
                        const QString& id = QStringLiteral("EPH_ABC_1")) {
        return plugin.CreateDataObject(id, QStringLiteral("Elektronický podací poštový hárok"), eph,
                                       Xsd, Namespace, QStringLiteral("http://forms.test/x.xsd"),
                                       Xslt, QStringLiteral("http://forms.test/x.xslt"));
    }

    TSignResult Sign(const QString& eph, const QString& digest = QStringLiteral("sha256"),
                     const QString& policy = PolicyId) {
        TSignResult result;
        TCXadesSigAtl signer;
        TXmlPlugin plugin;
        TVariant data = DataObject(plugin, eph);
        if (data.IsEmpty())
            qFatal("refused: %s", qPrintable(plugin.ErrorMessage()));
        signer.AddDataObject(data);
        result.Status = signer.SignObjects(QStringLiteral("EPH_ABC_1_sgn"), digest, policy);
        result.ErrorText = signer.LastErrorText();
        result.Document = signer.SignedDocument();
        return result;
    }

    TXadesVerified Verify(const QString& document, const QByteArray& trusted) {
        TXmlDocPtr doc = ParseXmlSafely(document, QStringLiteral("signed"));
        Parsed = std::move(doc);
        return VerifyXades(Parsed.get(), FindSignature(Parsed.get()), trusted,
                           Environment->SignerSettings.Policies);
    }
    TXmlDocPtr Parsed;
    QTranslator English;

    QString RefusalOf(const QString& document) {
        try {
            Verify(document, Pki.CaPem());
        } catch (const TOrvError& error) {
            return error.message();
        }
        return {};
    }

private Q_SLOTS:
    // The checks below read the component's texts in English; the built-in
    // ones are Slovak like the rest of the interface.
    void initTestCase() {
        QVERIFY(English.load(QStringLiteral("orv_en"), QStringLiteral(ORV_TRANSLATIONS_DIR)));
        QVERIFY(QCoreApplication::installTranslator(&English));
    }
    void init() {
        Environment = std::make_shared<TTestEnvironment>();
        Environment->SignerSettings.Pkcs12File =
            WriteKeyFile("signer.p12", Pki.Pkcs12(QStringLiteral("heslo"), false));
        Environment->SignerSettings.Policies = {{PolicyId, Sha256Uri, PolicyDigest, {}}};
        Environment->Answer = QStringLiteral("heslo");
        Components.emplace(Environment);
    }
    void cleanup() {
        Components.reset();
        Parsed.reset();
    }

    void signsAndVerifies_data() {
        QTest::addColumn<QString>("digest");
        QTest::addColumn<bool>("legacyKeyFile");
        QTest::newRow("sha256") << QStringLiteral("sha256") << false;
        QTest::newRow("sha1") << QStringLiteral("sha1") << false;
        QTest::newRow("legacy PKCS#12") << QStringLiteral("sha256") << true;
    }
    void signsAndVerifies() {
        QFETCH(QString, digest);
        QFETCH(bool, legacyKeyFile);
        if (legacyKeyFile)
            Environment->SignerSettings.Pkcs12File =
                WriteKeyFile("legacy.p12", Pki.Pkcs12(QStringLiteral("heslo"), true));
        const TSignResult signedResult = Sign(ValidEph, digest);
        QCOMPARE(signedResult.ErrorText, QString());
        QCOMPARE(signedResult.Status, 0);

        const TXadesVerified verified = Verify(signedResult.Document, Pki.CaPem());
        QCOMPARE(verified.SignatureId, QStringLiteral("EPH_ABC_1_sgn"));
        QCOMPARE(verified.DigestAlgorithm, digest);
        QCOMPARE(verified.SigningTime, QStringLiteral("2024-01-31T08:30:05Z"));
        QVERIFY(verified.SignerSubject.contains(QLatin1String(TTestPki::SignerName)));
        QCOMPARE(verified.PolicyIdentifier, PolicyId);
        QCOMPARE(verified.PolicyDigest, PolicyDigest);
        QCOMPARE(verified.Descriptions,
                 std::vector<QString>{QStringLiteral("Elektronický podací poštový hárok")});
        QCOMPARE(verified.Documents.size(), std::size_t{1});
        QCOMPARE(FromXmlChar(verified.Documents.front()->ns->href), Namespace);
        QVERIFY(!signedResult.Document.contains(QLatin1String("xml-c14n-20010315")));
        QVERIFY(signedResult.Document.contains(QLatin1String("xml-exc-c14n#")));
    }

    void signedDocumentKeepsTheDocumentAsItWas() {
        const TSignResult result = Sign(ValidEph);
        QCOMPARE(result.Status, 0);
        const qsizetype start = ValidEph.indexOf(QLatin1String("<EPH "));
        const qsizetype end = ValidEph.indexOf(QLatin1String("</EPH>")) + 6;
        QString original = ValidEph.mid(start, end - start);
        original.replace(QLatin1String("\r\n"), QLatin1String("\n")); // as any XML parser reads it
        QVERIFY(result.Document.contains(original));
        QVERIFY(!result.Document.contains(QLatin1String("a comment before the root")));
    }

    void personSeesWhatTheySign() {
        QCOMPARE(Sign(ValidEph).Status, 0);
        QCOMPARE(Environment->Asked, 1);
        QVERIFY(Environment->Shown.Rendering.contains(QStringLiteral("Podací hárok Hárok-1")));
        QVERIFY(
            Environment->Shown.Rendering.contains(QStringLiteral("Zásielka: Žofia & syn (250 g)")));
        QVERIFY(
            Environment->Shown.CertificateSubject.contains(QLatin1String(TTestPki::SignerName)));
        QCOMPARE(Environment->Shown.Description,
                 QStringLiteral("Elektronický podací poštový hárok"));
    }

    void refusedDocumentGivesEmptyDataObject_data() {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<QString>("reason");
        QTest::newRow("schema") << QStringLiteral("eph-schema-violation.xml")
                                << QStringLiteral("Hmotnost");
        QTest::newRow("not well-formed")
            << QStringLiteral("eph-not-well-formed.xml") << QStringLiteral("line");
        QTest::newRow("DTD") << QStringLiteral("eph-external-entity.xml")
                             << QStringLiteral("document type declaration");
        QTest::newRow("namespace")
            << QStringLiteral("eph-other-namespace.xml") << QStringLiteral("urn:orv-test:other");
    }
    void refusedDocumentGivesEmptyDataObject() {
        QFETCH(QString, fixture);
        QFETCH(QString, reason);
        TXmlPlugin plugin;
        TVariant data = DataObject(plugin, Fixture(fixture.toLatin1().constData()));
        QVERIFY(data.IsEmpty());
        QVERIFY2(plugin.ErrorMessage().contains(reason), qPrintable(plugin.ErrorMessage()));
        QVERIFY(!plugin.ErrorMessage().contains(QLatin1String("root:")));
    }

    void emptyDocumentIsRefused() {
        TXmlPlugin plugin;
        QVERIFY(DataObject(plugin, QString()).IsEmpty());
        QVERIFY(!plugin.ErrorMessage().isEmpty());
    }

    void alteredSignedDocumentFails_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::newRow("document content")
            << QStringLiteral("<Hmotnost>250<") << QStringLiteral("<Hmotnost>251<");
        QTest::newRow("document whitespace")
            << QStringLiteral("<Zasielka>\n    <Meno>") << QStringLiteral("<Zasielka>\n  <Meno>");
        QTest::newRow("signing time")
            << QStringLiteral("2024-01-31T08:30:05Z") << QStringLiteral("2024-01-31T08:30:06Z");
        QTest::newRow("description") << QStringLiteral("<xades:Description>Elektronický")
                                     << QStringLiteral("<xades:Description>Iný");
        QTest::newRow("reference outside")
            << QStringLiteral("URI=\"#EPH_ABC_1\"") << QStringLiteral("URI=\"\"");
    }
    void alteredSignedDocumentFails() {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QString document = Sign(ValidEph).Document;
        QVERIFY(RefusalOf(document).isEmpty());
        QVERIFY2(document.contains(from), qPrintable(from));
        document.replace(from, to);
        QVERIFY(!RefusalOf(document).isEmpty());
    }

    void untrustedIssuerFails() {
        const QString document = Sign(ValidEph).Document;
        QVERIFY_THROWS_EXCEPTION(TOrvError, Verify(document, Pki.OtherCaPem()));
    }

    void otherPolicyHashFails() {
        const QString document = Sign(ValidEph).Document;
        Environment->SignerSettings.Policies.front().PolicyDigest = QStringLiteral("AAAA");
        QVERIFY(RefusalOf(document).contains(QLatin1String("policy")));
    }

    void packagedSubmissionStillVerifies() {
        const TSignResult signedResult = Sign(ValidEph);
        QCOMPARE(signedResult.Status, 0);
        TMes mes;
        mes.LoadSignedDocument(signedResult.Document);
        const TMesSubmission submission =
            mes.CreateSubmission(QStringLiteral("http://forms.test/x.xsd"),
                                 QStringLiteral("KT_PODAJ_v01"), QStringLiteral("popis"));
        QCOMPARE(submission.Status, 0);
        mes.SetSubmissionData(submission.Data);
        const QString final = mes.ComposeSubmission(
            Namespace, QStringLiteral("KT_PODAJ_v01"), QStringLiteral("popis"),
            QStringLiteral("abc 12"), QStringLiteral("Hárok <1> & \"2\"\r"));
        QVERIFY(RefusalOf(final).isEmpty());
        xmlNode* root = xmlDocGetRootElement(Parsed.get());
        QCOMPARE(FromXmlChar(root->name), QStringLiteral("Podanie"));
        QCOMPARE(FromXmlChar(root->ns->href), QStringLiteral("urn:nomir:zep:podanie:1"));
        QVERIFY(final.contains(
            QStringLiteral("<orv:EPHId>Hárok &lt;1&gt; &amp; \"2\"&#13;</orv:EPHId>")));
        QVERIFY(final.contains(QLatin1String("<orv:Subjekt>abc 12</orv:Subjekt>")));
        QVERIFY(
            final.contains(QLatin1String("<orv:Formular>http://forms.test/x.xsd</orv:Formular>")));
    }

    void wrappedCopyOutsideTheSignatureIsNotWhatIsSigned() {
        QString document = Sign(ValidEph).Document;
        document.remove(0, document.indexOf(u'\n') + 1);
        const QString forged = QStringLiteral("<w:Wrapper xmlns:w=\"urn:w\"><ds:Object "
                                              "xmlns:ds=\"http://www.w3.org/2000/09/xmldsig#\" "
                                              "Id=\"EPH_ABC_1\" xml:id=\"EPH_ABC_2\"><EPH "
                                              "xmlns=\"urn:orv-test:podaj\"><EPHID>forged</EPHID>"
                                              "</EPH></ds:Object>%1</w:Wrapper>")
                                   .arg(document);
        const TXadesVerified verified = Verify(forged, Pki.CaPem());
        TXmlCharPtr ephId(xmlNodeGetContent(verified.Documents.front()->children->next));
        QCOMPARE(FromXmlChar(ephId.get()), QStringLiteral("Hárok-1"));
    }

    void signingFailures_data() {
        QTest::addColumn<QString>("digest");
        QTest::addColumn<QString>("policy");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("answers");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("text");
        QTest::newRow("declined") << QStringLiteral("sha256") << PolicyId << QString() << false << 2
                                  << QStringLiteral("Signing was cancelled by the user");
        QTest::newRow("wrong password")
            << QStringLiteral("sha256") << PolicyId << QStringLiteral("zle") << true << 1
            << QStringLiteral("The password of the key file is not correct");
        QTest::newRow("policy not installed")
            << QStringLiteral("sha256") << QStringLiteral("urn:oid:1.2.3")
            << QStringLiteral("heslo") << true << 1
            << QStringLiteral("The signature policy \"urn:oid:1.2.3\" is not installed");
        QTest::newRow("digest") << QStringLiteral("md5") << PolicyId << QStringLiteral("heslo")
                                << true << 1
                                << QStringLiteral("The digest algorithm \"md5\" is not supported");
    }
    void signingFailures() {
        QFETCH(QString, digest);
        QFETCH(QString, policy);
        QFETCH(QString, password);
        QFETCH(bool, answers);
        QFETCH(int, status);
        QFETCH(QString, text);
        Environment->Answer = answers ? std::optional<QString>(password) : std::nullopt;
        const TSignResult result = Sign(ValidEph, digest, policy);
        QCOMPARE(result.Status, status);
        QCOMPARE(result.ErrorText, text);
        QVERIFY(result.Document.isEmpty());
    }

    void builtInTextsAreSlovak() {
        QCoreApplication::removeTranslator(&English);
        Environment->Answer = std::nullopt;
        const TSignResult result = Sign(ValidEph);
        QCoreApplication::installTranslator(&English);
        QCOMPARE(result.Status, 2);
        QCOMPARE(result.ErrorText, QStringLiteral("Používateľ podpisovanie zrušil"));
    }

    void nothingAddedIsNotSigned() {
        TCXadesSigAtl signer;
        QVERIFY(signer.AddDataObject(TVariant::Null()) != 0);
        QVERIFY(signer.SignObjects(QStringLiteral("s"), QStringLiteral("sha256"), PolicyId) != 0);
        QCOMPARE(signer.LastErrorText(),
                 QStringLiteral("The data object was not made by the XML plug-in"));
        QCOMPARE(Environment->Asked, 0);
    }

    // Text is handed to the parser in pieces of 64 KiB; a character must
    // come through whole wherever a piece ends.
    void parsesTextWhole_data() {
        QTest::addColumn<QString>("declaration");
        QTest::addColumn<qsizetype>("padding");
        QTest::addColumn<QString>("content");
        const QString utf8 = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
        const QString smiley = QString::fromUcs4(U"\U0001F600 Žofia");
        QTest::newRow("short") << utf8 << qsizetype(0) << smiley;
        // "<?xml ...?><a>" then padding, so the pair or the letter sits on the edge.
        for (qsizetype shift : {-3, -2, -1, 0})
            QTest::newRow(qPrintable(QStringLiteral("piece edge %1").arg(shift)))
                << utf8 << qsizetype(64 * 1024 - utf8.size() - 3 + shift) << smiley;
        QTest::newRow("other encoding declared")
            << QStringLiteral("<?xml version=\"1.0\" encoding=\"windows-1250\"?>") << qsizetype(0)
            << QStringLiteral("Žofia & syn");
        QTest::newRow("many pieces") << QString() << qsizetype(300 * 1024) << smiley;
    }
    void parsesTextWhole() {
        QFETCH(QString, declaration);
        QFETCH(qsizetype, padding);
        QFETCH(QString, content);
        const QString text = declaration + QStringLiteral("<a>") + QString(padding, u'x') +
                             content.toHtmlEscaped() + QStringLiteral("</a>");
        const QString expected = QString(padding, u'x') + content;
        const TXmlDocPtr doc = ParseXmlSafely(text, QStringLiteral("t"));
        TXmlCharPtr parsed(xmlNodeGetContent(xmlDocGetRootElement(doc.get())));
        QCOMPARE(FromXmlChar(parsed.get()), expected);
    }

    void toolsRefuseWhatIsNotASignature() {
        TMes mes;
        QCOMPARE(mes.CreateSubmission({}, QStringLiteral("KT"), {}).Status, 1);
        QVERIFY_THROWS_EXCEPTION(TOrvError, mes.LoadSignedDocument(QStringLiteral("<a/>")));
        QVERIFY_THROWS_EXCEPTION(TOrvError,
                                 mes.ComposeSubmission({}, QStringLiteral("KT"), {}, {}, {}));
        try {
            mes.LoadSignedDocument(
                QStringLiteral("<ds:Signature xmlns:ds=\"http://www.w3.org/2000/09/xmldsig#\">"));
            QFAIL("accepted");
        } catch (const TOrvError& error) {
            QVERIFY(error.message().startsWith(
                QLatin1String("The signed document is not well-formed")));
        }
    }
};

QTEST_GUILESS_MAIN(tst_StandInSigner)
#include "tst_standinsigner.moc"
