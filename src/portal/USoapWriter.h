#pragma once

// Request envelopes as the portal's basic HTTP binding expects them: SOAP 1.1,
// document style, literal; the message element, named after the operation and
// with the contract namespace as default namespace, is the only child of the
// body and holds one element per set field, in field order.

#include "PortalService.h"

#include <QByteArray>

// The UTF-8 envelope of one request. Date-times are written as local time
// with the clock's current UTC offset. Raises TOrvError when a text holds a
// character that XML 1.0 cannot carry.
template <class TRequest> QByteArray WriteSoapRequest(const TRequest& request);

// The operation a request message belongs to; also its element name.
template <class TRequest> const char* OperationName();

#define ORV_DECLARE_REQUEST(type)                                                                  \
    extern template QByteArray WriteSoapRequest<PortalService::type>(const PortalService::type&);  \
    extern template const char* OperationName<PortalService::type>();

ORV_DECLARE_REQUEST(PodajPodanie)
ORV_DECLARE_REQUEST(CheckLogin)
ORV_DECLARE_REQUEST(GetPortalMaxRows)
ORV_DECLARE_REQUEST(ListPodanie)
ORV_DECLARE_REQUEST(GetPodanie)
ORV_DECLARE_REQUEST(ListSuborPisomnosti)
ORV_DECLARE_REQUEST(GetSuborPisomnosti)
ORV_DECLARE_REQUEST(ListTypObjektu)

#undef ORV_DECLARE_REQUEST
