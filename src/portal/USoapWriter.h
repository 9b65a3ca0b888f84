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

#define ORV_DECLARE_REQUEST(operation, result)                                                     \
    extern template QByteArray WriteSoapRequest<PortalService::operation>(                         \
        const PortalService::operation&);                                                          \
    extern template const char* OperationName<PortalService::operation>();
ORV_PORTAL_OPERATIONS(ORV_DECLARE_REQUEST)

#undef ORV_DECLARE_REQUEST
