// PodajPodanie with the signature and schema check: signed samples of every
// EPH version accepted and listed as verified; forged, altered, untrusted and
// invalid submissions refused with their reason and nothing stored.

#include "UTestPki.h"

#include "Nomir_Zep_DSigXadesAtl_TLB.h"
#include "Nomir_Zep_DSigXades_XmlPlugin_TLB.h"
#include "Nomir_Zep_Tools_TLB.h"
#include "USignerComponents.h"
#include "USimSignatureCheck.h"
#include "USimTestKit.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using namespace SimTest;

namespace {

const QString PolicyId = QStringLiteral("urn:oid:1.3.158.48207315.0.0.1.10.4.0.11.1");
const QString PolicyDigest = QStringLiteral("q1w2e3r4t5y6u7i8o9p0q1w2e3r4t5y6u7i8o9p0asd=");
const QString OtherPolicyId = QStringLiteral("urn:oid:1.3.158.48207315.0.0.1.10.4.0.99.1");
const QString Sha256Uri = QStringLiteral("http://www.w3.org/2001/04/xmlenc#sha256");

QString ReadText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing %s", qPrintable(path));
    return QString::fromUtf8(file.readAll());
}

QString Sample(const QString& version) {
    return ReadText(QStringLiteral(ORV_EXAMPLES_DIR "/eph-v%1.xml").arg(version));
}
QString Form(const QString& file) {
    return ReadText(QStringLiteral(ORV_FORMS_DIR "/") + file);
}

QString NamespaceOf(const QString& eph) {
    const auto match = QRegularExpression(QStringLiteral("<EPH xmlns=\"([^\"]+)\"")).match(eph);
    if (!match.hasMatch())
        qFatal("sample without namespace");
    return match.captured(1);
}

// A schema that takes any EPH of the namespace, so the signer signs what the
// portal's own schema refuses.
QString LaxSchema(const QString& ns) {
    return QStringLiteral("<xs:schema xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" "
                          "targetNamespace=\"%1\"><xs:element name=\"EPH\"/></xs:schema>")
        .arg(ns);
}

class TTestEnvironment final : public ISignerEnvironment {
public:
    TSignerSettings Settings() override { return SignerSettings; }
    std::optional<QString> AskPassword(const TSigningConsent&) override {
        return QStringLiteral("heslo");
    }
    TSignerSettings SignerSettings;
};

std::string Base64Wrapped(const QByteArray& bytes) {
    const QByteArray plain = bytes.toBase64();
    std::string out;
    for (qsizetype i = 0; i < plain.size(); i += 76) {
        if (i)
            out += "\r\n";
        out += plain.mid(i, 76).toStdString();
    }
    return out;
}

struct TSubmission {
    QString Eph;
    QString Typ;     // typPodania of the request and the packaging
    QString Version; // the forms the signer is given: "01", "02", "03"
    bool LaxSigning = false;
    QString Policy = PolicyId;
};

const std::string Result = "/s:Envelope/s:Body/c:PodajPodanieResponse/c:PodajPodanieResult";
const std::string Popis = "/s:Envelope/s:Body/c:PodajPodanieResponse/c:popisChyby";
const std::string Item = "/s:Envelope/s:Body/c:ListPodanieResponse/c:ListPodanieResult/a:Podanie";

} // namespace

class TestSimVerify : public QObject {
    Q_OBJECT

private:
    TTestPki Pki;
    TTestPki StrangerPki; // a CA of its own the portal does not trust
    QTemporaryDir Dir;
    std::shared_ptr<TTestEnvironment> Environment = std::make_shared<TTestEnvironment>();
    std::optional<TSignerComponents> Components;
    std::shared_ptr<Sim::TSimSignatureCheck> Check;
    std::optional<TSimFixture> Sim_;
    TSimFixture& F() { return *Sim_; }
    QString TrustedKeyFile;
    QString StrangerKeyFile;

    QString WriteFile(const char* name, const QByteArray& bytes) {
        const QString path = Dir.filePath(QLatin1String(name));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", name);
        return path;
    }

