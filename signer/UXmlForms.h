#pragma once

// What the XML plug-in and the signer do with a form's schema and stylesheet.

#include "UXmlPtr.h"

#include <QString>

// Empty text when `doc` is valid against the schema; otherwise why not.
// Raises TOrvError when the schema itself cannot be used.
QString SchemaViolation(xmlDoc* doc, const QString& xsdText);

// The text rendering of `doc` made with the stylesheet. The stylesheet may
// read no file and reach no network. Raises TOrvError with the reason.
QString RenderText(xmlDoc* doc, const QString& xslText);
