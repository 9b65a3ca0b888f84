#pragma once

#include "UXmlDoc.h"

#include <QByteArrayView>

// Parses an untrusted response. Network access is off, entities are never
// substituted and a document type declaration stops the parser, so neither
// external entities nor entity expansion can happen. A document that is not
// well-formed (namespaces included) is raised as TOrvError with the parser's
// own message. The byte-order mark and the encoding declaration are honoured.
TXmlDocPtr ParseUntrustedXml(QByteArrayView bytes);
