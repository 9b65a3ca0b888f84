#include "UErrorOf.h"
#include "USystemText.h"
#include "UTestComponents.h"

#include "UOrvError.h"

#include <QTest>

#include <optional>

namespace {

// An object that is neither of the signer's interfaces.
class TForeignObject final : public TComObject<IDispatch> {};

} // namespace

class tst_ComWrappers : public QObject {
    Q_OBJECT

private:
    std::optional<TTestComponents> Components;

private Q_SLOTS:
    void init() { Components.emplace(); }
    void cleanup() { Components.reset(); }

    void objectComesAtFirstCallAndGoesWithTheWrapper() {
        TCallLog& log = Components->Log;
        {
            TXmlPlugin plugin;
            QCOMPARE(log.Created, 0);
            QVERIFY(!plugin.IsConnected());
            plugin.Reset();
            plugin.Reset();
            QCOMPARE(log.Created, 1);
            QVERIFY(plugin.IsConnected());
        }
        QCOMPARE(log.Destroyed, 1);
        QCOMPARE(log.Calls, (QStringList{QStringLiteral("XmlPlugin.Create"),
                                         QStringLiteral("XmlPlugin.Reset()"),
                                         QStringLiteral("XmlPlugin.Reset()"),
                                         QStringLiteral("XmlPlugin.Release")}));
    }

    void argumentsArriveInOrderAndUnchanged() {
        TCallLog& log = Components->Log;
        const QString eph = QStringLiteral("<EPH>\r\nHárok ž</EPH>\r\n");
        {
            TXmlPlugin plugin;
            TVariant data = plugin.CreateDataObject(
                QStringLiteral("id"), QStringLiteral("popis"), eph, QStringLiteral("xsd"),
                QStringLiteral("ns"), QStringLiteral("xsdRef"), QStringLiteral("xsl"),
                QStringLiteral("xslRef"));
            QCOMPARE(data.Type(), VT_DISPATCH);
            TCXadesSigAtl signer;
            TTestXadesSigner::LastAdded = data.Get().pdispVal;
            signer.AddDataObject(data);
            signer.SignObjects(QStringLiteral("id_sgn"), QStringLiteral("sha256"),
                               QStringLiteral("urn:oid:1.2"));
        }
        {
            TMes mes;
            mes.ComposeSubmission(QStringLiteral("ns"), QStringLiteral("KT"), QStringLiteral("d"),
                                  QStringLiteral("subj"), QStringLiteral("Hárok-1"));
        }
        QVERIFY(log.Calls.contains(
            QStringLiteral("XmlPlugin.CreateDataObject(id|popis|%1|xsd|ns|xsdRef|xsl|xslRef)")
                .arg(eph)));
        QVERIFY(log.Calls.contains(QStringLiteral("Xades.AddDataObject(9|same)")));
        QVERIFY(log.Calls.contains(QStringLiteral("Xades.SignObjects(id_sgn|sha256|urn:oid:1.2)")));
        QVERIFY(log.Calls.contains(QStringLiteral("Mes.ComposeSubmission(ns|KT|d|subj|Hárok-1)")));
        // Plug-in, signer, data object (held by the signer too) and tools.
        QCOMPARE(log.Created, 4);
        QCOMPARE(log.Destroyed, 4);
    }

    void resultsComeBack() {
        Components->Script.Answers[QStringLiteral("SignedDocument")].Text = QStringLiteral("<s/>");
        Components->Script.Answers[QStringLiteral("SignObjects")].Status = -7;
        TScriptedAnswer& created = Components->Script.Answers[QStringLiteral("CreateSubmission")];
        created.Text = QStringLiteral("data");
        created.Status = 3;
        TCXadesSigAtl signer;
        QCOMPARE(signer.SignObjects({}, {}, {}), -7);
        QCOMPARE(signer.SignedDocument(), QStringLiteral("<s/>"));
        TMes mes;
        const TMesSubmission submission = mes.CreateSubmission({}, {}, {});
        QCOMPARE(submission.Data, QStringLiteral("data"));
        QCOMPARE(submission.Status, 3);
    }

    void emptyAndNullDataObjects_data() {
        QTest::addColumn<int>("type");
        QTest::newRow("empty") << int{VT_EMPTY};
        QTest::newRow("null") << int{VT_NULL};
        QTest::newRow("text") << int{VT_BSTR};
    }
    void emptyAndNullDataObjects() {
        QFETCH(int, type);
        Components->Script.Answers[QStringLiteral("CreateDataObject")].VariantType =
            static_cast<VARTYPE>(type);
        TXmlPlugin plugin;
        TVariant data = plugin.CreateDataObject({}, {}, {}, {}, {}, {}, {}, {});
        QCOMPARE(int{data.Type()}, type);
        QCOMPARE(data.IsEmpty(), type == VT_EMPTY);
        TCXadesSigAtl signer;
        signer.AddDataObject(data);
        QVERIFY(Components->Log.Calls.contains(
            QStringLiteral("Xades.AddDataObject(%1|other)").arg(type)));
    }

