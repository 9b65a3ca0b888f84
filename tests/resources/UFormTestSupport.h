#pragma once

#include <QByteArray>
#include <QString>

// Test helpers around libxml2 and libxslt for the embedded form definitions.

// The bytes of an embedded form definition, or an empty array when it is missing.
QByteArray ReadForm(const QString& name);

// The bytes of a generated sample EPH document.
QByteArray ReadExample(const QString& fileName);

// "http://<form host><path>", the host being the configured one.
QString FormUri(const QString& path);

enum class TVerdict { Valid, Invalid, Broken };

struct TValidation {
    TVerdict Verdict = TVerdict::Broken;
    QString Messages; // libxml2's messages, for a failing comparison
};

// Validates a document against a schema. Broken means the schema or the
// document could not even be parsed, which no test expects.
TValidation Validate(const QByteArray& schema, const QByteArray& document);

struct TRendering {
    bool Ok = false;
    QByteArray Output;
    QString Messages;
};

// Applies a stylesheet to a document and returns the serialised result.
TRendering Render(const QByteArray& stylesheet, const QByteArray& document);

// Whether the bytes parse as a well-formed XML document.
bool IsWellFormed(const QByteArray& bytes, QString* messages);