    // Signs and packages as the client does; the final document's text.
    QString Signed(const TSubmission& s) {
        QString signedDocument;
        {
            TCXadesSigAtl signer;
            TXmlPlugin plugin;
            const QString ns = NamespaceOf(s.Eph);
            const QString xsd =
                s.LaxSigning ? LaxSchema(ns) : Form(QStringLiteral("Podaj_v%1.xsd").arg(s.Version));
            TVariant data = plugin.CreateDataObject(
                QStringLiteral("EPH_S-1_H1_20240402"), QStringLiteral("Podací hárok"), s.Eph, xsd,
                ns, QStringLiteral("http://forms.test/podaj.xsd"),
                Form(QStringLiteral("Podaj_v%1.xslt").arg(s.Version)),
                QStringLiteral("http://forms.test/podaj.xslt"));
            if (data.IsEmpty())
                qFatal("data object refused: %s", qPrintable(plugin.ErrorMessage()));
            signer.AddDataObject(data);
            if (signer.SignObjects(QStringLiteral("EPH_S-1_H1_20240402_sgn"),
                                   QStringLiteral("sha256"), s.Policy) != 0)
                qFatal("not signed: %s", qPrintable(signer.LastErrorText()));
            signedDocument = signer.SignedDocument();
        }
        TMes mes;
        mes.LoadSignedDocument(signedDocument);
        const TMesSubmission submission = mes.CreateSubmission(
            QStringLiteral("http://forms.test/podaj.xsd"), s.Typ, QStringLiteral("Podací hárok"));
        if (submission.Status != 0)
            qFatal("no submission data");
        mes.SetSubmissionData(submission.Data);
        return mes.ComposeSubmission(NamespaceOf(s.Eph), s.Typ, QStringLiteral("Podací hárok"),
                                     QStringLiteral("S-1"), QStringLiteral("H1"));
    }

    TReply Podaj(const QString& document, const QString& typ) {
        return F().Call("PodajPodanie", Field("podanieB64", Base64Wrapped(document.toUtf8())) +
                                            Field("sluzba", "KT_HromadnyPodaj") +
                                            Field("typPodania", typ.toStdString()) +
                                            TSimFixture::Login("S-1", "olga", "Heslo-1"));
    }

    void UseTrustedSigner() {
        Environment->SignerSettings.Pkcs12File = TrustedKeyFile;
        Environment->SignerSettings.Policies = {{PolicyId, Sha256Uri, PolicyDigest, {}},
                                                {OtherPolicyId, Sha256Uri, PolicyDigest, {}}};
    }

    TReply ListPodanie() {
        return F().Call("ListPodanie",
                        Field("maxRows", "1000") + TSimFixture::Login("S-1", "olga", "Heslo-1"));
    }

private Q_SLOTS:
    void initTestCase() {
        TrustedKeyFile = WriteFile("signer.p12", Pki.Pkcs12(QStringLiteral("heslo"), false));
        StrangerKeyFile =
            WriteFile("stranger.p12", StrangerPki.Pkcs12(QStringLiteral("heslo"), false));
        UseTrustedSigner();
        Components.emplace(Environment);
        Sim::TSimSignatureCheckOptions options;
        options.TrustedPem = Pki.CaPem().toStdString();
        options.Policies = {{PolicyId.toStdString(), PolicyDigest.toStdString()}};
        options.SchemaDir = ORV_FORMS_DIR;
        Check = std::make_shared<Sim::TSimSignatureCheck>(std::move(options));
    }
    void init() {
        UseTrustedSigner();
        Sim::TSimServerOptions options;
        options.Portal.SubmissionCheck = Check;
        Sim_.emplace(std::move(options));
        F().Db().AddAccount({"S-1", "olga", Sim::HesloDigest("Heslo-1")});
    }
    void cleanup() { Sim_.reset(); }
    void cleanupTestCase() {
        Check.reset();
        Components.reset();
    }

