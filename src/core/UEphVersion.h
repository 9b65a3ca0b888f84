#pragma once

#include "UDateTime.h"

#include <QString>

#include <array>
#include <optional>

// What differs between the EPH versions the client submits. Every text is a
// catalogue entry, so a language module replaces them together.
// In the order the configuration dialog lists them.
enum class TEphVerzia { V01, V02, V03 };

inline constexpr std::array<TEphVerzia, 3> EphVerzie = {TEphVerzia::V01, TEphVerzia::V02,
                                                        TEphVerzia::V03};

// The setting VerziaPodaja of a version: "0.1", "2.0" or "3.0".
QString EphVerziaText(TEphVerzia verzia);
// The version a VerziaPodaja names, compared exactly; nullopt for any other.
std::optional<TEphVerzia> EphVerziaFromText(const QString& text);

// The identifier a file name suggests: the name without its folders, cut at
// its first dot.
QString EphIdFromPath(const QString& path);

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
