// The simulator over HTTPS, with a throwaway certificate made for the test.

#include "USimTestKit.h"

#include <QProcess>
#include <QTest>

using namespace SimTest;

class TestSimTls : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void servesSoapOverHttps() {
        QTemporaryDir dir;
        const QString key = dir.filePath(QStringLiteral("key.pem"));
        const QString cert = dir.filePath(QStringLiteral("cert.pem"));
        QProcess openssl;
        openssl.start(QStringLiteral("openssl"),
                      {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                       QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
                       QStringLiteral("ec_paramgen_curve:P-256"), QStringLiteral("-nodes"),
                       QStringLiteral("-keyout"), key, QStringLiteral("-out"), cert,
                       QStringLiteral("-days"), QStringLiteral("1"), QStringLiteral("-subj"),
                       QStringLiteral("/CN=127.0.0.1"), QStringLiteral("-addext"),
                       QStringLiteral("subjectAltName=IP:127.0.0.1")});
        if (!openssl.waitForFinished(30000) || openssl.exitCode() != 0)
            QSKIP("the openssl tool cannot make a certificate here");

        Sim::TSimServerOptions options;
        options.TlsCert = cert.toStdString();
        options.TlsKey = key.toStdString();
        options.DbPath = dir.filePath(QStringLiteral("tls.db")).toStdString();
        Sim::TSimServer server(std::move(options));
        server.Database().AddAccount({"S", "O", Sim::HesloDigest("H")});
        server.Start();
        QVERIFY(server.Url().rfind("https://127.0.0.1:", 0) == 0);

        httplib::SSLClient client("127.0.0.1", server.Port());
        client.set_ca_cert_path(cert.toStdString().c_str());
        client.enable_server_certificate_verification(true);
        const auto result =
            client.Post(OrvConfig::ServicePath,
                        httplib::Headers{{"SOAPAction", "\"" + Sim::ActionOf("CheckLogin") + "\""}},
                        Envelope("CheckLogin", TSimFixture::Login("S", "O", "H")),
                        "text/xml; charset=\"utf-8\"");
        QVERIFY2(result, httplib::to_string(result.error()).c_str());
        QCOMPARE(result->status, 200);
        QVERIFY(result->body.find("<CheckLoginResult>0</CheckLoginResult>") != std::string::npos);
    }

    void unusableCertificateIsRefusedAtStart() {
        QTemporaryDir dir;
        Sim::TSimServerOptions options;
        options.TlsCert = dir.filePath(QStringLiteral("missing.pem")).toStdString();
        options.TlsKey = options.TlsCert;
        options.DbPath = dir.filePath(QStringLiteral("tls.db")).toStdString();
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, Sim::TSimServer server(std::move(options)));
    }
};

QTEST_GUILESS_MAIN(TestSimTls)
#include "tst_simtls.moc"
