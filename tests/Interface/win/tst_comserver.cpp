// The component wrappers against the test signer DLL through the system's
// COM: registration, creation, the running-object table, the method slots,
// BSTR and VARIANT crossing, and the messages of every failure.

#include "Nomir_Zep_DSigXadesAtl_TLB.h"
#include "Nomir_Zep_DSigXades_XmlPlugin_TLB.h"
#include "Nomir_Zep_Tools_TLB.h"
#include "UErrorOf.h"
#include "UTestSignerSession.h"

#include <QTest>

#include <optional>

using TValues = QList<QPair<QString, QString>>;

class tst_ComServer : public QObject {
    Q_OBJECT

private:
    std::optional<TTestSignerSession> Session;

private Q_SLOTS:
    void initTestCase() {
        QCOMPARE(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
        Session.emplace();
    }
    void cleanupTestCase() {
        Session.reset();
        CoUninitialize();
    }
    void init() { Session->Clear(); }
    // Whatever a test did, every object of the DLL is gone with its wrapper.
    void cleanup() {
        for (const char* name : {"XmlPlugin", "Xades", "Mes", "DataObject"}) {
            const QString component = QLatin1String(name);
            QCOMPARE(Session->Count(component + QStringLiteral(".Release")),
                     Session->Count(component + QStringLiteral(".Create")));
        }
    }

    void objectComesAtFirstCallAndGoesWithTheWrapper() {
        {
            TXmlPlugin plugin;
            QVERIFY(Session->Log().isEmpty());
            QVERIFY(!plugin.IsConnected());
            plugin.Reset();
            plugin.Reset();
            QVERIFY(plugin.IsConnected());
            QCOMPARE(Session->Count(QStringLiteral("XmlPlugin.Create")), 1);
        }
        QCOMPARE(Session->Log(), (QStringList{QStringLiteral("XmlPlugin.Create"),
                                              QStringLiteral("XmlPlugin.Reset()"),
                                              QStringLiteral("XmlPlugin.Reset()"),
                                              QStringLiteral("XmlPlugin.Release")}));
    }

    void activeObjectIsPreferred() {
        IXadesSigAtl* raw = nullptr;
        QCOMPARE(CoCreateInstance(CLSID_CXadesSigAtl, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IXadesSigAtl, reinterpret_cast<void**>(&raw)),
                 S_OK);
        TComPtr<IXadesSigAtl> active = TComPtr<IXadesSigAtl>::Attach(raw);
        DWORD registration = 0;
        QCOMPARE(RegisterActiveObject(active.Get(), CLSID_CXadesSigAtl, ACTIVEOBJECT_STRONG,
                                      &registration),
                 S_OK);
        {
            TCXadesSigAtl signer;
            signer.ClearDataObjects();
        }
        // The registered object took the call and outlived the wrapper.
        QCOMPARE(Session->Log(), (QStringList{QStringLiteral("Xades.Create"),
                                              QStringLiteral("Xades.ClearDataObjects()")}));
        QCOMPARE(RevokeActiveObject(registration, nullptr), S_OK);
        active.Reset();
        QCOMPARE(Session->Log().last(), QStringLiteral("Xades.Release"));
    }

    void textsCrossUnchanged_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("diacritics and CR LF")
            << QStringLiteral("<EPH>\r\nHárok ž Ďurica</EPH>\r\n");
        QTest::newRow("empty") << QString();
        QTest::newRow("NUL inside") << QString::fromUtf16(u"a\0b", 3);
        QTest::newRow("beyond the basic plane") << QString::fromUtf16(u"\U0001F4E8 obálka");
        QTest::newRow("separators and escapes") << QStringLiteral("a|b\\c\td");
        QTest::newRow("large") << QString(3 * 1024 * 1024, QChar(u'ř'));
    }
    void textsCrossUnchanged() {
        QFETCH(QString, text);
        Session->Answer(QStringLiteral("Xades.SignedDocument"), {{QStringLiteral("text"), text}});
        TCXadesSigAtl signer;
        QCOMPARE(signer.SignedDocument(), text);
        TXmlPlugin plugin;
        plugin.ValidateXml(text, QStringLiteral("x"));
        QCOMPARE(Session->Log().at(3), QStringLiteral("XmlPlugin.ValidateXml(%1|x)")
                                           .arg(TTestSignerSession::EscapeArgument(text)));
    }