    void signedSampleIsAcceptedAndListedAsVerified_data() {
        QTest::addColumn<QString>("version");
        QTest::newRow("v01") << QStringLiteral("01");
        QTest::newRow("v02") << QStringLiteral("02");
        QTest::newRow("v03") << QStringLiteral("03");
    }
    void signedSampleIsAcceptedAndListedAsVerified() {
        QFETCH(QString, version);
        const QString typ = QStringLiteral("KT_PODAJ_v") + version;
        const QString eph = Sample(version);
        const TReply r = Podaj(Signed({eph, typ, version}), typ);
        QCOMPARE(r.Value(Popis), std::string());
        QCOMPARE(r.Value(Result), std::string("0"));

        const TReply l = ListPodanie();
        QCOMPARE(l.Count(Item), 1);
        QCOMPARE(l.Value(Item + "/a:kodTypuPodaniaField"), typ.toStdString());
        QCOMPARE(l.Value(Item + "/a:stavOvereniaField"), std::string("Overené"));
        QCOMPARE(l.Value(Item + "/a:stavPodaniaField"), std::string("Prijaté"));

        const TReply g =
            F().Call("GetPodanie",
                     Field("IdentifikatorPodania", l.Value(Item + "/a:identifikatorPodaniaField")) +
                         Field("osoba", "olga") + Field("heslo", Sim::HesloDigest("Heslo-1")));
        const auto ephId = QRegularExpression(QStringLiteral("<EPHID>([^<]+)</EPHID>")).match(eph);
        QVERIFY(ephId.hasMatch());
        QCOMPARE(g.Value("/s:Envelope/s:Body/c:GetPodanieResponse/c:GetPodanieResult/a:dataField"
                         "//*[local-name()='EPHID']"),
                 ephId.captured(1).toStdString());
    }

    void refusedSubmissionSaysWhyAndStoresNothing_data() {
        QTest::addColumn<QString>("document");
        QTest::addColumn<QString>("typ");
        QTest::addColumn<QString>("reason");
        const QString v01 = Sample(QStringLiteral("01"));
        const QString v01Typ = QStringLiteral("KT_PODAJ_v01");
        const QString good = Signed({v01, v01Typ, QStringLiteral("01")});

        QString broken = v01;
        broken.replace(QRegularExpression(QStringLiteral("<TypEPH>[^<]*</TypEPH>")),
                       QStringLiteral("<TypEPH>jeden</TypEPH>"));
        QTest::newRow("schema violation")
            << Signed({broken, v01Typ, QStringLiteral("01"), true}) << v01Typ
            << QStringLiteral("EPH nevyhovuje schéme verzie KT_PODAJ_v01 (riadok ");

        QString altered = good;
        const qsizetype at = altered.indexOf(QLatin1String("<EPHID>")) + 7;
        altered[at] = altered[at] == u'X' ? u'Y' : u'X';
        QTest::newRow("altered in transit")
            << altered << v01Typ
            << QStringLiteral(
                   "Podpis podania nie je platný: odtlačok podpísaných údajov alebo podpisová "
                   "hodnota nesedí, dokument bol po podpísaní zmenený");

        Environment->SignerSettings.Pkcs12File = StrangerKeyFile;
        QTest::newRow("untrusted signer")
            << Signed({v01, v01Typ, QStringLiteral("01")}) << v01Typ
            << QStringLiteral("nevydala ho certifikačná autorita, ktorej portál dôveruje");
        UseTrustedSigner();

        QString wrapped = good;
        const QString second = v01.mid(v01.indexOf(QLatin1String("<EPH ")));
        wrapped.insert(wrapped.indexOf(QLatin1String("<orv:Podpis>")), second.trimmed());
        QTest::newRow("second EPH outside the signature")
            << wrapped << v01Typ << QStringLiteral("Podanie obsahuje mimo podpisu prvok");

        const QString v02Typ = QStringLiteral("KT_PODAJ_v02");
        QTest::newRow("wrong version namespace")
            << Signed({v01, v02Typ, QStringLiteral("01")}) << v02Typ
            << QStringLiteral("EPH nie je vo verzii podania KT_PODAJ_v02");

        QTest::newRow("other policy")
            << Signed({v01, v01Typ, QStringLiteral("01"), false, OtherPolicyId}) << v01Typ
            << QStringLiteral("podpisovej politiky „%1“, ktorú portál neprijíma")
                   .arg(OtherPolicyId);

        Environment->SignerSettings.Policies.front().PolicyDigest =
            QStringLiteral("AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA=");
        QTest::newRow("policy hash differs")
            << Signed({v01, v01Typ, QStringLiteral("01")}) << v01Typ
            << QStringLiteral("Odtlačok podpisovej politiky „%1“ v podpise sa nezhoduje")
                   .arg(PolicyId);
        UseTrustedSigner();

        QTest::newRow("not signed") << v01 << v01Typ << QStringLiteral("Podanie nie je podpísané");

        QTest::newRow("type of the request differs")
            << good << v02Typ
            << QStringLiteral("Typ podania v dokumente („KT_PODAJ_v01“) sa nezhoduje");
    }
    void refusedSubmissionSaysWhyAndStoresNothing() {
        QFETCH(QString, document);
        QFETCH(QString, typ);
        QFETCH(QString, reason);
        const TReply r = Podaj(document, typ);
        QCOMPARE(r.Value(Result), std::string("6"));
        const QString popis = QString::fromStdString(r.Value(Popis));
        QVERIFY2(popis.contains(reason), qPrintable(popis));
        QCOMPARE(F().Db().CountPodanie("S-1"), 0);
        QCOMPARE(F().Db().CountPisomnosti("S-1"), 0);
    }

