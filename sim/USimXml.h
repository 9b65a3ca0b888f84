#pragma once

#include "UXmlOwners.h"

#include <string>
#include <string_view>

namespace Sim {

// Outcome of reading untrusted XML.
struct TXmlParsed {
    TXmlDocPtr Doc;      // null when the text is not well-formed
    std::string Error;   // the parser's message when Doc is null
    bool HasDtd = false; // a DOCTYPE was present (Doc is then null)
};

// Parses without network access, DTD loading or entity substitution; a
// document with a DOCTYPE is refused at the DOCTYPE, so no entity of its own
// is ever declared. Text nodes have no size limit: callers bound the text.
TXmlParsed ParseUntrusted(std::string_view text);

// Libxml2 keeps per-thread and global state; call once before threads start.
void InitXml();

inline const xmlChar* X(const char* s) {
    return reinterpret_cast<const xmlChar*>(s);
}
inline const char* C(const xmlChar* s) {
    return reinterpret_cast<const char*>(s);
}

bool IsElement(const xmlNode* node, const char* ns, const char* localName);
std::string NamespaceOf(const xmlNode* node);
std::string TextOf(const xmlNode* node);
// The element children that matter: comments, PIs and white space skipped.
// Non-blank text beside elements is reported through hasText.
xmlNode* FirstElementChild(xmlNode* node);
xmlNode* NextElementSibling(xmlNode* node);

// Serialises without an XML declaration.
std::string SerializeDoc(xmlDoc* doc);

// Copies root (an element of another document) under parent and declares
// xmlns="" wherever an element without namespace would otherwise inherit a
// default namespace of its new ancestors.
void AppendForeignElement(xmlNode* parent, const xmlNode* root);

} // namespace Sim