    void argumentsArriveInOrder() {
        {
            TXmlPlugin plugin;
            const TVariant data = plugin.CreateDataObject(
                QStringLiteral("id"), QStringLiteral("popis"), QStringLiteral("<EPH/>"),
                QStringLiteral("xsd"), QStringLiteral("ns"), QStringLiteral("xsdRef"),
                QStringLiteral("xsl"), QStringLiteral("xslRef"));
            QCOMPARE(data.Type(), VT_DISPATCH);
            TCXadesSigAtl signer;
            signer.AddDataObject(data);
            signer.SignObjects(QStringLiteral("id_sgn"), QStringLiteral("sha256"),
                               QStringLiteral("urn:oid:1.2"));
            TMes mes;
            mes.CreateSubmission(QStringLiteral("xsdRef"), QStringLiteral("KT"),
                                 QStringLiteral("d"));
            mes.ComposeSubmission(QStringLiteral("ns"), QStringLiteral("KT"), QStringLiteral("d"),
                                  QStringLiteral("subj"), QStringLiteral("Hárok-1"));
        }
        const QStringList log = Session->Log();
        QVERIFY(log.contains(QStringLiteral(
            "XmlPlugin.CreateDataObject(id|popis|<EPH/>|xsd|ns|xsdRef|xsl|xslRef)")));
        // The very object the plug-in made reaches the signer.
        QVERIFY(log.contains(QStringLiteral("Xades.AddDataObject(9|same)")));
        QVERIFY(log.contains(QStringLiteral("Xades.SignObjects(id_sgn|sha256|urn:oid:1.2)")));
        QVERIFY(log.contains(QStringLiteral("Mes.CreateSubmission(xsdRef|KT|d)")));
        QVERIFY(log.contains(QStringLiteral("Mes.ComposeSubmission(ns|KT|d|subj|Hárok-1)")));
    }

    void resultsComeBack() {
        Session->Answer(QStringLiteral("Xades.SignObjects"),
                        {{QStringLiteral("status"), QStringLiteral("-7")}});
        Session->Answer(QStringLiteral("Mes.CreateSubmission"),
                        {{QStringLiteral("text"), QStringLiteral("<Data/>")},
                         {QStringLiteral("status"), QStringLiteral("3")}});
        Session->Answer(QStringLiteral("Mes.ComposeSubmission"),
                        {{QStringLiteral("text"), QStringLiteral("<Podanie/>")}});
        TCXadesSigAtl signer;
        QCOMPARE(signer.SignObjects({}, {}, {}), -7);
        TMes mes;
        const TMesSubmission submission = mes.CreateSubmission({}, {}, {});
        QCOMPARE(submission.Data, QStringLiteral("<Data/>"));
        QCOMPARE(submission.Status, 3);
        QCOMPARE(mes.ComposeSubmission({}, {}, {}, {}, {}), QStringLiteral("<Podanie/>"));
    }

    void dataObjectKinds_data() {
        QTest::addColumn<int>("type");
        QTest::newRow("empty") << int{VT_EMPTY};
        QTest::newRow("null") << int{VT_NULL};
        QTest::newRow("text") << int{VT_BSTR};
        QTest::newRow("object") << int{VT_DISPATCH};
    }
    void dataObjectKinds() {
        QFETCH(int, type);
        Session->Answer(QStringLiteral("XmlPlugin.CreateDataObject"),
                        {{QStringLiteral("vt"), QString::number(type)},
                         {QStringLiteral("text"), QStringLiteral("obsah")}});
        TXmlPlugin plugin;
        const TVariant data = plugin.CreateDataObject({}, {}, {}, {}, {}, {}, {}, {});
        QCOMPARE(int{data.Type()}, type);
        QCOMPARE(data.IsEmpty(), type == VT_EMPTY);
        if (type == VT_BSTR)
            QCOMPARE(TBStr::FromBStr(data.Get().bstrVal), QStringLiteral("obsah"));
        TCXadesSigAtl signer;
        signer.AddDataObject(data);
        QVERIFY(Session->Log().contains(QStringLiteral("Xades.AddDataObject(%1|%2)")
                                            .arg(type)
                                            .arg(type == VT_DISPATCH ? u"same" : u"other")));
    }

    void creationFailures_data() {
        QTest::addColumn<QString>("component");
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("hr");
        QTest::addColumn<QString>("classId");
        const QString plugin = QStringLiteral("{3DDEDCC5-856F-496A-A3B2-29A198C3B6D0}");
        const QString signer = QStringLiteral("{99A7C5AE-CC31-4804-8ADD-F7848AC13143}");
        const QString tools = QStringLiteral("{08EE3998-E42D-4FBD-9B4A-6CA3D425DD56}");
        // Wine reports any refusal of the class object as "not registered",
        // so that is the only refusal asked of DllGetClassObject.
        QTest::newRow("plug-in not registered") << "XmlPlugin"
                                                << "getclass" << int{REGDB_E_CLASSNOTREG} << plugin;
        QTest::newRow("tools fail to start") << "Mes"
                                             << "create" << int{CO_E_SERVER_EXEC_FAILURE} << tools;
        QTest::newRow("out of memory") << "Xades"
                                       << "create" << int{E_OUTOFMEMORY} << signer;
        QTest::newRow("a code the system does not know")
            << "Mes"
            << "create" << int{UnknownFailure} << tools;
    }
    void creationFailures() {
        QFETCH(QString, component);
        QFETCH(QString, key);
        QFETCH(int, hr);
        QFETCH(QString, classId);
        Session->Answer(component, {{key, Hex(hr)}});
        const QString expected = SystemTextOr(hr) + QStringLiteral(", ClassID: ") + classId;
        if (component == u"XmlPlugin") {
            TXmlPlugin wrapper;
            QCOMPARE(ErrorOf([&] { wrapper.Reset(); }), expected);
            QVERIFY(!wrapper.IsConnected());
        } else if (component == u"Xades") {
            TCXadesSigAtl wrapper;
            QCOMPARE(ErrorOf([&] { wrapper.ClearDataObjects(); }), expected);
            QVERIFY(!wrapper.IsConnected());
        } else {
            TMes wrapper;
            QCOMPARE(ErrorOf([&] { wrapper.Clear(); }), expected);
            QVERIFY(!wrapper.IsConnected());
        }
        QVERIFY(Session->Log().isEmpty());
    }

