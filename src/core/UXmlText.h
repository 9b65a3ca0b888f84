#pragma once

#include "UXmlDoc.h"

#include <QString>

// The node on its own as XML text, without an XML declaration: a deep copy
// becomes the root of a new document, which is written whole. Errors of the
// XML engine are raised as TOrvError.
QString XmlTextOfNode(const xmlNode& node);
