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

#define ORV_DECLARE_RESPONSE(operation, result)                                                    \
    extern template std::unique_ptr<PortalService::operation##Response>                            \
        ReadSoapResponse<PortalService::operation##Response>(QByteArrayView);
ORV_PORTAL_OPERATIONS(ORV_DECLARE_RESPONSE)
#undef ORV_DECLARE_RESPONSE
