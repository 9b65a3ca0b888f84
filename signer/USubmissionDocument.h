#pragma once

// The final submission document the portal receives, UTF-8:
//
//   <?xml version="1.0" encoding="UTF-8"?>
//   <orv:Podanie xmlns:orv="urn:nomir:zep:podanie:1">
//     <orv:TypPodania>KT_PODAJ_v01</orv:TypPodania>
//     <orv:Popis>description</orv:Popis>
//     <orv:Subjekt>subject</orv:Subjekt>
//     <orv:EPHId>EPH identifier as typed</orv:EPHId>
//     <orv:Namespace>the EPH version's namespace URI</orv:Namespace>
//     <orv:Formular>the schema location</orv:Formular>
//     <orv:Podpis><ds:Signature ...>the signed document, unchanged</ds:Signature></orv:Podpis>
//   </orv:Podanie>
//
// No default namespace is declared, so an element of the signed document in
// no namespace stays in none. The submission data that CreateSubmission
// gives is <orv:PodanieData> with TypPodania, Popis and Formular.

#include <QByteArray>
#include <QString>

inline constexpr char SubmissionNs[] = "urn:nomir:zep:podanie:1";

struct TSubmissionData {
    QString TypPodania;
    QString Popis;
    QString Formular;
};

struct TSubmissionFields {
    QString TypPodania;
    QString Popis;
    QString Subjekt;
    QString EPHId;
    QString Namespace;
    QString Formular;
};

QString WriteSubmissionData(const TSubmissionData& data);
// Raises TOrvError when the text is not submission data.
TSubmissionData ReadSubmissionData(const QString& text);

// The signed document without its XML declaration, once it is well-formed
// XML with a ds:Signature root and no DTD. Raises TOrvError otherwise.
QByteArray SignedDocumentBody(const QByteArray& signedDocument);

QByteArray ComposeSubmissionDocument(const TSubmissionFields& fields, const QByteArray& signedBody);

// Element text for XML; raises TOrvError for characters XML cannot carry.
QByteArray XmlEscaped(const QString& text);
