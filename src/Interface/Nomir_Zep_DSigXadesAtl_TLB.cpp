#include "Nomir_Zep_DSigXadesAtl_TLB.h"

TCXadesSigAtl::TCXadesSigAtl(IComFactory& factory)
    : TComWrapper(CLSID_CXadesSigAtl, IID_IXadesSigAtl, factory) {}

std::int32_t TCXadesSigAtl::SignObjects(const QString& signatureId, const QString& digestAlgorithm,
                                        const QString& signaturePolicy) {
    std::int32_t result = 0;
    Check(Intf().SignObjects(TBStr(signatureId).Get(), TBStr(digestAlgorithm).Get(),
                             TBStr(signaturePolicy).Get(), &result));
    return result;
}

std::int32_t TCXadesSigAtl::AddDataObject(const TVariant& dataObject) {
    std::int32_t result = 0;
    Check(Intf().AddDataObject(dataObject.Get(), &result));
    return result;
}

QString TCXadesSigAtl::LastErrorText() {
    TBStr result;
    Check(Intf().get_LastErrorText(result.Out()));
    return result.ToQString();
}

QString TCXadesSigAtl::SignedDocument() {
    TBStr result;
    Check(Intf().get_SignedDocument(result.Out()));
    return result.ToQString();
}

void TCXadesSigAtl::ClearDataObjects() {
    Check(Intf().ClearDataObjects());
}
