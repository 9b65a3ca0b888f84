#pragma once

// Ownership of libxml2 objects by unique_ptr.

#include "UXmlDoc.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlsave.h>

template <auto Free> struct TFreeWith {
    template <class T> void operator()(T* object) const noexcept {
        if (object)
            Free(object);
    }
};

using TXmlNodePtr = std::unique_ptr<xmlNode, TFreeWith<xmlFreeNode>>;
using TXmlBufferPtr = std::unique_ptr<xmlBuffer, TFreeWith<xmlBufferFree>>;
using TXmlParserCtxtPtr = std::unique_ptr<xmlParserCtxt, TFreeWith<xmlFreeParserCtxt>>;
// xmlFree is a variable, not a function.
struct TXmlCharFree {
    void operator()(xmlChar* text) const noexcept { xmlFree(text); }
};
using TXmlCharPtr = std::unique_ptr<xmlChar, TXmlCharFree>;
// Closing flushes what the context still holds into its target.
struct TXmlSaveClose {
    void operator()(xmlSaveCtxt* context) const noexcept { xmlSaveClose(context); }
};
using TXmlSaveCtxtPtr = std::unique_ptr<xmlSaveCtxt, TXmlSaveClose>;
