#include "UXmlDataObject.h"

TXmlDataObject::TXmlDataObject() {
    SetInterfaceId(IID_XmlDataObject);
}

void* TXmlDataObject::FindInterface(REFIID riid) {
    if (riid == IID_XmlDataObject)
        return this;
    return TComObject::FindInterface(riid);
}

TComPtr<TXmlDataObject> TXmlDataObject::FromVariant(const VARIANT& value) {
    IUnknown* unknown = nullptr;
    if (value.vt == VT_DISPATCH)
        unknown = value.pdispVal;
    else if (value.vt == VT_UNKNOWN)
        unknown = value.punkVal;
    if (!unknown)
        return {};
    void* found = nullptr;
    if (FAILED(unknown->QueryInterface(IID_XmlDataObject, &found)) || !found)
        return {};
    return TComPtr<TXmlDataObject>::Attach(static_cast<TXmlDataObject*>(found));
}
