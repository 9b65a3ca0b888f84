#pragma once

#include "UXmlDoc.h"

#include <QString>

// One XML node (normally an element with its subtree) held as a deep copy in
// a document of its own, so it outlives the response it was read from.
class TRawXml {
public:
    TRawXml() = default;
    // Copies node deeply; a null node gives an empty value. Namespaces that
    // the subtree uses but that were declared above it are declared on the
    // copy, so it stands on its own.
    explicit TRawXml(const xmlNode* node);

    TRawXml(TRawXml&&) noexcept = default;
    TRawXml& operator=(TRawXml&&) noexcept = default;

    bool IsEmpty() const noexcept { return !Doc; }
    // The held node, or null when empty. It belongs to this object.
    xmlNode* Node() const noexcept;
    // The held node serialised on its own, without an XML declaration, as it
    // was received; empty when there is none.
    QString Xml() const;

private:
    TXmlDocPtr Doc;
};
