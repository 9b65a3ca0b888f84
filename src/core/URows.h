#pragma once

#include "PortalService.h"
#include "UDMORV.h"

// The record of a portal item, without Obsah. A date the portal left out
// stays 0, the unset date-time, which the front ends show as empty.
TPodanie PodanieFromPortal(const PortalService::Podanie& podanie);
TPisomnost PisomnostFromPortal(const PortalService::SuborPisomnosti& subor);
