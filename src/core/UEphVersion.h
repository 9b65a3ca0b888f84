#pragma once

#include "UDateTime.h"

#include <QString>

// What differs between the EPH versions the client submits. Every text is a
// catalogue entry, so a language module replaces them together.
enum class TEphVerzia { V01, V02, V03 };

struct TEphVersionData {
    QString Popis;        // description of the data object
    QString NamespaceUri; // target namespace of the version's schema
    QString XsdUri;       // where the schema is published
    QString XsltUri;      // where the stylesheet is published
    QString TypPodania;   // type code sent as typPodania
};

TEphVersionData EphVersionData(TEphVerzia verzia);

// Upper-cases a to z, then keeps only ASCII digits and upper-case letters,
// ".", "-" and "_", in their order.
QString ToObjectId(const QString& text);

// "yyyymmddhhnnss" of a local date and time; the milliseconds are dropped.
QString EphTimeStamp(TDateTime local);

// "EPH_" + subjekt + "_" + ephId + "_" + time stamp, through ToObjectId.
QString EphObjectId(const QString& subjekt, const QString& ephId, TDateTime local);
