#pragma once

// Writing libxml2 nodes and documents as text.

#include "UXmlDoc.h"

#include <optional>
#include <string>

// The node's markup as it stands in its document, without an XML declaration
// and without declarations of namespaces from above it. Raises std::bad_alloc
// when libxml2 cannot write it.
std::string XmlNodeText(const xmlNode& node);

// The whole document in UTF-8 without an XML declaration, each top-level node
// followed by a line end; nullopt when libxml2 fails (its last error says why).
std::optional<std::string> XmlDocumentText(const xmlDoc& doc);
