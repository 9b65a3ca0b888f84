#pragma once

// The owner of a libxml2 document, declared without libxml2's headers, so a
// public header can hold a document without handing libxml2 to its users.

#include <memory>

struct _xmlDoc;
struct _xmlNode;
typedef struct _xmlDoc xmlDoc;
typedef struct _xmlNode xmlNode;

struct TXmlDocFree {
    void operator()(xmlDoc* doc) const noexcept;
};
using TXmlDocPtr = std::unique_ptr<xmlDoc, TXmlDocFree>;