    void objectWithoutTheInterface() {
        Session->Answer(QStringLiteral("XmlPlugin"),
                        {{QStringLiteral("iface"), QStringLiteral("0")}});
        {
            TXmlPlugin plugin;
            QCOMPARE(ErrorOf([&] { plugin.Version(); }), QStringLiteral("Interface not supported"));
            QVERIFY(!plugin.IsConnected());
        }
        // Made, asked, and let go at once.
        QCOMPARE(Session->Log(), (QStringList{QStringLiteral("XmlPlugin.Create"),
                                              QStringLiteral("XmlPlugin.Release")}));
    }

    void failingMethodMessage_data() {
        QTest::addColumn<int>("hr");
        QTest::addColumn<QString>("errorInfo");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("message"); // empty: the system's text for hr
        QTest::newRow("description trimmed")
            << int{E_FAIL} << "yes" << QStringLiteral("Podpis zlyhal. \r\n\t.")
            << QStringLiteral("Podpis zlyhal");
        QTest::newRow("inner full stops kept")
            << int{E_FAIL} << "yes" << QStringLiteral("Súbor a.b nie je. ")
            << QStringLiteral("Súbor a.b nie je");
        QTest::newRow("description of an unknown code")
            << int{UnknownFailure} << "yes" << QStringLiteral("Vlastný dôvod")
            << QStringLiteral("Vlastný dôvod");
        QTest::newRow("no description") << int{E_INVALIDARG} << "yes" << QString() << QString();
        QTest::newRow("blank description")
            << int{E_ACCESSDENIED} << "yes" << QStringLiteral(" . ") << QString();
        QTest::newRow("description of an object that says it leaves none")
            << int{E_FAIL} << "no" << QStringLiteral("Nedôveryhodné") << QString();
        QTest::newRow("description of an object without ISupportErrorInfo")
            << int{E_ACCESSDENIED} << "none" << QStringLiteral("Nedôveryhodné") << QString();
        QTest::newRow("nothing known")
            << int{UnknownFailure} << "yes" << QString() << QStringLiteral("OLE error a0041234");
        QTest::newRow("nothing believed")
            << int{UnknownFailure} << "no" << QStringLiteral("Nedôveryhodné")
            << QStringLiteral("OLE error a0041234");
    }
    void failingMethodMessage() {
        QFETCH(int, hr);
        QFETCH(QString, errorInfo);
        QFETCH(QString, description);
        QFETCH(QString, message);
        Session->Answer(QStringLiteral("Mes"), {{QStringLiteral("errorinfo"), errorInfo}});
        TValues answer{{QStringLiteral("hr"), Hex(hr)}};
        if (!description.isNull())
            answer.append({QStringLiteral("desc"), description});
        Session->Answer(QStringLiteral("Mes.LoadSignedDocument"), answer);
        if (message.isEmpty()) {
            message = SystemTextOr(hr);
            QVERIFY2(!message.startsWith(QStringLiteral("OLE error")), "the system knows the code");
        }
        TMes mes;
        QCOMPARE(ErrorOf([&] { mes.LoadSignedDocument({}); }), message);
    }

    void successCodesAndStaleDescriptionsAreNotErrors() {
        // S_FALSE with a description left behind, then a failure without one.
        Session->Answer(QStringLiteral("XmlPlugin.Reset"),
                        {{QStringLiteral("hr"), QStringLiteral("1")},
                         {QStringLiteral("desc"), QStringLiteral("stale")}});
        Session->Answer(QStringLiteral("XmlPlugin.Version"), {{QStringLiteral("hr"), Hex(E_FAIL)}});
        TXmlPlugin plugin;
        plugin.Reset();
        QCOMPARE(ErrorOf([&] { plugin.Version(); }), SystemTextOr(E_FAIL));
    }

    void failedCallKeepsTheObjectUntilTheWrapperGoes() {
        Session->Answer(
            QStringLiteral("Xades.SignObjects"),
            {{QStringLiteral("hr"), Hex(E_FAIL)}, {QStringLiteral("desc"), QStringLiteral("x")}});
        {
            TCXadesSigAtl signer;
            QCOMPARE(ErrorOf([&] { signer.SignObjects({}, {}, {}); }), QStringLiteral("x"));
            QVERIFY(signer.IsConnected());
            QCOMPARE(Session->Count(QStringLiteral("Xades.Release")), 0);
        }
        QCOMPARE(Session->Count(QStringLiteral("Xades.Release")), 1);
    }
};

QTEST_GUILESS_MAIN(tst_ComServer)
#include "tst_comserver.moc"
