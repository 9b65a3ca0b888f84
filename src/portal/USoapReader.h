#pragma once

// Decoding of portal response envelopes. The body is untrusted: it is parsed
// with network access off and any document type declaration refused, so no
// entity is ever expanded or fetched.

#include "PortalService.h"

#include <QByteArray>
#include <QByteArrayView>

#include <memory>

// The response message of a body: the body's only element child, whatever
// its name, read by the rules of the contract; null when the body holds no
// element or more than one. A SOAP fault is raised as TSoapFault, every other
// failure as TOrvError with the user's message.
template <class TResponse> std::unique_ptr<TResponse> ReadSoapResponse(QByteArrayView body);

#define ORV_DECLARE_RESPONSE(type)                                                                 \
    extern template std::unique_ptr<PortalService::type> ReadSoapResponse<PortalService::type>(    \
        QByteArrayView);

ORV_DECLARE_RESPONSE(PodajPodanieResponse)
ORV_DECLARE_RESPONSE(CheckLoginResponse)
ORV_DECLARE_RESPONSE(GetPortalMaxRowsResponse)
ORV_DECLARE_RESPONSE(ListPodanieResponse)
ORV_DECLARE_RESPONSE(GetPodanieResponse)
ORV_DECLARE_RESPONSE(ListSuborPisomnostiResponse)
ORV_DECLARE_RESPONSE(GetSuborPisomnostiResponse)
ORV_DECLARE_RESPONSE(ListTypObjektuResponse)

#undef ORV_DECLARE_RESPONSE
