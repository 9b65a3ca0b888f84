#pragma once

// The one parse of untrusted XML. Network access is off and entities are
// never substituted; a caller can have the parser stop at a document type
// declaration, before any entity of it is declared. Nothing is printed: every
// error-level message is collected, those libxml2 raises without the parser
// context included. Each caller judges the result and words its own error.

#include "UXmlDoc.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct TXmlParseOptions {
    int Flags = 0;             // libxml2's XML_PARSE_* options
    bool StopAtDocType = true; // stop at a DOCTYPE (the document is then refused)
    const char* Url = nullptr; // the document's name in libxml2's messages
};

struct TXmlParseError {
    int Line = 0;        // 0 when unknown
    std::string Message; // libxml2's text, as it gave it (line end included)
};

struct TXmlParseResult {
    TXmlDocPtr Doc;                     // what the parser handed back, also after an error
    bool TooLarge = false;              // not parsed: more bytes than one parse can take
    bool OutOfMemory = false;           // not parsed: no parser context
    bool DocType = false;               // a document type declaration was met
    bool WellFormed = false;            // libxml2's verdict, namespaces apart
    bool NsWellFormed = false;          // namespaces well-formed
    int ErrNo = 0;                      // the parser's last error number, 0 for none
    std::string LastError;              // the parser's last error message
    std::vector<TXmlParseError> Errors; // error-level messages in order
};

// Parses a document held whole in memory.
TXmlParseResult ParseXml(std::string_view bytes, const TXmlParseOptions& options);

// The next piece of a document, nullopt after the last; a piece is read
// before the next one is asked for.
using TXmlPieces = std::function<std::optional<std::string_view>()>;

// Parses a document fed in pieces, so that it is never held whole beside the
// tree. Feeding stops at the first piece the parser refuses.
TXmlParseResult ParseXmlPieces(const TXmlPieces& next, const TXmlParseOptions& options);