    void policyArgument_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("identifier"); // empty: refused
        QTest::addColumn<QString>("digest");
        QTest::newRow("padded digest")
            << QStringLiteral("urn:oid:1.2=q1w2e3r4t5y6=") << QStringLiteral("urn:oid:1.2")
            << QStringLiteral("q1w2e3r4t5y6=");
        QTest::newRow("two pad characters") << QStringLiteral("urn:p=AAAA==")
                                            << QStringLiteral("urn:p") << QStringLiteral("AAAA==");
        QTest::newRow("no digest") << QStringLiteral("urn:p=") << QString() << QString();
        QTest::newRow("no identifier") << QStringLiteral("=AAAA") << QString() << QString();
        QTest::newRow("no separator") << QStringLiteral("urn:p") << QString() << QString();
    }
    void policyArgument() {
        QFETCH(QString, text);
        QFETCH(QString, identifier);
        QFETCH(QString, digest);
        try {
            const Sim::TSimPolicy policy = Sim::ParsePolicy(text.toStdString());
            QCOMPARE(QString::fromStdString(policy.Identifier), identifier);
            QCOMPARE(QString::fromStdString(policy.Digest), digest);
        } catch (const std::invalid_argument&) {
            QVERIFY(identifier.isEmpty());
        }
    }

    void unsignedObjectInsideTheSignatureIsRefused() {
        QString document = Signed(
            {Sample(QStringLiteral("01")), QStringLiteral("KT_PODAJ_v01"), QStringLiteral("01")});
        document.insert(
            document.indexOf(QLatin1String("</ds:Signature>")),
            QStringLiteral("<ds:Object Id=\"extra\"><EPH xmlns=\"urn:x\"/></ds:Object>"));
        const TReply r = Podaj(document, QStringLiteral("KT_PODAJ_v01"));
        QCOMPARE(r.Value(Result), std::string("6"));
        QVERIFY2(
            QString::fromStdString(r.Value(Popis)).contains(QStringLiteral("nie je podpísaný")),
            r.Value(Popis).c_str());
        QCOMPARE(F().Db().CountPodanie("S-1"), 0);
    }
};

QTEST_GUILESS_MAIN(TestSimVerify)
#include "tst_simverify.moc"