    void unregisteredClassCannotBeCreated() {
        Components.reset();
        TCXadesSigAtl signer;
        QCOMPARE(ErrorOf([&] { signer.SignedDocument(); }),
                 ComTextOr(REGDB_E_CLASSNOTREG, "Class not registered") +
                     QStringLiteral(", ClassID: {99A7C5AE-CC31-4804-8ADD-F7848AC13143}"));
        QVERIFY(!signer.IsConnected());
    }

    void failingClassFactory() {
        TComClassRegistration broken(CLSID_Mes,
                                     [](IUnknown**) { return CO_E_SERVER_EXEC_FAILURE; });
        TMes mes;
        QCOMPARE(ErrorOf([&] { mes.Clear(); }),
                 ComTextOr(CO_E_SERVER_EXEC_FAILURE, "Server execution failed") +
                     QStringLiteral(", ClassID: {08EE3998-E42D-4FBD-9B4A-6CA3D425DD56}"));
    }

    void unknownCreationFailureNamesTheCode() {
        TComClassRegistration broken(CLSID_Mes,
                                     [](IUnknown**) { return static_cast<HRESULT>(0x8004ABCDu); });
        TMes mes;
        QCOMPARE(
            ErrorOf([&] { mes.Clear(); }),
            QStringLiteral("OLE error 8004abcd, ClassID: {08EE3998-E42D-4FBD-9B4A-6CA3D425DD56}"));
    }

    void objectWithoutTheInterface() {
        TComClassRegistration foreign(CLSID_XmlPlugin, [](IUnknown** object) {
            *object = MakeComObject<TForeignObject>().Detach();
            return S_OK;
        });
        TXmlPlugin plugin;
        QCOMPARE(ErrorOf([&] { plugin.Version(); }), QStringLiteral("Interface not supported"));
    }

    void failingMethodMessage_data() {
        QTest::addColumn<int>("hr");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("message");
        QTest::newRow("description trimmed")
            << int{E_FAIL} << QStringLiteral("Podpis zlyhal. \r\n\t.")
            << QStringLiteral("Podpis zlyhal");
        QTest::newRow("inner full stops kept")
            << int{E_FAIL} << QStringLiteral("Súbor a.b nie je. ")
            << QStringLiteral("Súbor a.b nie je");
        QTest::newRow("no description, system text")
            << int{E_FAIL} << QString() << ComTextOr(E_FAIL, "Unspecified error");
        QTest::newRow("system text trimmed")
            << int{E_INVALIDARG} << QString()
            << ComTextOr(E_INVALIDARG, "The parameter is incorrect");
        QTest::newRow("blank description") << int{E_ACCESSDENIED} << QStringLiteral(" . ")
                                           << ComTextOr(E_ACCESSDENIED, "Access is denied");
        QTest::newRow("nothing known") << int{static_cast<HRESULT>(0x80041234u)} << QString()
                                       << QStringLiteral("OLE error 80041234");
    }
    void failingMethodMessage() {
        QFETCH(int, hr);
        QFETCH(QString, description);
        QFETCH(QString, message);
        Components->Script.Answers[QStringLiteral("LoadSignedDocument")] = Failing(hr, description);
        TMes mes;
        QCOMPARE(ErrorOf([&] { mes.LoadSignedDocument({}); }), message);
    }

    void successCodesAndStaleDescriptionsAreNotErrors() {
        Components->Script.Answers[QStringLiteral("Reset")] =
            Failing(S_FALSE, QStringLiteral("stale"));
        Components->Script.Answers[QStringLiteral("Version")] = Failing(E_FAIL);
        TXmlPlugin plugin;
        plugin.Reset();
        QCOMPARE(ErrorOf([&] { plugin.Version(); }), ComTextOr(E_FAIL, "Unspecified error"));
    }

    void failedCallKeepsTheObjectUntilTheWrapperGoes() {
        Components->Script.Answers[QStringLiteral("SignObjects")] =
            Failing(E_FAIL, QStringLiteral("x"));
        {
            TCXadesSigAtl signer;
            QCOMPARE(ErrorOf([&] { signer.SignObjects({}, {}, {}); }), QStringLiteral("x"));
            QCOMPARE(Components->Log.Destroyed, 0);
        }
        QCOMPARE(Components->Log.Destroyed, 1);
    }
};

QTEST_GUILESS_MAIN(tst_ComWrappers)
#include "tst_comwrappers.moc"
