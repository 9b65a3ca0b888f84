#include "Nomir_Zep_DSigXades_XmlPlugin_TLB.h"

#include <utility>

TXmlPlugin::TXmlPlugin(IComFactory& factory)
    : TComWrapper(CLSID_XmlPlugin, IID__XmlPlugin, factory) {}

QString TXmlPlugin::ErrorMessage() {
    TBStr result;
    Check(Intf().get_ErrorMessage(result.Out()));
    return result.ToQString();
}

void TXmlPlugin::Reset() {
    Check(Intf().Reset());
}

std::int32_t TXmlPlugin::ValidateXml(const QString& xmlData, const QString& xsdData) {
    std::int32_t result = 0;
    Check(Intf().ValidateXml(TBStr(xmlData).Get(), TBStr(xsdData).Get(), &result));
    return result;
}

QString TXmlPlugin::TransformXml(const QString& xmlData, const QString& xslData) {
    TBStr result;
    Check(Intf().TransformXml(TBStr(xmlData).Get(), TBStr(xslData).Get(), result.Out()));
    return result.ToQString();
}

TVariant TXmlPlugin::CreateTextDataObject(const QString& objectId, const QString& description,
                                          const QString& text) {
    TVariant result;
    Check(Intf().CreateTextDataObject(TBStr(objectId).Get(), TBStr(description).Get(),
                                      TBStr(text).Get(), result.Out()));
    return result;
}

TVariant TXmlPlugin::CreateFileDataObject(const QString& objectId, const QString& description,
                                          const QString& filePath) {
    TVariant result;
    Check(Intf().CreateFileDataObject(TBStr(objectId).Get(), TBStr(description).Get(),
                                      TBStr(filePath).Get(), result.Out()));
    return result;
}

TVariant TXmlPlugin::CreateDataObject(const QString& objectId, const QString& description,
                                      QString xmlData, const QString& xsdData,
                                      const QString& namespaceUri, const QString& xsdReference,
                                      const QString& xslData, const QString& xslReference) {
    _XmlPlugin& plugin = Intf();
    TVariant result;
    // A large document is held once, not twice, while the component reads it.
    const TBStr xml(std::exchange(xmlData, QString()));
    Check(plugin.CreateDataObject(TBStr(objectId).Get(), TBStr(description).Get(), xml.Get(),
                                  TBStr(xsdData).Get(), TBStr(namespaceUri).Get(),
                                  TBStr(xsdReference).Get(), TBStr(xslData).Get(),
                                  TBStr(xslReference).Get(), result.Out()));
    return result;
}

QString TXmlPlugin::Version() {
    TBStr result;
    Check(Intf().get_Version(result.Out()));
    return result.ToQString();
}
