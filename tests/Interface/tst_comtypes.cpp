#include "Nomir_Zep_DSigXadesAtl_TLB.h"
#include "Nomir_Zep_DSigXades_XmlPlugin_TLB.h"
#include "Nomir_Zep_Tools_TLB.h"
#include "UComObject.h"

#include <QTest>

#include <cstddef>
#include <cstring>

namespace {

// The method-table slot a pointer to a virtual member names, in the Itanium
// C++ ABI that g++ and clang use on Linux and MinGW: the pointer holds
// 1 + the slot's byte offset.
template <class TPmf> std::ptrdiff_t Slot(TPmf pmf) {
    static_assert(sizeof(TPmf) == 2 * sizeof(std::ptrdiff_t));
    std::ptrdiff_t raw[2];
    std::memcpy(raw, &pmf, sizeof raw);
    return (raw[0] - 1) / static_cast<std::ptrdiff_t>(sizeof(void*));
}

// Own methods count from 1 after the seven of IUnknown and IDispatch.
template <class TPmf> std::ptrdiff_t Position(TPmf pmf) {
    return Slot(pmf) - 6;
}

class TCounted final : public TComObject<IDispatch> {
public:
    explicit TCounted(int& destroyed)
        : Destroyed(destroyed) {}
    ~TCounted() override { ++Destroyed; }

private:
    int& Destroyed;
};

} // namespace

class tst_ComTypes : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void inheritedMethodsComeFirst() {
        // The one taking an IID: Windows's IUnknown adds a template beside it.
        using TQueryInterface = HRESULT (ORV_COMCALL IUnknown::*)(REFIID, void**);
        QCOMPARE(Slot(static_cast<TQueryInterface>(&IUnknown::QueryInterface)), 0);
        QCOMPARE(Slot(&IUnknown::Release), 2);
        QCOMPARE(Slot(&IDispatch::Invoke), 6);
    }

    void calledMethodsStandAtTheirPositions() {
        QCOMPARE(Position(&_XmlPlugin::CreateDataObject), 7);
        QCOMPARE(Position(&_XmlPlugin::get_Version), 8);
        QCOMPARE(Position(&IXadesSigAtl::SignObjects), 1);
        QCOMPARE(Position(&IXadesSigAtl::AddDataObject), 2);
        QCOMPARE(Position(&IXadesSigAtl::get_LastErrorText), 3);
        QCOMPARE(Position(&IXadesSigAtl::get_SignedDocument), 4);
        QCOMPARE(Position(&IXadesSigAtl::ClearDataObjects), 5);
        QCOMPARE(Position(&_Mes::CreateSubmission), 5);
        QCOMPARE(Position(&_Mes::ComposeSubmission), 6);
        QCOMPARE(Position(&_Mes::SetSubmissionData), 7);
        QCOMPARE(Position(&_Mes::LoadSignedDocument), 8);
        QCOMPARE(Position(&_Mes::Clear), 11);
    }

    void bstrKeepsEveryCharacter_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("diacritics") << QStringLiteral("Elektronický podací poštový hárok");
        QTest::newRow("embedded NUL") << QStringLiteral("a") + QChar(0) + QStringLiteral("b");
        QTest::newRow("surrogate pair") << QString::fromUtf8("\xF0\x9F\x93\xAE");
        QTest::newRow("CR LF") << QStringLiteral("<a>\r\n</a>\r\n");
    }
    void bstrKeepsEveryCharacter() {
        QFETCH(QString, text);
        TBStr bstr(text);
        QCOMPARE(SysStringLen(bstr.Get()), static_cast<UINT>(text.size()));
        QCOMPARE(bstr.ToQString(), text);
        QCOMPARE(bstr.Get()[text.size()], u'\0');
    }

    void nullBstrIsEmptyText() {
        QCOMPARE(SysStringLen(nullptr), 0u);
        QVERIFY(TBStr::FromBStr(nullptr).isEmpty());
    }

    void variantCopyTakesItsOwnReference() {
        int destroyed = 0;
        {
            TVariant original = TVariant::FromDispatch(MakeComObject<TCounted>(destroyed).Detach());
            {
                TVariant copy = original;
                QCOMPARE(copy.Type(), VT_DISPATCH);
                QCOMPARE(copy.Get().pdispVal, original.Get().pdispVal);
            }
            QCOMPARE(destroyed, 0);
        }
        QCOMPARE(destroyed, 1);
    }

    void variantKinds() {
        QVERIFY(TVariant().IsEmpty());
        QVERIFY(TVariant::Null().IsNull());
        QVERIFY(!TVariant::Null().IsEmpty());
        TVariant text = TVariant::FromString(QStringLiteral("ž"));
        QCOMPARE(text.Type(), VT_BSTR);
        TVariant copy = text;
        QVERIFY(copy.Get().bstrVal != text.Get().bstrVal);
        QCOMPARE(TBStr::FromBStr(copy.Get().bstrVal), QStringLiteral("ž"));
    }

    void queryInterfaceAnswersOnlyWhatTheObjectIs() {
        int destroyed = 0;
        TComPtr<TCounted> object = MakeComObject<TCounted>(destroyed);
        void* found = nullptr;
        QCOMPARE(object->QueryInterface(IID_IDispatch, &found), S_OK);
        TComPtr<IDispatch>::Attach(static_cast<IDispatch*>(found)).Reset();
        QCOMPARE(object->QueryInterface(IID__Mes, &found), E_NOINTERFACE);
        QCOMPARE(found, nullptr);
        QCOMPARE(object->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
        object.Reset();
        QCOMPARE(destroyed, 1);
    }

    void guidText() {
        QCOMPARE(GuidToString(CLSID_XmlPlugin),
                 QStringLiteral("{3DDEDCC5-856F-496A-A3B2-29A198C3B6D0}"));
        QCOMPARE(GuidToString(IID__Mes), QStringLiteral("{C4E9AFBB-5948-3E1E-A136-7995480BD32E}"));
        QCOMPARE(GuidToString(IID_IXadesSigAtl),
                 QStringLiteral("{30C8570A-7148-463C-A03B-57B23C05689C}"));
    }
};

QTEST_GUILESS_MAIN(tst_ComTypes)
#include "tst_comtypes.moc"
