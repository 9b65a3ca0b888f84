#include "USignerComponents.h"

#include "UMesComponent.h"
#include "UXadesSigAtlComponent.h"
#include "UXmlPluginComponent.h"

namespace {

template <class T, class... TArgs> TComClassFactory FactoryOf(TArgs... args) {
    return [=](IUnknown** object) {
        if (!object)
            return E_POINTER;
        *object = MakeComObject<T>(args...).Detach();
        return S_OK;
    };
}

} // namespace

TSignerComponents::TSignerComponents(std::shared_ptr<ISignerEnvironment> environment)
    : XmlPlugin(CLSID_XmlPlugin, FactoryOf<TXmlPluginComponent>())
    , XadesSigner(CLSID_CXadesSigAtl, FactoryOf<TXadesSigAtlComponent>(environment))
    , Tools(CLSID_Mes, FactoryOf<TMesComponent>()) {}
